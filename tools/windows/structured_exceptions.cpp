#include "tools/windows/structured_exceptions.h"

#include <excpt.h>

#include <algorithm>
#include <cstring>

namespace lintrel::cli {

void RecordException(const EXCEPTION_RECORD& record, CallOutcome& outcome) {
  outcome.raised = true;
  outcome.code = record.ExceptionCode;
  outcome.flags = record.ExceptionFlags;
  outcome.address = record.ExceptionAddress;
  const DWORD count = std::min<DWORD>(record.NumberParameters, EXCEPTION_MAXIMUM_PARAMETERS);
  outcome.arguments.assign(record.ExceptionInformation, record.ExceptionInformation + count);
  if (record.ExceptionCode == kPluginErrorCode && count >= 1 &&
      record.ExceptionInformation[0] != 0) {
    const auto* message = reinterpret_cast<const char*>(record.ExceptionInformation[0]);
    outcome.message.assign(message, count >= 2 ? static_cast<size_t>(record.ExceptionInformation[1])
                                               : std::strlen(message));
  }
}

#if defined(__i386__)
namespace {

void* ExceptionList() {
  void* head;
  __asm__ volatile("movl %%fs:0, %0" : "=r"(head));
  return head;
}

void SetExceptionList(void* head) {
  __asm__ volatile("movl %0, %%fs:0" : : "r"(head) : "memory");
}

// The registration comes first, so the handler's establisher frame is the
// whole record.
struct UnwindingFrame {
  EXCEPTION_REGISTRATION_RECORD registration;
  void* resume[5];
  CallOutcome* outcome;
};

EXCEPTION_DISPOSITION __cdecl RecordAndUnwind(EXCEPTION_RECORD* record, void* establisher, CONTEXT*,
                                              void*) {
  if ((record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) != 0) {
    return ExceptionContinueSearch;
  }
  auto* frame = static_cast<UnwindingFrame*>(establisher);
  RecordException(*record, *frame->outcome);
  RtlUnwind(establisher, nullptr, record, nullptr);
  __builtin_longjmp(frame->resume, 1);
}

}  // namespace

__attribute__((noinline)) void CallUnwinding(void (*call)(void* context), void* context,
                                             CallOutcome& outcome) {
  UnwindingFrame frame;
  frame.registration.Handler = reinterpret_cast<PEXCEPTION_ROUTINE>(RecordAndUnwind);
  frame.registration.Next = static_cast<EXCEPTION_REGISTRATION_RECORD*>(ExceptionList());
  frame.outcome = &outcome;
  if (__builtin_setjmp(frame.resume) == 0) {
    SetExceptionList(&frame.registration);
    call(context);
  }
  SetExceptionList(frame.registration.Next);
}

#else
namespace {

// The outcome the filter below records into; one call at a time on each
// thread.
thread_local CallOutcome* recording = nullptr;

}  // namespace

extern "C" LONG HostRecordAndHandle(EXCEPTION_POINTERS* exception, void*) {
  RecordException(*exception->ExceptionRecord, *recording);
  return EXCEPTION_EXECUTE_HANDLER;
}

namespace {

// The scope's filter is named in the function's unwind data, so this
// function holds nothing else.
__attribute__((noinline)) void CallUnderHandler(void (*call)(void* context), void* context) {
  __try1(HostRecordAndHandle) call(context);
  __except1;
}

}  // namespace

void CallUnwinding(void (*call)(void* context), void* context, CallOutcome& outcome) {
  recording = &outcome;
  CallUnderHandler(call, context);
  recording = nullptr;
}
#endif

}  // namespace lintrel::cli
