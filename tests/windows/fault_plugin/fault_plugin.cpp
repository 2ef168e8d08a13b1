// A plug-in that breaks the host contract on request, for the tests of how
// lintrel.exe meets such a DLL. The macro named is what it does:
//   CRASH   writes through a null pointer;
//   LEAK    takes a reference on the message provider and keeps it;
//   OVERRELEASE  gives back a reference it never took;
//   REFUSE  raises the plug-in's own error with the text "refused";
//   SHRINK  empties the file named by parameter 0, then fetches the body;
// any other name stores "fault plug-in: NAME". Built with LEAVE_OUT_EXEC,
// it lacks TBP_ExecMacro; built with CRASH_ON_START, TBP_Initialize writes
// through a null pointer.
#include <windows.h>

#include <cstdint>
#include <cstring>

namespace {

struct Provider;
struct ProviderSlots {
  HRESULT(__stdcall* query_interface)(Provider* self, const GUID* id, void** object);
  ULONG(__stdcall* add_ref)(Provider* self);
  ULONG(__stdcall* release)(Provider* self);
  int32_t(__stdcall* fetch_item)(Provider* self, int32_t item, char* buffer, int32_t length);
  int32_t(__stdcall* store_item)(Provider* self, int32_t item, const char* bytes, int32_t length);
};
struct Provider {
  const ProviderSlots* slots;
};

constexpr int32_t kItemBody = 241;
constexpr int32_t kItemResult = 123257;

int32_t HandOver(const char* text, char* buffer, int32_t length) {
  const auto size = static_cast<int32_t>(std::strlen(text));
  if (buffer == nullptr || length < 0) return size;
  const int32_t n = length < size ? length : size;
  std::memcpy(buffer, text, static_cast<size_t>(n));
  return n;
}

// A null pointer that the compiler cannot see is null, so that writing
// through it is a real store that faults.
int* volatile nowhere = nullptr;

}  // namespace

extern "C" {

__declspec(dllexport) int32_t __stdcall TBP_GetName(char* buffer, int32_t length) {
  return HandOver("Fault plug-in", buffer, length);
}
__declspec(dllexport) int32_t __stdcall TBP_GetVersion(char* buffer, int32_t length) {
  return HandOver("0.0.1", buffer, length);
}
__declspec(dllexport) int32_t __stdcall TBP_GetInfo(char* buffer, int32_t length) {
  return HandOver("Fault plug-in 0.0.1\r\nfor tests", buffer, length);
}
__declspec(dllexport) int32_t __stdcall TBP_GetMacroList(char* buffer, int32_t length) {
  return HandOver("CRASH\r\nLEAK\r\nOVERRELEASE\r\nREFUSE\r\nSHRINK\r\n", buffer, length);
}
__declspec(dllexport) void __stdcall TBP_Initialize() {
#if defined(CRASH_ON_START)
  *nowhere = 1;
#endif
}
__declspec(dllexport) void __stdcall TBP_Finalize() {}

#if !defined(LEAVE_OUT_EXEC)
__declspec(dllexport) int32_t __stdcall TBP_ExecMacro(const char* name, int32_t length,
                                                      Provider* message, Provider* parameters) {
  char macro[64] = {};
  std::memcpy(macro, name, static_cast<size_t>(length < 63 ? length : 63));
  if (std::strcmp(macro, "CRASH") == 0) {
    *nowhere = 1;
  } else if (std::strcmp(macro, "LEAK") == 0) {
    message->slots->add_ref(message);
  } else if (std::strcmp(macro, "OVERRELEASE") == 0) {
    message->slots->release(message);
  } else if (std::strcmp(macro, "REFUSE") == 0) {
    static const char kRefused[] = "refused";
    const ULONG_PTR arguments[] = {reinterpret_cast<ULONG_PTR>(kRefused), 7};
    RaiseException(0xE04C4E54, EXCEPTION_NONCONTINUABLE, 2, arguments);
  } else if (std::strcmp(macro, "SHRINK") == 0) {
    char path[MAX_PATH] = {};
    parameters->slots->fetch_item(parameters, 0, path, MAX_PATH - 1);
    const HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
    SetEndOfFile(file);
    CloseHandle(file);
    const int32_t size = message->slots->fetch_item(message, kItemBody, nullptr, -1);
    char* body = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, static_cast<size_t>(size) + 1));
    message->slots->fetch_item(message, kItemBody, body, size);
    HeapFree(GetProcessHeap(), 0, body);
  }
  char result[96] = "fault plug-in: ";
  std::strcat(result, macro);
  message->slots->store_item(message, kItemResult, result,
                             static_cast<int32_t>(std::strlen(result)));
  return kItemResult;
}
#endif

}  // extern "C"
