// `locales`: the Windows locales that --locale takes.
#include <algorithm>
#include <cstdio>

#include "text/calendar.h"
#include "text/date_time_format.h"
#include "tools/base/errors.h"
#include "tools/command/commands.h"
#include "tools/locales/windows_locale.h"
#include "tools/output/writer.h"

namespace lintrel::cli {

int LocalesCommand() {
  // An afternoon with one-digit fields, where the AM/PM texts and the
  // padding show.
  const double example = *EncodeDateTime({2024, 3, 4, 20, 6, 5, 0});
  Text out;
  for (const WindowsLocale& locale : WindowsLocales()) {
    char fields[48];
    std::snprintf(fields, sizeof fields, "%-14.*s %04x  %-5u  ",
                  static_cast<int>(locale.name.size()), locale.name.data(),
                  static_cast<unsigned>(locale.lcid), locale.code_page);
    out += fields;
    out += DateTimeText(example, WindowsLocaleSettings(locale, OutputEncoding::kUtf8));
    out += '\n';
  }
  Output(std::nullopt).Write(out);
  return kExitSuccess;
}

}  // namespace lintrel::cli
