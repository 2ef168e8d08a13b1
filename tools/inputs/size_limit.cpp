#include "tools/inputs/size_limit.h"

#include "text/integer.h"
#include "tools/base/errors.h"

namespace lintrel::cli {

std::string LargerThanLimit() {
  return "larger than " + IntText(static_cast<int64_t>(kMaxInputBytes)) + " bytes";
}

void CheckSize(std::string_view name, uint64_t size) {
  if (size > kMaxInputBytes) throw InputError(std::string(name), LargerThanLimit());
}

}  // namespace lintrel::cli
