// A data provider for tests that answers from maps and records every call
// made on it, in order.
#ifndef LINTREL_TESTS_PLUGIN_FAKE_PROVIDER_H_
#define LINTREL_TESTS_PLUGIN_FAKE_PROVIDER_H_

#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "plugin/data_provider.h"
#include "plugin/dispatcher.h"
#include "tools/run/provider_base.h"

namespace lintrel::testing {

// What a failing provider operation throws: the call that failed.
struct ProviderFailure {
  std::string call;
};

class FakeProvider final : public ProviderBase {
 public:
  std::map<int32_t, Text> items;
  std::map<int32_t, int32_t> integers;
  // When set, FetchItem reports this length for every item.
  std::optional<int32_t> reported_length;
  std::vector<std::string> calls;
  std::vector<Text> stored;
  int references = 0;
  // When set, the call with this index in `calls` throws ProviderFailure:
  // before it takes effect, or, for Release, after it dropped its reference.
  std::optional<size_t> fail_at;

  int32_t LINTREL_STDCALL QueryInterface(const InterfaceId&, void**) override {
    calls.push_back("QueryInterface");
    return -1;
  }
  uint32_t LINTREL_STDCALL AddRef() override {
    Record("AddRef");
    return ++references;
  }
  uint32_t LINTREL_STDCALL Release() override {
    const int count = --references;
    Record("Release");
    return count;
  }
  int32_t LINTREL_STDCALL FetchItem(int32_t item, char* buffer, int32_t length) override {
    Record("FetchItem " + std::to_string(item) + (buffer ? " buffer " : " null ") +
           std::to_string(length));
    const Text& value = items[item];
    if (buffer == nullptr) return reported_length.value_or(static_cast<int32_t>(value.size()));
    const size_t n = std::min<size_t>(value.size(), length > 0 ? length : 0);
    std::memcpy(buffer, value.data(), n);
    return static_cast<int32_t>(n);
  }
  int32_t LINTREL_STDCALL StoreItem(int32_t item, const char* bytes, int32_t length) override {
    Record("StoreItem " + std::to_string(item));
    stored.emplace_back(bytes, length);
    // The bytes must be followed by a byte 0.
    if (bytes[length] != '\0') stored.back() += "<no NUL>";
    return 0;
  }
  int32_t LINTREL_STDCALL FetchInteger(int32_t item) override {
    Record("FetchInteger " + std::to_string(item));
    return integers[item];
  }

  // The fetches only, without the reference counting around them.
  std::vector<std::string> Fetches() const {
    std::vector<std::string> fetches;
    for (const std::string& call : calls) {
      if (call.rfind("Fetch", 0) == 0) fetches.push_back(call);
    }
    return fetches;
  }

 private:
  void Record(std::string call) {
    calls.push_back(std::move(call));
    if (fail_at == calls.size() - 1) throw ProviderFailure{calls.back()};
  }
  int32_t UnusedSlot() override {
    calls.push_back("unused slot");
    return 0;
  }
};

// Runs `name` and answers the text stored last, failing the test unless the
// call answered 123257, stored something and balanced its references.
inline Text RunMacro(std::string_view name, FakeProvider& message, FakeProvider& parameters,
                     const MacroEnvironment& environment = {}) {
  const int32_t answer = ExecMacro(name, &message, &parameters, environment);
  if (answer != kItemResult || message.stored.empty() || message.references != 0 ||
      parameters.references != 0) {
    return "<call failed>";
  }
  return message.stored.back();
}

}  // namespace lintrel::testing

#endif  // LINTREL_TESTS_PLUGIN_FAKE_PROVIDER_H_
