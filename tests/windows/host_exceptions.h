// How the test host meets a structured exception that leaves a call into the
// plug-in: the same handling as lintrel.exe's.
#ifndef LINTREL_TESTS_WINDOWS_HOST_EXCEPTIONS_H_
#define LINTREL_TESTS_WINDOWS_HOST_EXCEPTIONS_H_

#include "tools/windows/structured_exceptions.h"

namespace host {

using lintrel::cli::CallOutcome;
using lintrel::cli::CallUnwinding;
using lintrel::cli::kPluginErrorCode;
using lintrel::cli::RecordException;

}  // namespace host

#endif  // LINTREL_TESTS_WINDOWS_HOST_EXCEPTIONS_H_
