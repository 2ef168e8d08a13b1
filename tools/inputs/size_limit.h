// The largest input the command takes, and the one check of it.
#ifndef LINTREL_TOOLS_INPUTS_SIZE_LIMIT_H_
#define LINTREL_TOOLS_INPUTS_SIZE_LIMIT_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "plugin/data_provider.h"

namespace lintrel::cli {

// The largest item the plug-in fetches, so that a larger file is a clear
// input error, not a macro's "Out of memory".
inline constexpr uint64_t kMaxInputBytes = kMaxItemLength;

// "larger than 1073741824 bytes".
std::string LargerThanLimit();

// Raises InputError "NAME: larger than 1073741824 bytes" when `size` bytes
// are more than the command takes.
void CheckSize(std::string_view name, uint64_t size);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_INPUTS_SIZE_LIMIT_H_
