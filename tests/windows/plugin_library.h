// Loads KOR_LINTREL.TBP by name, as the e-mail client does, and resolves
// its entry points.
#ifndef LINTREL_TESTS_WINDOWS_PLUGIN_LIBRARY_H_
#define LINTREL_TESTS_WINDOWS_PLUGIN_LIBRARY_H_

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <type_traits>

#include "host_exceptions.h"
#include "host_provider.h"

namespace host {

#if defined(__i386__)
// What a call across the boundary did to the caller's state: how far the
// stack pointer moved (0 when the callee removed exactly its arguments), and
// whether EBX, ESI and EDI came back as they went in.
struct BoundaryCheck {
  int32_t stack_change;
  int32_t registers_kept;
};

// Pushes `count` argument words (the first at the lowest address), calls
// `entry` and checks the call. Returns EAX.
extern "C" uint32_t HostCallChecked(const void* entry, const uint32_t* words, uint32_t count,
                                    BoundaryCheck* check);
#endif

// An entry point of the plug-in, called as the host calls it. On i686 every
// call goes through a thunk that checks the __stdcall contract from the
// host's side: a callee that leaves the stack pointer elsewhere or changes a
// register it must keep fails the running test.
template <typename Signature>
class Entry;

template <typename Result, typename... Arguments>
class Entry<Result(Arguments...)> {
 public:
  using Address = Result(__stdcall*)(Arguments...);

  Entry() = default;
  Entry(const char* name, Address address) : name_(name), address_(address) {}

  Result operator()(Arguments... arguments) const {
#if defined(__i386__)
    const uint32_t words[] = {Word(arguments)..., 0};
    BoundaryCheck check{};
    const uint32_t result = HostCallChecked(reinterpret_cast<const void*>(address_), words,
                                            sizeof...(Arguments), &check);
    EXPECT_EQ(check.stack_change, 0) << name_ << " moved the caller's stack pointer";
    EXPECT_TRUE(check.registers_kept) << name_ << " changed EBX, ESI or EDI";
    if constexpr (!std::is_void_v<Result>) return static_cast<Result>(result);
#else
    return address_(arguments...);
#endif
  }

  const char* name() const {
    return name_;
  }
  Address address() const {
    return address_;
  }

 private:
#if defined(__i386__)
  template <typename T>
  static uint32_t Word(T value) {
    if constexpr (std::is_pointer_v<T>) {
      return reinterpret_cast<uintptr_t>(value);
    } else {
      return static_cast<uint32_t>(value);
    }
  }
#endif

  const char* name_ = "";
  Address address_ = nullptr;
};

struct Plugin {
  using HandOver = Entry<int32_t(char* buffer, int32_t length)>;
  using Question = Entry<int32_t()>;
  using Hook = Entry<void()>;
  using ExecMacro = Entry<int32_t(const char* name, int32_t length, HostProvider* message,
                                  HostProvider* parameters)>;

  HMODULE module = nullptr;
  HandOver get_name;
  HandOver get_version;
  HandOver get_info;
  HandOver get_macro_list;
  Question need_config;
  Question need_com;
  Question get_status;
  Hook initialize;
  Hook finalize;
  ExecMacro exec_macro;
};

// Resolves the entry points of a loaded plug-in module.
Plugin ResolveEntries(HMODULE module);

// The plug-in, loaded once for the whole test program.
const Plugin& LoadedPlugin();

// Runs `name` through TBP_ExecMacro on a thread of its own, so that an
// exception the plug-in raises can be recorded by the process's
// unhandled-exception filter and end only that thread. Nothing is unwound.
CallOutcome ExecOnWorker(const std::string& name, HostProvider* message, HostProvider* parameters);

// Runs `name` through TBP_ExecMacro on this thread under a handler that
// records an exception and unwinds the stack, as a native host does.
CallOutcome ExecUnwinding(const std::string& name, HostProvider* message, HostProvider* parameters);

}  // namespace host

#endif  // LINTREL_TESTS_WINDOWS_PLUGIN_LIBRARY_H_
