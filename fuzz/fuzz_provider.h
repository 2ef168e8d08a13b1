// Data providers for the fuzz targets that drive whole macro calls: a base
// that counts references and checks every store, and a provider that answers
// each item from a table, as an honest host would.
#ifndef LINTREL_FUZZ_FUZZ_PROVIDER_H_
#define LINTREL_FUZZ_FUZZ_PROVIDER_H_

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>

#include "fuzz_support.h"
#include "plugin/data_provider.h"
#include "tools/run/provider_base.h"

namespace lintrel::fuzz {

// Counts references and stores; a store must be under the result item with a
// byte 0 after its bytes. The slots the plug-in never calls fail the run.
class CheckingProvider : public ProviderBase {
 public:
  int references = 0;
  int stores = 0;
  std::string stored;

  int32_t QueryInterface(const InterfaceId&, void**) override { return -1; }
  uint32_t AddRef() override { return ++references; }
  uint32_t Release() override { return --references; }
  int32_t StoreItem(int32_t item, const char* bytes, int32_t length) override {
    Check(item == kItemResult, "store under another item");
    Check(length >= 0 && bytes[length] == '\0', "store without a byte 0 after it");
    ++stores;
    stored.assign(bytes, static_cast<size_t>(length));
    return 0;
  }

 protected:
  ~CheckingProvider() = default;

 private:
  int32_t UnusedSlot() override { Fail("an unused slot was called"); }
};

// Answers every item from `items` (a missing one is empty) with its true
// length, and every integer from `integers` (a missing one is 0).
class TableProvider final : public CheckingProvider {
 public:
  std::map<int32_t, std::string> items;
  std::map<int32_t, int32_t> integers;

  int32_t FetchItem(int32_t item, char* buffer, int32_t length) override {
    const std::string& value = items[item];
    if (buffer == nullptr) return static_cast<int32_t>(value.size());
    const size_t n = std::min<size_t>(value.size(), length > 0 ? length : 0);
    std::memcpy(buffer, value.data(), n);
    return static_cast<int32_t>(n);
  }
  int32_t FetchInteger(int32_t item) override { return integers[item]; }
};

}  // namespace lintrel::fuzz

#endif  // LINTREL_FUZZ_FUZZ_PROVIDER_H_
