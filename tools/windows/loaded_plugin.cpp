// The plug-in's DLL, loaded by lintrel.exe and called through its entry
// points as the e-mail client does: the identity texts through the
// hand-over (the size first, then a buffer of that size), and each macro
// through TBP_ExecMacro with the command's providers, under a handler that
// unwinds whatever structured exception leaves it.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

#include "tools/base/errors.h"
#include "tools/run/plugin.h"
#include "tools/windows/fixed_clock.h"
#include "tools/windows/structured_exceptions.h"

namespace lintrel::cli {
namespace {

// What a provider operation raises to carry an exception of the command
// through the plug-in; its only argument is the std::exception_ptr* made by
// the operation.
constexpr DWORD kCommandFailureCode = 0xE04C5443;

using HandOver = int32_t(__stdcall*)(char* buffer, int32_t length);
using Hook = void(__stdcall*)();
using ExecMacroEntry = int32_t(__stdcall*)(const char* name, int32_t length,
                                           ITBPDataProvider* message, ITBPDataProvider* parameters);

// The system's text for error `code`, without the line break it ends in.
std::string SystemMessage(DWORD code) {
  char* text = nullptr;
  const DWORD n = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message = n > 0 ? std::string(text, n) : "error " + std::to_string(code);
  LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                              message.back() == ' ' || message.back() == '.')) {
    message.pop_back();
  }
  return message;
}

// KOR_LINTREL.TBP in the folder of lintrel.exe. A bare name is never
// used: the system would look for it along the search path.
std::string DefaultDllPath() {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, n < MAX_PATH ? n : 0);
  const size_t slash = folder.find_last_of("\\/");
  if (slash == std::string::npos) {
    throw CliError("cannot find the folder of lintrel.exe; name the plug-in with --dll PATH");
  }
  folder.resize(slash + 1);
  return folder + "KOR_LINTREL.TBP";
}

// `path` made whole against the working folder, so that the DLL is loaded
// from there and nowhere else.
std::string FullPath(const std::string& path) {
  const DWORD size = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) return path;
  std::string full(size, '\0');
  const DWORD n = GetFullPathNameA(path.c_str(), size, full.data(), nullptr);
  if (n == 0 || n >= size) return path;
  full.resize(n);
  return full;
}

template <typename Address>
Address EntryPoint(HMODULE module, const std::string& path, const char* name) {
  const FARPROC address = GetProcAddress(module, name);
  if (address == nullptr) {
    throw CliError("cannot use the plug-in " + path + ": it has no entry point " + name + " (" +
                   SystemMessage(GetLastError()) + ")");
  }
  return reinterpret_cast<Address>(reinterpret_cast<void*>(address));
}

std::string Hex(ULONG_PTR value, int digits) {
  char text[2 + 2 * sizeof(ULONG_PTR) + 1];
  std::snprintf(text, sizeof text, "0x%0*llX", digits, static_cast<unsigned long long>(value));
  return text;
}

// "exception 0xC0000005 at 0x6AE81234 (writing address 0x00000000)".
std::string Describe(const CallOutcome& outcome) {
  std::string text = "the plug-in raised exception " + Hex(outcome.code, 8) + " at " +
                     Hex(reinterpret_cast<ULONG_PTR>(outcome.address), 2 * sizeof(void*));
  if (outcome.code == EXCEPTION_ACCESS_VIOLATION && outcome.arguments.size() >= 2) {
    const char* access = outcome.arguments[0] == 0   ? "reading"
                         : outcome.arguments[0] == 8 ? "executing"
                                                     : "writing";
    text += std::string(" (") + access + " address " +
            Hex(outcome.arguments[1], 2 * sizeof(void*)) + ")";
  }
  if (outcome.code == kPluginErrorCode) text += ": " + outcome.message;
  return text;
}

// Calls `call`, which calls into the plug-in, under the unwinding handler:
// whatever the plug-in raises there is a PluginFault that names `entry`.
template <typename Call>
void CallChecked(const char* entry, Call call) {
  CallOutcome outcome;
  CallUnwinding(call, outcome);
  if (outcome.raised) throw PluginFault(std::string(entry) + ": " + Describe(outcome));
}

// The text an identity entry point hands over: asked for its size with a
// null buffer first, then for the text in a buffer of that size.
std::string HandedOver(HandOver entry, const char* name) {
  int32_t size = 0;
  CallChecked(name, [&] { size = entry(nullptr, 0); });
  if (size <= 0) return {};
  std::string text(static_cast<size_t>(size), '\0');
  int32_t copied = 0;
  CallChecked(name, [&] { copied = entry(text.data(), size); });
  text.resize(static_cast<size_t>(std::clamp(copied, 0, size)));
  return text;
}

}  // namespace

