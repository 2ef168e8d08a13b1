#include "plugin_library.h"

#include <cstdlib>
#include <cstring>
#include <iostream>

namespace host {
namespace {

template <typename Entry>
Entry Resolve(HMODULE module, const char* name) {
  FARPROC address = GetProcAddress(module, name);
  if (address == nullptr) std::cerr << "entry point not found: " << name << "\n";
  return reinterpret_cast<Entry>(reinterpret_cast<void*>(address));
}

Plugin Load() {
  Plugin plugin;
  plugin.module = LoadLibraryA("KOR_LINTREL.TBP");
  if (plugin.module == nullptr) {
    std::cerr << "cannot load KOR_LINTREL.TBP: error " << GetLastError() << "\n";
    std::exit(1);
  }
  plugin.get_name = Resolve<Plugin::HandOver>(plugin.module, "TBP_GetName");
  plugin.get_version = Resolve<Plugin::HandOver>(plugin.module, "TBP_GetVersion");
  plugin.get_info = Resolve<Plugin::HandOver>(plugin.module, "TBP_GetInfo");
  plugin.get_macro_list = Resolve<Plugin::HandOver>(plugin.module, "TBP_GetMacroList");
  plugin.need_config = Resolve<Plugin::Question>(plugin.module, "TBP_NeedConfig");
  plugin.need_com = Resolve<Plugin::Question>(plugin.module, "TBP_NeedCOM");
  plugin.get_status = Resolve<Plugin::Question>(plugin.module, "TBP_GetStatus");
  plugin.initialize = Resolve<Plugin::Hook>(plugin.module, "TBP_Initialize");
  plugin.finalize = Resolve<Plugin::Hook>(plugin.module, "TBP_Finalize");
  plugin.exec_macro = Resolve<Plugin::ExecMacro>(plugin.module, "TBP_ExecMacro");
  return plugin;
}

struct WorkerCall {
  const std::string* name;
  HostProvider* message;
  HostProvider* parameters;
  CallOutcome outcome;
};

// The call in progress on the worker thread; the filter writes into it.
WorkerCall* current_call = nullptr;

LONG WINAPI RecordAndEndThread(EXCEPTION_POINTERS* exception) {
  const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
  CallOutcome& outcome = current_call->outcome;
  outcome.raised = true;
  outcome.code = record.ExceptionCode;
  outcome.flags = record.ExceptionFlags;
  outcome.argument_count = record.NumberParameters;
  if (record.NumberParameters >= 2) {
    const auto* message = reinterpret_cast<const char*>(record.ExceptionInformation[0]);
    outcome.length_argument = record.ExceptionInformation[1];
    if (message != nullptr) outcome.message.assign(message, std::strlen(message));
  }
  ExitThread(1);
}

DWORD WINAPI WorkerMain(void* context) {
  auto* call = static_cast<WorkerCall*>(context);
  call->outcome.result =
      LoadedPlugin().exec_macro(call->name->data(), static_cast<int32_t>(call->name->size()),
                                call->message, call->parameters);
  return 0;
}

}  // namespace

const Plugin& LoadedPlugin() {
  static const Plugin plugin = Load();
  return plugin;
}

CallOutcome ExecOnWorker(const std::string& name, HostProvider* message, HostProvider* parameters) {
  LoadedPlugin();
  WorkerCall call{&name, message, parameters, {}};
  current_call = &call;
  LPTOP_LEVEL_EXCEPTION_FILTER previous = SetUnhandledExceptionFilter(RecordAndEndThread);
  HANDLE worker = CreateThread(nullptr, 0, WorkerMain, &call, 0, nullptr);
  WaitForSingleObject(worker, INFINITE);
  CloseHandle(worker);
  SetUnhandledExceptionFilter(previous);
  current_call = nullptr;
  return call.outcome;
}

}  // namespace host
