// Calls into the host that catch the host's own structured exceptions.
//
// A host that handles an error raised in one of its provider operations
// unwinds the stack between the raise and its handler. The plug-in's frames
// in between must release their provider references and free their texts,
// but on i686 they unwind with DWARF tables, which structured exception
// unwinding does not see, and on x86-64 the compiler's runtime does not run
// them for exceptions that are not its own. So each call into the host runs
// under a handler of the plug-in's: it records the exception, unwinds the
// host's frames above it, and returns the fault, which then travels as a C++
// exception through the plug-in's frames and is raised again at the entry
// point.
#include <windows.h>

#include <algorithm>

#include "platform/platform.h"
#include "platform/windows_errors.h"

namespace lintrel::platform {
namespace {

HostFault FaultOf(const EXCEPTION_RECORD& record) {
  HostFault fault;
  fault.code = record.ExceptionCode;
  fault.flags = record.ExceptionFlags;
  fault.argument_count = std::min<DWORD>(record.NumberParameters, fault.arguments.size());
  std::copy_n(record.ExceptionInformation, fault.argument_count, fault.arguments.begin());
  return fault;
}

bool IsUnwinding(const EXCEPTION_RECORD& record) {
  return (record.ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) != 0;
}

}  // namespace
}  // namespace lintrel::platform

#if defined(__i386__)
namespace lintrel::platform {
namespace {

// A frame on the fs:[0] chain. The registration comes first, so that the
// handler's establisher frame is the whole record.
struct GuardFrame {
  EXCEPTION_REGISTRATION_RECORD registration;
  void* resume[5];
  HostFault* fault;
};

void* ExceptionList() {
  void* head;
  __asm__ volatile("movl %%fs:0, %0" : "=r"(head));
  return head;
}

void SetExceptionList(void* head) {
  __asm__ volatile("movl %0, %%fs:0" : : "r"(head) : "memory");
}

EXCEPTION_DISPOSITION __cdecl CatchHostFault(EXCEPTION_RECORD* record, void* establisher, CONTEXT*,
                                             void*) {
  if (IsUnwinding(*record)) return ExceptionContinueSearch;
  auto* frame = static_cast<GuardFrame*>(establisher);
  *frame->fault = FaultOf(*record);
  // Unwinds the host's frames above this one, then resumes in CallGuarded.
  RtlUnwind(establisher, nullptr, record, nullptr);
  __builtin_longjmp(frame->resume, 1);
}

// Answers whether a fault was caught.
__attribute__((noinline)) bool CallGuarded(void (*operation)(void* context), void* context,
                                           HostFault& fault) {
  GuardFrame frame;
  frame.registration.Handler = reinterpret_cast<PEXCEPTION_ROUTINE>(CatchHostFault);
  frame.registration.Next = static_cast<EXCEPTION_REGISTRATION_RECORD*>(ExceptionList());
  frame.fault = &fault;
  if (__builtin_setjmp(frame.resume) == 0) {
    SetExceptionList(&frame.registration);
    operation(context);
    SetExceptionList(frame.registration.Next);
    return false;
  }
  SetExceptionList(frame.registration.Next);
  return true;
}

}  // namespace
}  // namespace lintrel::platform

#else
// x86-64 finds handlers through each function's unwind data, so the guard is
// a function of its own that names its handler there. It keeps the fault's
// address at 32(%rsp), above the callee's home area, where the handler finds
// it through the establisher frame (the stack pointer after the prologue);
// the handler's unwind resumes at lintrel_host_fault_resume with that stack
// pointer. The instruction after the call keeps its return address out of
// the epilogue.
//   bool lintrel_call_guarded(void (*operation)(void*), void* context,
//                             HostFault* fault)
extern "C" bool lintrel_call_guarded(void (*operation)(void* context), void* context,
                                     lintrel::platform::HostFault* fault);
extern "C" void lintrel_host_fault_resume();
extern "C" EXCEPTION_DISPOSITION lintrel_catch_host_fault(EXCEPTION_RECORD* record,
                                                          void* establisher, CONTEXT* context,
                                                          DISPATCHER_CONTEXT* dispatcher);

asm(".text\n"
    ".p2align 4\n"
    ".globl lintrel_call_guarded\n"
    ".def lintrel_call_guarded; .scl 2; .type 32; .endef\n"
    ".seh_proc lintrel_call_guarded\n"
    "lintrel_call_guarded:\n"
    "  subq $40, %rsp\n"
    "  .seh_stackalloc 40\n"
    "  .seh_endprologue\n"
    "  .seh_handler lintrel_catch_host_fault, @except\n"
    "  movq %r8, 32(%rsp)\n"
    "  movq %rcx, %rax\n"
    "  movq %rdx, %rcx\n"
    "  callq *%rax\n"
    "  xorl %eax, %eax\n"
    "  addq $40, %rsp\n"
    "  ret\n"
    ".globl lintrel_host_fault_resume\n"
    "lintrel_host_fault_resume:\n"
    "  movl $1, %eax\n"
    "  addq $40, %rsp\n"
    "  ret\n"
    ".seh_endproc\n");

extern "C" EXCEPTION_DISPOSITION lintrel_catch_host_fault(EXCEPTION_RECORD* record,
                                                          void* establisher, CONTEXT* context,
                                                          DISPATCHER_CONTEXT* dispatcher) {
  using lintrel::platform::HostFault;
  if (lintrel::platform::IsUnwinding(*record)) return ExceptionContinueSearch;
  HostFault* fault = *reinterpret_cast<HostFault**>(static_cast<char*>(establisher) + 32);
  *fault = lintrel::platform::FaultOf(*record);
  RtlUnwindEx(establisher, reinterpret_cast<void*>(lintrel_host_fault_resume), record, nullptr,
              context, dispatcher->HistoryTable);
  __builtin_unreachable();
}

namespace lintrel::platform {
namespace {

bool CallGuarded(void (*operation)(void* context), void* context, HostFault& fault) {
  return lintrel_call_guarded(operation, context, &fault);
}

}  // namespace
}  // namespace lintrel::platform
#endif

namespace lintrel::platform {

std::optional<HostFault> CallHost(void (*operation)(void* context), void* context) {
  HostFault fault;
  if (!CallGuarded(operation, context, fault)) return std::nullopt;
  return fault;
}

void RaiseHostFault(const HostFault& fault) {
  ULONG_PTR arguments[EXCEPTION_MAXIMUM_PARAMETERS];
  std::copy_n(fault.arguments.begin(), fault.argument_count, arguments);
  RaiseException(fault.code, fault.flags, fault.argument_count, arguments);
}

}  // namespace lintrel::platform
