// "--locale NAME": the regional settings of a Windows locale from the
// compiled-in table, as the plug-in reads them on Windows in that locale,
// and the names that select one.
#ifndef LINTREL_TOOLS_LOCALES_WINDOWS_LOCALE_H_
#define LINTREL_TOOLS_LOCALES_WINDOWS_LOCALE_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "text/regional_settings.h"
#include "tools/arguments/options.h"
#include "tools/locales/locale_table.h"

namespace lintrel::cli {

// The locale that `name` selects, in any letter case: a Windows name
// ("de-DE", "sr-Latn-RS") or another name Windows knows for it ("de"), or a
// POSIX name ("de_DE.UTF-8", "sr_RS@latin"), where "C" and "POSIX" stand
// for "en-US" as they do under Wine. nullptr when the table has none.
const WindowsLocale* FindWindowsLocale(std::string_view name);

// The locale name of the environment, as POSIX programs find it: LC_ALL,
// LC_TIME or LANG, the first that is set and not empty, and which it is;
// "C" from no variable if none is.
struct EnvironmentLocale {
  std::string_view variable;
  std::string name;
};
EnvironmentLocale EnvironmentLocaleName();

// The locale of `--locale NAME`, "" taking the environment's. Raises
// UsageError, pointing to `lintrel locales`, for a name that selects none.
const WindowsLocale& ChosenLocale(const std::string& name);

// The settings of `locale`, built by the plug-in's own reader from the
// table's values: in kAnsi those that the DLL reads on Windows, in kUtf8
// such that every rendering is the same text in UTF-8. The era of the
// alternative calendar is not among them: no locale's short date format
// uses it, and the delivery date reaches no other format.
RegionalSettings WindowsLocaleSettings(const WindowsLocale& locale, OutputEncoding encoding);

// Writes the UTF-8 `text` in `code_page`, character by character, as
// Windows does: the table's bytes for each character outside ASCII, "?"
// for a character the table does not list.
std::string EncodeInCodePage(std::string_view text, uint16_t code_page);

// Reads `bytes` in `code_page` as UTF-8, the inverse of EncodeInCodePage for
// the characters of the table; a byte it cannot read gives U+FFFD.
std::string DecodeCodePage(std::string_view bytes, uint16_t code_page);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_LOCALES_WINDOWS_LOCALE_H_
