// The checks that every call across the boundary goes through on i686 must
// see a calling-convention mismatch, or they would pass whatever the DLL
// did: a function that leaves its arguments on the stack, called as the
// entry points are, and a provider slot that does, called by the DLL.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "plugin_library.h"

namespace host {
namespace {

#if defined(__i386__)
int32_t __cdecl LeavesItsArguments(char*, int32_t length) {
  return length;
}

int32_t __stdcall RemovesItsArguments(char*, int32_t length) {
  return length;
}

TEST(BoundaryTest, TheEntryPointCheckSeesAnUnbalancedStack) {
  const Plugin::HandOver balanced("balanced", RemovesItsArguments);
  EXPECT_EQ(balanced(nullptr, 7), 7);
  const Plugin::HandOver unbalanced("unbalanced", reinterpret_cast<Plugin::HandOver::Address>(
                                                      reinterpret_cast<void*>(LeavesItsArguments)));
  EXPECT_NONFATAL_FAILURE(unbalanced(nullptr, 7), "unbalanced moved the caller's stack pointer");
}

TEST(BoundaryTest, TheProviderCheckSeesASlotThatLeavesItsArguments) {
  HostProvider message, parameters;
  parameters.items = {{0, "> a\r\nb"}, {1, "x"}};
  parameters.integers[1] = 1;
  UseSlotThatLeavesItsArguments(parameters);
  const CallOutcome outcome = ExecUnwinding("KORKILLCITE", &message, &parameters);
  EXPECT_FALSE(outcome.raised);
  ASSERT_EQ(message.stored.size(), 1u);
  EXPECT_EQ(message.stored[0], "b\r\n");
  // The thunk counted the slot and still returned the DLL's stack whole.
  EXPECT_EQ(parameters.stack_faults, 1);
  EXPECT_EQ(message.stack_faults, 0);
}
#endif

}  // namespace
}  // namespace host
