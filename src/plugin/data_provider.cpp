#include "plugin/data_provider.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

#include "text/errors.h"

namespace lintrel {

Text FetchText(ITBPDataProvider* provider, int32_t item) {
  if (provider == nullptr) return Text();
  ProviderReference reference(provider);
  const int32_t length = provider->FetchItem(item, nullptr, -1);
  if (length > kMaxItemLength) throw EOutOfMemory();
  std::unique_ptr<char[]> buffer;
  if (length > 0) {
    buffer.reset(new (std::nothrow) char[static_cast<size_t>(length)]);
    if (!buffer) throw EOutOfMemory();
  }
  provider->FetchItem(item, buffer.get(), length);
  if (!buffer) return Text();
  const char* const end = static_cast<const char*>(std::memchr(buffer.get(), 0, length));
  return Text(buffer.get(), end != nullptr ? end - buffer.get() : length);
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
