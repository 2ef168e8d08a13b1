// One macro call as its handler row sees it: the inputs, fetched on demand
// in the order the row asks for them, and the environment of the call.
#ifndef LINTREL_PLUGIN_MACRO_CALL_H_
#define LINTREL_PLUGIN_MACRO_CALL_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>

#include "platform/platform.h"
#include "plugin/data_provider.h"
#include "text/calendar.h"
#include "text/regional_settings.h"
#include "text/text.h"

namespace lintrel {

// What a call reads besides its providers. The DLL passes the real clock
// and the settings it read when it was loaded; tests and the command line
// pass their own.
struct MacroEnvironment {
  std::function<DateTimeParts()> read_clock = [] { return PartsOf(platform::ReadUtcClock()); };
  const RegionalSettings* settings = &BuiltInSettings();
};

class MacroCall {
 public:
  MacroCall(ITBPDataProvider* message, ITBPDataProvider* parameters,
            const MacroEnvironment& environment)
      : message_(message), parameters_(parameters), environment_(environment) {}

  // Parameter `n` (item n of the parameter provider) as a text, with room
  // for `room_per_byte` more bytes for each of its bytes (see FetchText).
  Text Parameter(int32_t n, size_t room_per_byte = 0) {
    return FetchText(parameters_, n, room_per_byte);
  }

  // Parameter `n`, or `fallback` when it is empty.
  Text ParameterOr(int32_t n, std::string_view fallback) {
    Text value = Parameter(n);
    return value.empty() ? Text(fallback) : value;
  }

  // The parameter provider's integer for item `n`.
  int32_t ParameterInteger(int32_t n) { return FetchInteger(parameters_, n); }

  Text Body() { return FetchText(message_, kItemBody); }
  Text Headers() { return FetchText(message_, kItemHeaders); }

  // Stores `result` at once, before the dispatcher's own final store.
  void StoreNow(const Text& result) { StoreText(message_, kItemResult, result); }

  const MacroEnvironment& environment() const { return environment_; }

 private:
  ITBPDataProvider* message_;
  ITBPDataProvider* parameters_;
  const MacroEnvironment& environment_;
};

}  // namespace lintrel

#endif  // LINTREL_PLUGIN_MACRO_CALL_H_
