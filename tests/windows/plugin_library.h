// Loads KOR_LINTREL.TBP by name, as the e-mail client does, and resolves
// its entry points.
#ifndef LINTREL_TESTS_WINDOWS_PLUGIN_LIBRARY_H_
#define LINTREL_TESTS_WINDOWS_PLUGIN_LIBRARY_H_

#include <windows.h>

#include <cstdint>
#include <string>

#include "host_provider.h"

namespace host {

struct Plugin {
  using HandOver = int32_t(__stdcall*)(char* buffer, int32_t length);
  using Question = int32_t(__stdcall*)();
  using Hook = void(__stdcall*)();
  using ExecMacro = int32_t(__stdcall*)(const char* name, int32_t length, HostProvider* message,
                                        HostProvider* parameters);

  HMODULE module = nullptr;
  HandOver get_name = nullptr;
  HandOver get_version = nullptr;
  HandOver get_info = nullptr;
  HandOver get_macro_list = nullptr;
  Question need_config = nullptr;
  Question need_com = nullptr;
  Question get_status = nullptr;
  Hook initialize = nullptr;
  Hook finalize = nullptr;
  ExecMacro exec_macro = nullptr;
};

// The plug-in, loaded once for the whole test program.
const Plugin& LoadedPlugin();

// What a call of an entry point on a worker thread came to: its result, or
// the structured exception that left it.
struct CallOutcome {
  bool raised = false;
  int32_t result = 0;
  DWORD code = 0;
  DWORD flags = 0;
  DWORD argument_count = 0;
  std::string message;
  ULONG_PTR length_argument = 0;
};

// Runs `name` through TBP_ExecMacro on a thread of its own, so that an
// exception the plug-in raises can be recorded by the process's
// unhandled-exception filter and end only that thread.
CallOutcome ExecOnWorker(const std::string& name, HostProvider* message, HostProvider* parameters);

}  // namespace host

#endif  // LINTREL_TESTS_WINDOWS_PLUGIN_LIBRARY_H_
