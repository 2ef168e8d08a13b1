// The test host's data provider, written from the interface's description
// rather than from the plug-in's own declaration, so that a slot-order
// mistake on either side shows: an object whose first member points at a
// table of ten __stdcall slots, three lifetime slots first.
#ifndef LINTREL_TESTS_WINDOWS_HOST_PROVIDER_H_
#define LINTREL_TESTS_WINDOWS_HOST_PROVIDER_H_

#include <windows.h>

#include <cstddef>
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

enum class Operation { kAddRef, kRelease, kFetchLength, kFetchBytes, kStoreItem, kFetchInteger };

struct ProviderCall {
  const HostProvider* provider;
  Operation operation;
  int32_t item;  // 0 for the lifetime operations
};

// The exception code a failing provider operation raises, and the arguments
// it raises with: its position in the log, then two fixed words.
inline constexpr DWORD kHostErrorCode = 0xE0001234;
inline constexpr ULONG_PTR kHostErrorMarks[] = {0x5EED, 0xFACE};

// The provider calls of a test, over every provider that shares the log, in
// the order they were made; and the call, if any, that raises instead. A
// failing operation raises before it has any effect, except Release, which
// drops its reference first, as a releasing object whose clean-up fails does.
struct CallLog {
  std::vector<ProviderCall> calls;
  std::optional<size_t> raise_at;
  DWORD raise_flags = 0;  // 0 (continuable) or EXCEPTION_NONCONTINUABLE
};

// What the DLL sees of a provider: the slot table first. On i686 the slot
// thunks count here the calls whose slot did not remove exactly its
// arguments; there is nothing to count on x86-64, which has one calling
// convention.
struct ProviderObject {
  const ProviderSlots* slots;
  int32_t stack_faults = 0;
};

struct HostProvider : ProviderObject {
  HostProvider();

  LONG references = 1;
  std::map<int32_t, std::string> items;
  std::map<int32_t, int32_t> integers;
  // When set, every length query is answered with this value.
  std::optional<int32_t> reported_length;
  std::vector<int32_t> fetched_items;
  std::vector<std::string> stored;
  int unused_calls = 0;
  int bad_queries = 0;
  CallLog* log = nullptr;
};

// One macro call's inputs, as the host's two providers answer them.
struct MacroCall {
  std::string name;
  std::vector<std::string> parameters;  // items 0 to 3
  std::map<int32_t, int32_t> integers;
  std::string headers;
  std::string body;
};

// The two providers of a call, answering its inputs; both log into `log`
// when one is given.
struct Providers {
  explicit Providers(const MacroCall& call, CallLog* log = nullptr);
  HostProvider message;
  HostProvider parameters;
};

#if defined(__i386__)
// Gives `provider` an integer-fetch slot that leaves its arguments on the
// stack, as a slot written with another calling convention would.
void UseSlotThatLeavesItsArguments(HostProvider& provider);
#endif

}  // namespace host

#endif  // LINTREL_TESTS_WINDOWS_HOST_PROVIDER_H_
