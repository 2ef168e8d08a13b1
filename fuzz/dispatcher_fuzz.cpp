// The whole call as a hostile host could make it: a fuzzed macro name and
// providers whose answers are fuzzed, lengths that lie included. Every call
// answers 123257 or ends with a documented error; references balance; each
// store is followed by a byte 0; an error leaves at most the early store.
#include <cstring>
#include <map>
#include <string>

#include "fuzz_provider.h"
#include "fuzz_support.h"
#include "plugin/dispatcher.h"
#include "plugin/identity.h"

namespace {

using lintrel::fuzz::Check;

// Answers each item with fuzzed bytes and a fuzzed length claim, and each
// integer with a fuzzed value, all read as the plug-in asks.
class FuzzProvider final : public lintrel::fuzz::CheckingProvider {
 public:
  explicit FuzzProvider(lintrel::fuzz::FuzzReader& reader) : reader_(reader) {}

  int32_t FetchItem(int32_t item, char* buffer, int32_t length) override {
    Item& entry = ItemFor(item);
    if (buffer == nullptr) return entry.reported;
    Check(length == entry.reported, "second fetch with another length");
    // A host fills at most the buffer it was given, whatever it claimed.
    const size_t n = std::min<size_t>(entry.bytes.size(), length > 0 ? length : 0);
    std::memcpy(buffer, entry.bytes.data(), n);
    return static_cast<int32_t>(n);
  }
  int32_t FetchInteger(int32_t) override { return reader_.InterestingInteger(); }

 private:
  struct Item {
    std::string bytes;
    int32_t reported;
  };

  Item& ItemFor(int32_t item) {
    auto found = items_.find(item);
    if (found != items_.end()) return found->second;
    Item entry{reader_.Text(), 0};
    const uint8_t lie = reader_.Byte();
    // Mostly the truth; otherwise shorter, longer, negative or impossible.
    switch (lie % 8) {
      case 0:
        entry.reported = static_cast<int32_t>(entry.bytes.size()) / 2;
        break;
      case 1:
        entry.reported = static_cast<int32_t>(entry.bytes.size()) + lie;
        break;
      case 2:
        entry.reported = lie % 2 == 0 ? -1 : INT32_MIN;
        break;
      case 3:
        entry.reported = lie < 128 ? INT32_MAX : lintrel::kMaxItemLength + 1;
        break;
      default:
        entry.reported = static_cast<int32_t>(entry.bytes.size());
    }
    return items_.emplace(item, std::move(entry)).first->second;
  }

  lintrel::fuzz::FuzzReader& reader_;
  std::map<int32_t, Item> items_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace lintrel;
  fuzz::FuzzReader reader(data, size);
  // Mostly real macro names in any letter case, sometimes free bytes.
  std::string name = reader.Text();
  const uint8_t pick = reader.Byte();
  if (pick < 224) {
    std::string_view list = kMacroList;
    for (int skip = pick % 13; skip > 0; --skip) list.remove_prefix(list.find('\n') + 1);
    name = std::string(list.substr(0, list.find('\r')));
    if (pick & 1) {
      for (char& c : name) c = AsciiLowerByte(c);
    }
  }
  const DateTimeParts now = reader.ClockReading();
  MacroEnvironment environment;
  environment.read_clock = [now] { return now; };

  FuzzProvider message(reader), parameters(reader);
  try {
    const int32_t answer = ExecMacro(name, &message, &parameters, environment);
    Check(answer == kItemResult, "answer is not 123257");
    Check(message.stores >= 1, "nothing stored");
  } catch (const Exception& error) {
    fuzz::CheckDocumentedError(error);
    Check(message.stores <= 1, "stored after an error");
  }
  Check(message.references == 0 && parameters.references == 0, "references unbalanced");
  return 0;
}
