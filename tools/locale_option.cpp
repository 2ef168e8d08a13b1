#include "tools/locale_option.h"

#include <string>

#include "platform/posix_locale.h"
#include "text/errors.h"
#include "tools/cli_error.h"

namespace lintrel::cli {

RegionalSettings LocaleSettings(std::string_view name) {
  try {
    return platform::LoadPosixLocaleSettings(std::string(name));
  } catch (const Exception& error) {
    throw CliError(error.Message());
  }
}

}  // namespace lintrel::cli
