// The host's data provider interface, as the plug-in uses it, and the
// routines that turn its items into texts.
#ifndef LINTREL_PLUGIN_DATA_PROVIDER_H_
#define LINTREL_PLUGIN_DATA_PROVIDER_H_

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/platform.h"
#include "text/text.h"

#if defined(_WIN32) && !defined(_WIN64)
#define LINTREL_STDCALL __stdcall
#else
#define LINTREL_STDCALL
#endif

namespace lintrel {

// Data item numbers.
inline constexpr int32_t kItemBody = 241;
inline constexpr int32_t kItemHeaders = 243;
inline constexpr int32_t kItemResult = 123257;

// {9DD91B89-A551-4180-8A81-2CCF584CD4BF}
struct InterfaceId {
  uint32_t data1;
  uint16_t data2;
  uint16_t data3;
  uint8_t data4[8];
  bool operator==(const InterfaceId&) const = default;
};
inline constexpr InterfaceId kDataProviderId = {
    0x9DD91B89, 0xA551, 0x4180, {0x8A, 0x81, 0x2C, 0xCF, 0x58, 0x4C, 0xD4, 0xBF}};

// A reference-counted object interface of the host's: the three lifetime
// slots, then seven of its own, of which the plug-in calls the first three.
// The slot order is the binary contract; do not reorder.
class ITBPDataProvider {
 public:
  virtual int32_t LINTREL_STDCALL QueryInterface(const InterfaceId& id, void** object) = 0;
  virtual uint32_t LINTREL_STDCALL AddRef() = 0;
  virtual uint32_t LINTREL_STDCALL Release() = 0;
  // With a null buffer and length -1: the item's length. With a buffer:
  // fills it with up to `length` bytes of the item.
  virtual int32_t LINTREL_STDCALL FetchItem(int32_t item, char* buffer, int32_t length) = 0;
  virtual int32_t LINTREL_STDCALL StoreItem(int32_t item, const char* bytes, int32_t length) = 0;
  virtual int32_t LINTREL_STDCALL FetchInteger(int32_t item) = 0;
  virtual int32_t LINTREL_STDCALL Unused7() = 0;
  virtual int32_t LINTREL_STDCALL Unused8() = 0;
  virtual int32_t LINTREL_STDCALL Unused9() = 0;
  virtual int32_t LINTREL_STDCALL Unused10() = 0;

 protected:
  ~ITBPDataProvider() = default;
};

// A structured exception that the host raised inside one of its provider
// operations. It leaves the call like any error, so that everything the call
// holds is released, and the entry point raises it again, unchanged.
class HostError {
 public:
  explicit HostError(const platform::HostFault& fault) : fault_(fault) {}
  const platform::HostFault& fault() const { return fault_; }

 private:
  platform::HostFault fault_;
};

// Holds one reference on a provider. `Release` gives it back and passes on a
// host error that the release raises; a reference still held when the
// holder is destroyed (an error is leaving the call) is given back and any
// further host error dropped, since only one error can reach the host. A
// null provider is allowed and holds nothing. A host error raised by the
// reference taken in the constructor leaves the constructor: nothing is
// held then.
class ProviderReference {
 public:
  explicit ProviderReference(ITBPDataProvider* provider);
  ~ProviderReference();
  ProviderReference(const ProviderReference&) = delete;
  ProviderReference& operator=(const ProviderReference&) = delete;

  void Release();

 private:
  ITBPDataProvider* provider_;
};

// The largest item the plug-in accepts; a provider reporting more raises
// EOutOfMemory instead of attempting the allocation.
inline constexpr int32_t kMaxItemLength = 1 << 30;

// Asks for the item's length, then for its bytes; the text is those bytes up
// to the first byte 0. A null provider gives the empty text. The text's
// storage has room for `room_per_byte` more bytes for each byte of the item
// when that much memory can be had, for a caller that makes its result there.
Text FetchText(ITBPDataProvider* provider, int32_t item, size_t room_per_byte = 0);

// The provider's integer for `item`; 0 from a null provider.
int32_t FetchInteger(ITBPDataProvider* provider, int32_t item);

// Stores `text` under `item`, with a byte 0 after its bytes. Skipped for a
// null provider.
void StoreText(ITBPDataProvider* provider, int32_t item, const Text& text);

}  // namespace lintrel

#endif  // LINTREL_PLUGIN_DATA_PROVIDER_H_
