#include "tools/run/plugin.h"

#include "text/lines.h"
#include "text/text.h"

namespace lintrel::cli {

bool Plugin::HasMacro(std::string_view name) const {
  const Text upper = AsciiUpper(name);
  bool found = false;
  ForEachLine(identity().macro_list, [&](std::string_view macro) {
    found = AsciiUpper(macro) == upper;
    return !found;
  });
  return found;
}

}  // namespace lintrel::cli
