#include "host_provider.h"

#include <algorithm>
#include <cstring>

namespace host {
namespace {

HRESULT __stdcall QueryInterface(HostProvider* self, const GUID*, void** object) {
  ++self->bad_queries;
  if (object != nullptr) *object = nullptr;
  return E_NOINTERFACE;
}

ULONG __stdcall AddRef(HostProvider* self) {
  return ++self->references;
}
ULONG __stdcall Release(HostProvider* self) {
  return --self->references;
}

int32_t __stdcall FetchItem(HostProvider* self, int32_t item, char* buffer, int32_t length) {
  const std::string& value = self->items[item];
  if (buffer == nullptr) {
    if (length == -1) self->fetched_items.push_back(item);
    return self->reported_length.value_or(static_cast<int32_t>(value.size()));
  }
  const size_t n = std::min<size_t>(value.size(), length > 0 ? length : 0);
  std::memcpy(buffer, value.data(), n);
  return static_cast<int32_t>(n);
}

int32_t __stdcall StoreItem(HostProvider* self, int32_t item, const char* bytes, int32_t length) {
  std::string text(bytes, length);
  if (bytes[length] != '\0') text += "<no NUL>";
  if (item != 123257) text = "<item " + std::to_string(item) + ">" + text;
  self->stored.push_back(text);
  return 0;
}

int32_t __stdcall FetchInteger(HostProvider* self, int32_t item) {
  return self->integers[item];
}

int32_t __stdcall Unused(HostProvider* self) {
  return ++self->unused_calls;
}

const ProviderSlots kSlots = {QueryInterface,
                              AddRef,
                              Release,
                              FetchItem,
                              StoreItem,
                              FetchInteger,
                              {Unused, Unused, Unused, Unused}};

}  // namespace

HostProvider::HostProvider() : slots(&kSlots) {}

}  // namespace host
