// The entry points the host resolves by name. This is the only code that
// knows the Windows calling convention and the structured-exception hand-off.
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

#include "platform/windows_errors.h"
#include "plugin/dispatcher.h"
#include "plugin/handover.h"
#include "plugin/identity.h"
#include "text/regional_settings.h"

using lintrel::ITBPDataProvider;

namespace {

// The user's regional settings, read once while the library loads (static
// initialisation runs on the loading thread, so its locale is the one read)
// and only read afterwards.
const lintrel::RegionalSettings kLoadedSettings = lintrel::LoadRegionalSettings();

// Room for the message of an error on its way to the host; longer messages
// are cut.
constexpr size_t kMessageCapacity = 4096;

void CopyMessage(std::string_view message, char (&buffer)[kMessageCapacity], size_t& length) {
  length = message.size() < kMessageCapacity - 1 ? message.size() : kMessageCapacity - 1;
  std::memcpy(buffer, message.data(), length);
  buffer[length] = '\0';
}

// The date arithmetic is written for the x87 unit's 64-bit significand and
// rounding to nearest. Hosts may run with another control word (53-bit
// precision is common), so each macro call sets those two fields and puts
// the host's word back afterwards.
class ExtendedPrecision {
 public:
  ExtendedPrecision() {
    __asm__ volatile("fnstcw %0" : "=m"(host_word_));
    const uint16_t ours =
        static_cast<uint16_t>((host_word_ & ~kPrecisionAndRounding) | kExtendedPrecision);
    __asm__ volatile("fldcw %0" : : "m"(ours));
  }
  ~ExtendedPrecision() { __asm__ volatile("fldcw %0" : : "m"(host_word_)); }
  ExtendedPrecision(const ExtendedPrecision&) = delete;
  ExtendedPrecision& operator=(const ExtendedPrecision&) = delete;

 private:
  // Bits 8-9 select the precision (3: 64-bit), bits 10-11 the rounding (0:
  // to nearest).
  static constexpr uint16_t kPrecisionAndRounding = 0x0F00;
  static constexpr uint16_t kExtendedPrecision = 0x0300;
  uint16_t host_word_ = 0;
};

}  // namespace

extern "C" {

int32_t __stdcall TBP_GetName(char* buffer, int32_t length) {
  return lintrel::HandOverText(lintrel::kDisplayName, buffer, length);
}

int32_t __stdcall TBP_GetVersion(char* buffer, int32_t length) {
  return lintrel::HandOverText(lintrel::kVersion, buffer, length);
}

int32_t __stdcall TBP_GetInfo(char* buffer, int32_t length) {
  return lintrel::HandOverText(lintrel::kInformation, buffer, length);
}

int32_t __stdcall TBP_GetMacroList(char* buffer, int32_t length) {
  return lintrel::HandOverText(lintrel::kMacroList, buffer, length);
}

int32_t __stdcall TBP_NeedConfig() {
  return 0;
}
int32_t __stdcall TBP_NeedCOM() {
  return 1;
}
int32_t __stdcall TBP_GetStatus() {
  return 0;
}
void __stdcall TBP_Initialize() {}
void __stdcall TBP_Finalize() {}

// No C++ exception may cross into the host. An error is caught here, its
// message copied into this frame, every C++ object destroyed, and only then
// raised to the host as a structured exception. A host error raised inside a
// provider operation is raised again as the host raised it.
int32_t __stdcall TBP_ExecMacro(const char* name, int32_t name_length,
                                ITBPDataProvider* message_provider,
                                ITBPDataProvider* parameter_provider) {
  char message[kMessageCapacity];
  size_t message_length = 0;
  std::optional<lintrel::platform::HostFault> host_fault;
  {
    const ExtendedPrecision precision;
    const std::string_view macro_name =
        name != nullptr && name_length > 0
            ? std::string_view(name, static_cast<size_t>(name_length))
            : std::string_view();
    try {
      lintrel::MacroEnvironment environment;
      environment.settings = &kLoadedSettings;
      return lintrel::ExecMacro(macro_name, message_provider, parameter_provider, environment);
    } catch (const lintrel::HostError& error) {
      host_fault = error.fault();
    } catch (...) {
      CopyMessage(lintrel::CurrentErrorMessage(), message, message_length);
    }
  }
  if (host_fault) {
    lintrel::platform::RaiseHostFault(*host_fault);
    // The host continued a continuable error: the call ends with nothing
    // stored.
    return lintrel::kItemResult;
  }
  lintrel::platform::RaisePluginError(message, message_length);
}

}  // extern "C"
