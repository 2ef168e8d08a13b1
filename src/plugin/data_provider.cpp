#include "plugin/data_provider.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>

#include "text/errors.h"

namespace lintrel {

Text FetchText(ITBPDataProvider* provider, int32_t item) {
  if (provider == nullptr) return Text();
  ProviderReference reference(provider);
  const int32_t length = provider->FetchItem(item, nullptr, -1);
  if (length > kMaxItemLength) throw EOutOfMemory();
  // The text itself is the buffer, so a large item is held once, not twice.
  Text text;
  if (length > 0) {
    try {
      text.resize(static_cast<size_t>(length));
    } catch (const std::bad_alloc&) {
      throw EOutOfMemory();
    }
  }
  provider->FetchItem(item, length > 0 ? text.data() : nullptr, length);
  text.resize(std::min(text.size(), text.find('\0')));
  return text;
}

int32_t FetchInteger(ITBPDataProvider* provider, int32_t item) {
  return provider != nullptr ? provider->FetchInteger(item) : 0;
}

void StoreText(ITBPDataProvider* provider, int32_t item, const Text& text) {
  if (provider == nullptr) return;
  // The interface counts in 32 bits; a larger result cannot be handed over.
  if (text.size() > static_cast<size_t>(INT32_MAX)) throw EOutOfMemory();
  provider->StoreItem(item, text.c_str(), static_cast<int32_t>(text.size()));
}

}  // namespace lintrel
