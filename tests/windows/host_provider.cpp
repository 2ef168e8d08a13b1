#include "host_provider.h"

#include <algorithm>
#include <cstring>

namespace host {
namespace {

// Logs the call, and raises the host's error when the log says this call
// fails.
void Enter(HostProvider* self, Operation operation, int32_t item) {
  CallLog* log = self->log;
  if (log == nullptr) return;
  const size_t position = log->calls.size();
  log->calls.push_back({self, operation, item});
  if (log->raise_at != position) return;
  const ULONG_PTR arguments[] = {position, kHostErrorMarks[0], kHostErrorMarks[1]};
  RaiseException(kHostErrorCode, log->raise_flags, 3, arguments);
}

}  // namespace
}  // namespace host

// The slots, with C names so that the i686 thunks below can call them.
extern "C" {

HRESULT __stdcall HostQueryInterface(host::HostProvider* self, const GUID*, void** object) {
  ++self->bad_queries;
  if (object != nullptr) *object = nullptr;
  return E_NOINTERFACE;
}

ULONG __stdcall HostAddRef(host::HostProvider* self) {
  host::Enter(self, host::Operation::kAddRef, 0);
  return ++self->references;
}

ULONG __stdcall HostRelease(host::HostProvider* self) {
  const ULONG count = --self->references;
  host::Enter(self, host::Operation::kRelease, 0);
  return count;
}

int32_t __stdcall HostFetchItem(host::HostProvider* self, int32_t item, char* buffer,
                                int32_t length) {
  host::Enter(
      self, buffer == nullptr ? host::Operation::kFetchLength : host::Operation::kFetchBytes, item);
  const std::string& value = self->items[item];
  if (buffer == nullptr) {
    if (length == -1) self->fetched_items.push_back(item);
    return self->reported_length.value_or(static_cast<int32_t>(value.size()));
  }
  const size_t n = std::min<size_t>(value.size(), length > 0 ? length : 0);
  std::memcpy(buffer, value.data(), n);
  return static_cast<int32_t>(n);
}

int32_t __stdcall HostStoreItem(host::HostProvider* self, int32_t item, const char* bytes,
                                int32_t length) {
  host::Enter(self, host::Operation::kStoreItem, item);
  std::string text(bytes, length);
  if (bytes[length] != '\0') text += "<no NUL>";
  if (item != 123257) text = "<item " + std::to_string(item) + ">" + text;
  self->stored.push_back(text);
  return 0;
}

int32_t __stdcall HostFetchInteger(host::HostProvider* self, int32_t item) {
  host::Enter(self, host::Operation::kFetchInteger, item);
  return self->integers[item];
}

int32_t __stdcall HostUnused(host::HostProvider* self) {
  return ++self->unused_calls;
}

}  // extern "C"