struct Plugin::State {
  HMODULE module = nullptr;
  PluginIdentity identity;
  ExecMacroEntry exec_macro = nullptr;
  Hook finalize = nullptr;
  // Whether the DLL is to be finalized and unloaded: only once it has been
  // initialized, and not after a fault, when its state cannot be trusted
  // with more calls and the command is about to end.
  std::atomic<bool> started = false;

  ~State() {
    if (!started) return;
    CallOutcome ignored;
    CallUnwinding(finalize, ignored);
    FreeLibrary(module);
  }
};

Plugin::Plugin(const Options& options) : state_(std::make_unique<State>()) {
  if (options.locale) {
    throw CliError(
        "--locale is not available on Windows: the plug-in reads the regional "
        "settings of the Windows user");
  }
  const std::string path = options.dll.value_or(DefaultDllPath());
  // No dialog box for a DLL that cannot be loaded: the error is reported.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  state_->module = LoadLibraryExA(FullPath(path).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (state_->module == nullptr) {
    const DWORD error = GetLastError();
    std::string reason = SystemMessage(error);
    if (const size_t insert = reason.find("%1"); insert != std::string::npos) {
      reason.replace(insert, 2, path);
    }
    if (error == ERROR_BAD_EXE_FORMAT) {
      reason += sizeof(void*) == 8
                    ? " (lintrel.exe is a 64-bit program; it loads 64-bit DLLs only)"
                    : " (lintrel.exe is a 32-bit program; it loads 32-bit DLLs only)";
    }
    throw CliError("cannot load the plug-in " + path + ": " + reason);
  }
  HMODULE module = state_->module;
  PluginIdentity& identity = state_->identity;
  state_->exec_macro = EntryPoint<ExecMacroEntry>(module, path, "TBP_ExecMacro");
  const Hook initialize = EntryPoint<Hook>(module, path, "TBP_Initialize");
  state_->finalize = EntryPoint<Hook>(module, path, "TBP_Finalize");
  identity.name = HandedOver(EntryPoint<HandOver>(module, path, "TBP_GetName"), "TBP_GetName");
  identity.version =
      HandedOver(EntryPoint<HandOver>(module, path, "TBP_GetVersion"), "TBP_GetVersion");
  identity.information =
      HandedOver(EntryPoint<HandOver>(module, path, "TBP_GetInfo"), "TBP_GetInfo");
  identity.macro_list =
      HandedOver(EntryPoint<HandOver>(module, path, "TBP_GetMacroList"), "TBP_GetMacroList");
  if (options.now) {
    if (!FixPluginClock(module, *options.now)) {
      throw CliError("--now: the plug-in " + path +
                     " does not read the clock through "
                     "GetSystemTime");
    }
  }
  CallChecked("TBP_Initialize", initialize);
  state_->started = true;
}

Plugin::~Plugin() = default;

const PluginIdentity& Plugin::identity() const {
  return state_->identity;
}

std::optional<Text> Plugin::Exec(std::string_view name, ITBPDataProvider* message,
                                 ITBPDataProvider* parameters) const {
  const std::string name_text(name);
  const ExecMacroEntry exec_macro = state_->exec_macro;
  CallOutcome outcome;
  auto call = [&] {
    outcome.result =
        exec_macro(name_text.c_str(), static_cast<int32_t>(name_text.size()), message, parameters);
  };
  CallUnwinding(call, outcome);
  if (!outcome.raised) return std::nullopt;
  if (outcome.code == kPluginErrorCode) return Text(outcome.message);
  if (outcome.code == kCommandFailureCode && outcome.arguments.size() == 1) {
    auto* failure = reinterpret_cast<std::exception_ptr*>(outcome.arguments[0]);
    const std::exception_ptr thrown = std::move(*failure);
    delete failure;
    std::rethrow_exception(thrown);
  }
  state_->started = false;
  throw PluginFault(Describe(outcome));
}

void ThrowThroughPlugin(std::exception_ptr* failure) {
  const ULONG_PTR argument = reinterpret_cast<ULONG_PTR>(failure);
  RaiseException(kCommandFailureCode, EXCEPTION_NONCONTINUABLE, 1, &argument);
  // A handler that continues a noncontinuable exception gets another raised;
  // nothing returns here.
  std::abort();
}

}  // namespace lintrel::cli
