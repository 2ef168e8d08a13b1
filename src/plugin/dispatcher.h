// Runs one macro: maps its name to a handler row, stores the result in the
// message provider under item 123257 and answers 123257.
#ifndef LINTREL_PLUGIN_DISPATCHER_H_
#define LINTREL_PLUGIN_DISPATCHER_H_

#include <cstdint>
#include <string_view>

#include "plugin/data_provider.h"
#include "plugin/macro_call.h"
#include "text/text.h"

namespace lintrel {

// `name` is upper-cased with `AsciiUpper` and compared with every macro
// name; an unknown name stores "Bad result " plus the upper-cased name.
// Errors propagate as `Exception`s (an allocation failure, or a text that
// would outgrow the largest string, as EOutOfMemory); both provider
// references are released and nothing is stored on that path.
int32_t ExecMacro(std::string_view name, ITBPDataProvider* message, ITBPDataProvider* parameters,
                  const MacroEnvironment& environment);

// The message a host is given for the error being handled; call it in a
// catch block. An Exception's own message, EOutOfMemory's for an allocation
// failure, what() of any other standard exception, else "Unknown error".
Text CurrentErrorMessage();

}  // namespace lintrel

#endif  // LINTREL_PLUGIN_DISPATCHER_H_
