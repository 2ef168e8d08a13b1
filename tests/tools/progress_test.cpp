#include "tools/output/progress.h"

#include <gtest/gtest.h>

#include <string>

namespace lintrel::cli {
namespace {

TEST(ProgressTest, TimeLeftReadsAsMinutesOrHours) {
  struct Case {
    int64_t seconds;
    std::string text;
  };
  const Case cases[] = {
      {0, "0:00"},       {9, "0:09"},       {59, "0:59"},          {61, "1:01"}, {3599, "59:59"},
      {3600, "1:00:00"}, {3723, "1:02:03"}, {360000, "100:00:00"}, {-5, "0:00"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatDuration(c.seconds), c.text) << c.seconds;
}

}  // namespace
}  // namespace lintrel::cli
