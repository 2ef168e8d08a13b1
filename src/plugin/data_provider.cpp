#include "plugin/data_provider.h"

#include <cstdint>
#include <new>
#include <optional>
#include <utility>

#include "text/errors.h"

namespace lintrel {
namespace {

// Runs `call()`, a call into the host, and answers the structured exception
// the host raised in it, if any.
template <typename Call>
std::optional<platform::HostFault> CallCatching(Call& call) {
  return platform::CallHost([](void* context) { (*static_cast<Call*>(context))(); }, &call);
}

// Runs `operation`, one call of a provider operation, so that a structured
// exception the host raises in it arrives here as a HostError.
template <typename Operation>
auto CallProvider(Operation operation) {
  decltype(operation()) result{};
  auto call = [&] { result = operation(); };
  if (const auto fault = CallCatching(call)) throw HostError(*fault);
  return result;
}

}  // namespace

ProviderReference::ProviderReference(ITBPDataProvider* provider) : provider_(provider) {
  if (provider_ != nullptr) CallProvider([&] { return provider_->AddRef(); });
}

ProviderReference::~ProviderReference() {
  if (provider_ == nullptr) return;
  auto release = [&] { provider_->Release(); };
  CallCatching(release);
}

void ProviderReference::Release() {
  if (provider_ == nullptr) return;
  ITBPDataProvider* const provider = std::exchange(provider_, nullptr);
  CallProvider([&] { return provider->Release(); });
}

Text FetchText(ITBPDataProvider* provider, int32_t item, size_t room_per_byte) {
  if (provider == nullptr) return Text();
  ProviderReference reference(provider);
  const int32_t length = CallProvider([&] { return provider->FetchItem(item, nullptr, -1); });
  if (length > kMaxItemLength) throw EOutOfMemory();
  // The text itself is the buffer, so a large item is held once, not twice.
  Text text;
  if (length > 0) {
    const auto size = static_cast<size_t>(length);
    // The room only spares the caller a copy; without it the item is still
    // fetched.
    if (room_per_byte > 0 && room_per_byte <= (text.max_size() - size) / size) {
      try {
        text.reserve(size * (room_per_byte + 1));
      } catch (const std::bad_alloc&) {
        // Fetched without the room.
      }
    }
    try {
      text.resize(size);
    } catch (const std::bad_alloc&) {
      throw EOutOfMemory();
    }
  }
  CallProvider(
      [&] { return provider->FetchItem(item, length > 0 ? text.data() : nullptr, length); });
  reference.Release();
  text.resize(BeforeNul(text).size());
  return text;
}

int32_t FetchInteger(ITBPDataProvider* provider, int32_t item) {
  return provider != nullptr ? CallProvider([&] { return provider->FetchInteger(item); }) : 0;
}

void StoreText(ITBPDataProvider* provider, int32_t item, const Text& text) {
  if (provider == nullptr) return;
  // The interface counts in 32 bits; a larger result cannot be handed over.
  if (text.size() > static_cast<size_t>(INT32_MAX)) throw EOutOfMemory();
  CallProvider(
      [&] { return provider->StoreItem(item, text.c_str(), static_cast<int32_t>(text.size())); });
}

}  // namespace lintrel
