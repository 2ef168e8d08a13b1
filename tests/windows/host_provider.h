// The test host's data provider, written from the interface's description
// rather than from the plug-in's own declaration, so that a slot-order
// mistake on either side shows: an object whose first member points at a
// table of ten __stdcall slots, three lifetime slots first.
#ifndef LINTREL_TESTS_WINDOWS_HOST_PROVIDER_H_
#define LINTREL_TESTS_WINDOWS_HOST_PROVIDER_H_

#include <windows.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace host {

struct HostProvider;

struct ProviderSlots {
  HRESULT(__stdcall* query_interface)(HostProvider* self, const GUID* id, void** object);
  ULONG(__stdcall* add_ref)(HostProvider* self);
  ULONG(__stdcall* release)(HostProvider* self);
  int32_t(__stdcall* fetch_item)(HostProvider* self, int32_t item, char* buffer, int32_t length);
  int32_t(__stdcall* store_item)(HostProvider* self, int32_t item, const char* bytes,
                                 int32_t length);
  int32_t(__stdcall* fetch_integer)(HostProvider* self, int32_t item);
  int32_t(__stdcall* unused[4])(HostProvider* self);
};

struct HostProvider {
  HostProvider();

  const ProviderSlots* slots;
  LONG references = 1;
  std::map<int32_t, std::string> items;
  std::map<int32_t, int32_t> integers;
  // When set, every length query is answered with this value.
  std::optional<int32_t> reported_length;
  std::vector<int32_t> fetched_items;
  std::vector<std::string> stored;
  int unused_calls = 0;
  int bad_queries = 0;
};

}  // namespace host

#endif  // LINTREL_TESTS_WINDOWS_HOST_PROVIDER_H_
