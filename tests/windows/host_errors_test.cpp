// A host error: a structured exception raised inside one of the host's own
// provider operations while a macro runs, handled by the host with a handler
// that unwinds, as a native host does. Whichever operation fails, the error
// reaches the host unchanged, the plug-in has released every reference it
// took and freed what it held, nothing is stored after the failure, and the
// host goes on working.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "plugin_library.h"
#include "x87_control.h"

namespace host {
namespace {

// Enough header text that a call which leaks it shows in the heap.
const std::string kHeaders =
    "Received: from a by b; Tue, 01 Jan 2002 10:01:30 +0300\r\n"
    "Received: from c\r\n\tby d; Tue, 01 Jan 2002 10:00:00 +0300\r\n"
    "X-Filler: " +
    std::string(4000, 'f') +
    "\r\n"
    "Date: Tue, 01 Jan 2002 09:59:00 +0300\r\n"
    "Content-Type: text/plain; charset=\"ISO-8859-1\"\r\n"
    "X-Mailer: Example Mail 2.0\r\n";

// Macros whose calls between them use every provider operation the plug-in
// calls: both lifetime operations, both kinds of fetch on both providers,
// the integer fetch, and the store, early and final.
const MacroCall kMacros[] = {
    {"KORMAILER", {}, {}, kHeaders, ""},
    {"KORDELIVERYTIME", {"s", "", "h"}, {}, kHeaders, ""},
    {"KORDELIVERYTODATE", {}, {}, kHeaders, ""},
    {"KORKILLCITE", {"> a\r\nb\r\n>> c", "x"}, {{1, 2}}, "", ""},
    {"KORCITE", {"", "[...]"}, {{2, 1}}, "", "one\r\ntwo\r\nthree"},
    {"KORCUTHERE", {}, {}, "", ""},
};

struct LoggedCall {
  bool message_provider;
  Operation operation;
  int32_t item;
  bool operator==(const LoggedCall&) const = default;
};

std::vector<LoggedCall> Calls(const CallLog& log, const Providers& providers) {
  std::vector<LoggedCall> calls;
  for (const ProviderCall& call : log.calls) {
    calls.push_back({call.provider == &providers.message, call.operation, call.item});
  }
  return calls;
}

TEST(HostErrorTest, EveryProviderCallCanFailAndThePluginCleansUp) {
  const uint16_t original_word = X87ControlWord();
  // 53-bit precision: the host's word must come back on the error path too.
  const uint16_t host_word = WithPrecision53(original_word);
  for (const MacroCall& macro : kMacros) {
    CallLog clean_log;
    Providers clean(macro, &clean_log);
    const CallOutcome clean_outcome = ExecUnwinding(macro.name, &clean.message, &clean.parameters);
    ASSERT_FALSE(clean_outcome.raised) << macro.name << ": " << clean_outcome.message;
    const std::vector<LoggedCall> clean_calls = Calls(clean_log, clean);

    for (size_t position = 0; position < clean_calls.size(); ++position) {
      SCOPED_TRACE(macro.name + ", provider call " + std::to_string(position));
      CallLog log;
      log.raise_at = position;
      log.raise_flags = position % 2 == 0 ? 0 : EXCEPTION_NONCONTINUABLE;
      Providers providers(macro, &log);
      SetX87ControlWord(host_word);
      const CallOutcome outcome =
          ExecUnwinding(macro.name, &providers.message, &providers.parameters);
      const uint16_t word_after = X87ControlWord();
      SetX87ControlWord(original_word);

      ASSERT_TRUE(outcome.raised);
      EXPECT_EQ(outcome.code, kHostErrorCode);
      EXPECT_EQ(outcome.flags, log.raise_flags);
      EXPECT_EQ(outcome.arguments,
                (std::vector<ULONG_PTR>{position, kHostErrorMarks[0], kHostErrorMarks[1]}));
      EXPECT_EQ(word_after, host_word);
      EXPECT_EQ(providers.message.references, 1);
      EXPECT_EQ(providers.parameters.references, 1);
      EXPECT_EQ(providers.message.stack_faults + providers.parameters.stack_faults, 0);

      // The calls up to the failing one are the clean run's; after it the
      // plug-in only releases what it holds.
      const std::vector<LoggedCall> calls = Calls(log, providers);
      ASSERT_GT(calls.size(), position);
      EXPECT_TRUE(std::equal(calls.begin(), calls.begin() + static_cast<ptrdiff_t>(position) + 1,
                             clean_calls.begin()));
      for (size_t later = position + 1; later < calls.size(); ++later) {
        EXPECT_EQ(calls[later].operation, Operation::kRelease) << "call " << later;
      }
      // Stores made before the failure stay; none is made after it.
      size_t stores_before = 0;
      for (size_t i = 0; i < position; ++i) {
        if (clean_calls[i].operation == Operation::kStoreItem) ++stores_before;
      }
      EXPECT_EQ(providers.message.stored,
                std::vector<std::string>(
                    clean.message.stored.begin(),
                    clean.message.stored.begin() + static_cast<ptrdiff_t>(stores_before)));
    }

    // The host goes on working: the same call again gives the clean result.
    Providers again(macro);
    const CallOutcome outcome = ExecUnwinding(macro.name, &again.message, &again.parameters);
    EXPECT_FALSE(outcome.raised) << macro.name;
    EXPECT_EQ(again.message.stored, clean.message.stored) << macro.name;
  }
}

// Continues the second sighting of the host's error: the plug-in raising it
// again, after the host's own raise passed on to the plug-in's handler.
LONG WINAPI ContinueTheRaiseAgain(EXCEPTION_POINTERS* exception) {
  static int sightings = 0;
  if (exception->ExceptionRecord->ExceptionCode != kHostErrorCode) {
    return EXCEPTION_CONTINUE_SEARCH;
  }
  return ++sightings % 2 == 0 ? EXCEPTION_CONTINUE_EXECUTION : EXCEPTION_CONTINUE_SEARCH;
}

// A host that continues a continuable error gets the call back as finished,
// with nothing stored after the failure.
TEST(HostErrorTest, AContinuedErrorEndsTheCall) {
  const MacroCall& macro = kMacros[0];
  // The header block's length query raises, continuably.
  CallLog clean_log;
  Providers clean(macro, &clean_log);
  ExecUnwinding(macro.name, &clean.message, &clean.parameters);
  const auto query = std::find_if(clean_log.calls.begin(), clean_log.calls.end(), [](auto& call) {
    return call.operation == Operation::kFetchLength && call.item == 243;
  });
  ASSERT_NE(query, clean_log.calls.end());
  CallLog log;
  log.raise_at = static_cast<size_t>(query - clean_log.calls.begin());

  Providers providers(macro, &log);
  void* handler = AddVectoredExceptionHandler(1, ContinueTheRaiseAgain);
  const CallOutcome outcome = ExecUnwinding(macro.name, &providers.message, &providers.parameters);
  RemoveVectoredExceptionHandler(handler);
  EXPECT_FALSE(outcome.raised);
  EXPECT_EQ(outcome.result, 123257);
  EXPECT_TRUE(providers.message.stored.empty());
  EXPECT_EQ(providers.message.references, 1);
  EXPECT_EQ(providers.parameters.references, 1);
}

// Bytes in use in every heap of the process.
size_t BusyHeapBytes() {
  std::vector<HANDLE> heaps(GetProcessHeaps(0, nullptr));
  heaps.resize(GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()));
  size_t busy = 0;
  for (HANDLE heap : heaps) {
    if (!HeapLock(heap)) continue;
    PROCESS_HEAP_ENTRY entry{};
    while (HeapWalk(heap, &entry)) {
      if ((entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) != 0) busy += entry.cbData;
    }
    HeapUnlock(heap);
  }
  return busy;
}

TEST(HostErrorTest, TenThousandFailingCallsLeaveTheHeapAsItWas) {
  // Every failing position of every macro in turn.
  std::vector<std::pair<const MacroCall*, size_t>> failures;
  for (const MacroCall& macro : kMacros) {
    CallLog log;
    Providers providers(macro, &log);
    ExecUnwinding(macro.name, &providers.message, &providers.parameters);
    for (size_t position = 0; position < log.calls.size(); ++position) {
      failures.emplace_back(&macro, position);
    }
  }
  int unbalanced = 0;
  const auto fail = [&](int calls) {
    for (int i = 0; i < calls; ++i) {
      const auto& [macro, position] = failures[static_cast<size_t>(i) % failures.size()];
      CallLog log;
      log.raise_at = position;
      Providers providers(*macro, &log);
      const CallOutcome outcome =
          ExecUnwinding(macro->name, &providers.message, &providers.parameters);
      if (!outcome.raised || outcome.code != kHostErrorCode || providers.message.references != 1 ||
          providers.parameters.references != 1) {
        ++unbalanced;
      }
    }
  };
  fail(static_cast<int>(failures.size()));
  const size_t before = BusyHeapBytes();
  fail(10000);
  const size_t after = BusyHeapBytes();
  std::cout << "heap in use before and after 10,000 failing calls: " << before << " and " << after
            << " bytes\n";
  EXPECT_EQ(unbalanced, 0);
  EXPECT_LT(after, before + 64 * 1024);
}

}  // namespace
}  // namespace host