#if defined(__i386__)
// On i686 the DLL calls each slot through a thunk: it pushes the caller's
// argument words again (the object first), calls the slot and checks that
// the slot removed exactly those words, counting it in the object's
// `stack_faults` if not, then returns with `ret` and the argument bytes the
// interface declares. A DLL that calls the interface with another convention
// than __stdcall finds its stack moved when the thunk returns, which the
// checked entry-point calls see (see plugin_library.h).
// clang-format off
#define HOST_SLOT_THUNK(slot, bytes)              \
  asm(".text\n"                                   \
      ".globl _" #slot "Thunk\n"                  \
      "_" #slot "Thunk:\n"                        \
      "  pushl %ebp\n"                            \
      "  movl %esp, %ebp\n"                       \
      "  pushl %ebx\n"                            \
      "  movl $" #bytes " / 4, %ecx\n"            \
      "1:\n"                                      \
      "  pushl 4(%ebp,%ecx,4)\n"                  \
      "  loop 1b\n"                               \
      "  movl %esp, %ebx\n"                       \
      "  call _" #slot "@" #bytes "\n"            \
      "  movl %esp, %ecx\n"                       \
      "  subl %ebx, %ecx\n"                       \
      "  cmpl $" #bytes ", %ecx\n"                \
      "  je 2f\n"                                 \
      "  movl 8(%ebp), %ecx\n"                    \
      "  incl 4(%ecx)\n"                          \
      "2:\n"                                      \
      "  leal -4(%ebp), %esp\n"                   \
      "  popl %ebx\n"                             \
      "  popl %ebp\n"                             \
      "  ret $" #bytes "\n");                     \
  extern "C" void slot##Thunk()
// clang-format on

HOST_SLOT_THUNK(HostQueryInterface, 12);
HOST_SLOT_THUNK(HostAddRef, 4);
HOST_SLOT_THUNK(HostRelease, 4);
HOST_SLOT_THUNK(HostFetchItem, 16);
HOST_SLOT_THUNK(HostStoreItem, 16);
HOST_SLOT_THUNK(HostFetchInteger, 8);
HOST_SLOT_THUNK(HostUnused, 4);

// A slot that leaves its arguments to the caller, as a __cdecl one does.
extern "C" int32_t HostFetchIntegerLeavingArguments(host::HostProvider* self, int32_t item) asm(
    "_HostFetchIntegerLeavingArguments@8");
extern "C" int32_t HostFetchIntegerLeavingArguments(host::HostProvider* self, int32_t item) {
  return HostFetchInteger(self, item);
}
HOST_SLOT_THUNK(HostFetchIntegerLeavingArguments, 8);

static_assert(offsetof(host::ProviderObject, stack_faults) == 4,
              "the slot thunks count stack faults at this offset");

namespace host {
namespace {

template <typename Slot>
Slot Checked(void (*thunk)()) {
  return reinterpret_cast<Slot>(reinterpret_cast<void*>(thunk));
}

const ProviderSlots kSlots = {
    Checked<decltype(ProviderSlots::query_interface)>(HostQueryInterfaceThunk),
    Checked<decltype(ProviderSlots::add_ref)>(HostAddRefThunk),
    Checked<decltype(ProviderSlots::release)>(HostReleaseThunk),
    Checked<decltype(ProviderSlots::fetch_item)>(HostFetchItemThunk),
    Checked<decltype(ProviderSlots::store_item)>(HostStoreItemThunk),
    Checked<decltype(ProviderSlots::fetch_integer)>(HostFetchIntegerThunk),
    {Checked<int32_t(__stdcall*)(HostProvider*)>(HostUnusedThunk),
     Checked<int32_t(__stdcall*)(HostProvider*)>(HostUnusedThunk),
     Checked<int32_t(__stdcall*)(HostProvider*)>(HostUnusedThunk),
     Checked<int32_t(__stdcall*)(HostProvider*)>(HostUnusedThunk)}};

}  // namespace

void UseSlotThatLeavesItsArguments(HostProvider& provider) {
  static ProviderSlots leaving = kSlots;
  leaving.fetch_integer =
      Checked<decltype(ProviderSlots::fetch_integer)>(HostFetchIntegerLeavingArgumentsThunk);
  provider.slots = &leaving;
}

}  // namespace host
#else
namespace host {
namespace {

const ProviderSlots kSlots = {HostQueryInterface,
                              HostAddRef,
                              HostRelease,
                              HostFetchItem,
                              HostStoreItem,
                              HostFetchInteger,
                              {HostUnused, HostUnused, HostUnused, HostUnused}};

}  // namespace
}  // namespace host
#endif

namespace host {

HostProvider::HostProvider() : ProviderObject{&kSlots} {}

Providers::Providers(const MacroCall& call, CallLog* log) {
  for (size_t i = 0; i < call.parameters.size(); ++i) {
    parameters.items[static_cast<int32_t>(i)] = call.parameters[i];
  }
  parameters.integers = call.integers;
  message.items[243] = call.headers;
  message.items[241] = call.body;
  message.log = log;
  parameters.log = log;
}

}  // namespace host
