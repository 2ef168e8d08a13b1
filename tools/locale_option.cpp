#include "tools/locale_option.h"

#include "tools/cli_error.h"

namespace lintrel::cli {

void ApplyLocale(std::string_view, MacroEnvironment&) {
  throw CliError("--locale is not available in this build");
}

}  // namespace lintrel::cli
