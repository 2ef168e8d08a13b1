// The --now parser on any text: a time it takes is a valid moment and is
// written back as the very text it came from; a text it refuses is refused
// for its layout, its day or its time.
#include <cstdio>
#include <string>
#include <variant>

#include "fuzz_support.h"
#include "tools/arguments/now_time.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace lintrel;
  const std::string text(reinterpret_cast<const char*>(data), size);
  const auto now = cli::ParseNowTime(text);
  if (const auto* time = std::get_if<DateTimeParts>(&now)) {
    fuzz::Check(IsValidDateTime(*time), "taken but not a moment", text);
    char written[32];
    std::snprintf(written, sizeof written, "%04lld-%02u-%02uT%02u:%02u:%02u",
                  static_cast<long long>(time->year), time->month, time->day, time->hour,
                  time->minute, time->second);
    std::string back = written;
    if (text.size() == 24) {
      std::snprintf(written, sizeof written, ".%03u", time->millisecond);
      back += written;
    }
    fuzz::Check(back + "Z" == text, "not written back as it came", text);
    return 0;
  }
  const cli::NowFault fault = std::get<cli::NowFault>(now);
  if (fault != cli::NowFault::kLayout) {
    // The layout was right: only a field's value was wrong.
    fuzz::Check(text.size() == 20 || text.size() == 24, "a fault of value in a wrong layout", text);
  }
  return 0;
}
