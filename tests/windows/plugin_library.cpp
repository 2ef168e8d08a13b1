#include "plugin_library.h"

#include <cstdlib>
#include <iostream>

#if defined(__i386__)
// The checked call: EBX, ESI and EDI are loaded with marks before the call
// and compared after it; the stack pointer after the call is compared with
// its value before the arguments were pushed, which EBP keeps.
asm(".text\n"
    ".globl _HostCallChecked\n"
    "_HostCallChecked:\n"
    "  pushl %ebp\n"
    "  movl %esp, %ebp\n"
    "  pushl %ebx\n"
    "  pushl %esi\n"
    "  pushl %edi\n"
    "  movl 16(%ebp), %ecx\n"
    "  movl 12(%ebp), %edx\n"
    "  jecxz 2f\n"
    "1:\n"
    "  pushl -4(%edx,%ecx,4)\n"
    "  loop 1b\n"
    "2:\n"
    "  movl $0x1BAD0B0B, %ebx\n"
    "  movl $0x2BAD0B0B, %esi\n"
    "  movl $0x3BAD0B0B, %edi\n"
    "  call *8(%ebp)\n"
    "  movl 20(%ebp), %ecx\n"
    "  movl %esp, %edx\n"
    "  subl %ebp, %edx\n"
    "  addl $12, %edx\n"
    "  movl %edx, (%ecx)\n"
    "  xorl %edx, %edx\n"
    "  cmpl $0x1BAD0B0B, %ebx\n"
    "  jne 3f\n"
    "  cmpl $0x2BAD0B0B, %esi\n"
    "  jne 3f\n"
    "  cmpl $0x3BAD0B0B, %edi\n"
    "  jne 3f\n"
    "  incl %edx\n"
    "3:\n"
    "  movl %edx, 4(%ecx)\n"
    "  leal -12(%ebp), %esp\n"
    "  popl %edi\n"
    "  popl %esi\n"
    "  popl %ebx\n"
    "  popl %ebp\n"
    "  ret\n");
#endif

namespace host {
namespace {

template <typename Entry>
Entry Resolve(HMODULE module, const char* name) {
  FARPROC address = GetProcAddress(module, name);
  if (address == nullptr) std::cerr << "entry point not found: " << name << "\n";
  return Entry(name, reinterpret_cast<typename Entry::Address>(reinterpret_cast<void*>(address)));
}

Plugin Load() {
  HMODULE module = LoadLibraryA("KOR_LINTREL.TBP");
  if (module == nullptr) {
    std::cerr << "cannot load KOR_LINTREL.TBP: error " << GetLastError() << "\n";
    std::exit(1);
  }
  return ResolveEntries(module);
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
  RecordException(*exception->ExceptionRecord, current_call->outcome);
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

Plugin ResolveEntries(HMODULE module) {
  Plugin plugin;
  plugin.module = module;
  plugin.get_name = Resolve<Plugin::HandOver>(module, "TBP_GetName");
  plugin.get_version = Resolve<Plugin::HandOver>(module, "TBP_GetVersion");
  plugin.get_info = Resolve<Plugin::HandOver>(module, "TBP_GetInfo");
  plugin.get_macro_list = Resolve<Plugin::HandOver>(module, "TBP_GetMacroList");
  plugin.need_config = Resolve<Plugin::Question>(module, "TBP_NeedConfig");
  plugin.need_com = Resolve<Plugin::Question>(module, "TBP_NeedCOM");
  plugin.get_status = Resolve<Plugin::Question>(module, "TBP_GetStatus");
  plugin.initialize = Resolve<Plugin::Hook>(module, "TBP_Initialize");
  plugin.finalize = Resolve<Plugin::Hook>(module, "TBP_Finalize");
  plugin.exec_macro = Resolve<Plugin::ExecMacro>(module, "TBP_ExecMacro");
  return plugin;
}

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

CallOutcome ExecUnwinding(const std::string& name, HostProvider* message,
                          HostProvider* parameters) {
  const Plugin& plugin = LoadedPlugin();
  CallOutcome outcome;
  auto call = [&] {
    outcome.result =
        plugin.exec_macro(name.data(), static_cast<int32_t>(name.size()), message, parameters);
  };
  CallUnwinding(call, outcome);
  return outcome;
}

}  // namespace host
