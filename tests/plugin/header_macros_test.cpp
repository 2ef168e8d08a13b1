#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "plugin/dispatcher.h"
#include "plugin/fake_provider.h"
#include "text/errors.h"

namespace lintrel {
namespace {

using testing::FakeProvider;
using testing::RunMacro;

constexpr std::string_view kHeaders =
    "Received: from a by b; Tue, 01 Jan 2002 10:01:30 +0300\r\n"
    "Received: from c by d; Tue, 01 Jan 2002 10:00:00 +0300\r\n"
    "Date: Tue, 01 Jan 2002 10:00:00 +0300\r\n"
    "Content-Type: text/plain; charset=\"UTF-8\"; format=flowed\r\n"
    "X-Mailer: Example Mail\r\n"
    "Subject: Hello\r\n";

// Fixed at 1 January 2002 07:02:00.500 UTC, 2 minutes after the Date: field.
MacroEnvironment FixedClock(int* reads = nullptr) {
  return {[reads] {
    if (reads != nullptr) ++*reads;
    return DateTimeParts{2002, 1, 1, 7, 2, 0, 500};
  }};
}

// The items that one provider, used as both providers, was asked for, in
// order, one entry per fetched text.
std::vector<int32_t> FetchedItems(const FakeProvider& provider) {
  std::vector<int32_t> items;
  for (const std::string& call : provider.Fetches()) {
    if (call.ends_with(" null -1")) items.push_back(std::stoi(call.substr(10)));
  }
  return items;
}

TEST(HeaderMacrosTest, ResultsDefaultsAndFetchOrder) {
  struct Case {
    std::string_view name;
    std::vector<Text> parameters;
    std::string_view result;
    std::vector<int32_t> fetched;
    std::string_view headers = kHeaders;
  };
  const Case cases[] = {
      {"KORDELIVERYTIME", {}, "1 m 30 sec", {0, 1, 2, 3, 243}},
      {"KORDELIVERYTIME", {"s", "min", "hr", "days"}, "1 min 30 s", {0, 1, 2, 3, 243}},
      {"KORREPLYTIME", {}, "2 m 0 sec", {0, 1, 2, 3, 243}},
      {"KORREPLYTIME", {"", "minutes"}, "2 minutes 0 sec", {0, 1, 2, 3, 243}},
      {"KORCHARSET", {}, "utf-8", {243}},
      {"KORMAILER", {}, "Example Mail", {0, 243}},
      {"KORMAILER", {}, "<unknown>", {0, 243}, "x-mailer: lower case\r\n"},
      {"KORMAILER", {"none"}, "none", {0, 243}, "x-mailer: lower case\r\n"},
      {"KORGETHEADER", {"Subject"}, "Hello", {243, 0}},
      {"KORGETHEADER", {}, "", {243, 0}},
  };
  for (const Case& c : cases) {
    FakeProvider provider;
    provider.items[243] = c.headers;
    for (size_t i = 0; i < c.parameters.size(); ++i) {
      provider.items[static_cast<int32_t>(i)] = c.parameters[i];
    }
    EXPECT_EQ(RunMacro(c.name, provider, provider, FixedClock()), c.result) << c.name;
    EXPECT_EQ(FetchedItems(provider), c.fetched) << c.name;
  }
}

TEST(HeaderMacrosTest, ReplyTimeReadsTheClockOnceAndStoresTwice) {
  FakeProvider message, parameters;
  message.items[243] = kHeaders;
  int reads = 0;
  EXPECT_EQ(RunMacro("KORREPLYTIME", message, parameters, FixedClock(&reads)), "2 m 0 sec");
  EXPECT_EQ(reads, 1);
  EXPECT_EQ(message.stored, (std::vector<Text>{"2 m 0 sec", "2 m 0 sec"}));
}

TEST(HeaderMacrosTest, ErrorsEndTheCallWithNothingMoreStored) {
  struct Case {
    std::string_view name, headers, message;
  };
  const Case cases[] = {
      {"KORDELIVERYTIME", "Subject: x\r\n", "List index out of bounds (0)"},
      {"KORDELIVERYTIME", "Received: by b; Tue, 31 Apr 2002 10:00:00 GMT",
       "''2002/4/31 10:0:0.0'' is not a valid date and time"},
      {"KORREPLYTIME", "Subject: x\r\n", "List index out of bounds (0)"},
      {"KORREPLYTIME", "Date: Tue, 01 Jan 2002 10:00:00 CET", "'CET' is not a valid integer value"},
      {"KORREPLYTIME", "Date: Tue, 31 Apr 2002 10:00:00 GMT",
       "''2002/4/31 10:0:0.0'' is not a valid date and time"},
  };
  for (const Case& c : cases) {
    FakeProvider message, parameters;
    // A first call that succeeds and stores, then the failing one.
    message.items[243] = kHeaders;
    const Text first = RunMacro(c.name, message, parameters, FixedClock());
    const size_t stores = message.stored.size();
    ASSERT_NE(first, "<call failed>") << c.name;
    message.items[243] = c.headers;
    EXPECT_THAT([&] { ExecMacro(c.name, &message, &parameters, FixedClock()); },
                ::testing::ThrowsMessage<Exception>(std::string(c.message)))
        << c.name << " on " << c.headers;
    EXPECT_EQ(message.stored.size(), stores) << c.name;
    EXPECT_EQ(message.references, 0);
    EXPECT_EQ(parameters.references, 0);
  }
}

}  // namespace
}  // namespace lintrel
