#include "plugin/handover.h"

#include <gtest/gtest.h>

#include <cstring>

#include "plugin/identity.h"

namespace lintrel {
namespace {

TEST(HandOverTextTest, CopiesAtMostTheBufferAndNoTerminator) {
  struct Case {
    int32_t length;
    int32_t answer;
    std::string written;
  };
  const Case cases[] = {
      {-1, 7, ""},   {INT32_MIN, 7, ""}, {0, 0, ""},
      {3, 3, "1.0"}, {7, 7, "1.0.292"},  {100, 7, "1.0.292"},
  };
  for (const Case& c : cases) {
    char buffer[128];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(HandOverText(kVersion, buffer, c.length), c.answer) << c.length;
    EXPECT_EQ(std::string(buffer, c.written.size()), c.written) << c.length;
    EXPECT_EQ(buffer[c.written.size()], '#') << c.length;
  }
  EXPECT_EQ(HandOverText(kVersion, nullptr, 100), 7);
  EXPECT_EQ(HandOverText(kMacroList, nullptr, -1), 178);
}

}  // namespace
}  // namespace lintrel
