#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "plugin/dispatcher.h"
#include "plugin/fake_provider.h"
#include "text/errors.h"
#include "text/regional_settings.h"

namespace lintrel {
namespace {

using testing::FakeProvider;
using testing::RunMacro;

Text DeliveryDate(const Text& headers, const Text& fallback,
                  const MacroEnvironment& environment = {}) {
  FakeProvider message, parameters;
  message.items[kItemHeaders] = headers;
  parameters.items[0] = fallback;
  return RunMacro("KORDELIVERYTODATE", message, parameters, environment);
}

TEST(DeliveryDateMacroTest, RendersTheTopmostReceivedDateOrTheFallback) {
  struct Case {
    Text headers;
    Text fallback;
    Text expected;
  };
  const std::vector<Case> cases = {
      {"Received: from b by c; Tue, 1 Jan 2002 18:00:00 +0000\r\n"
       "Received: from a by b; Mon, 31 Dec 2001 23:00:00 +0000\r\n",
       "", "1/1/02 6:00:00 pm"},
      // The value is in UTC; the zone of the field is taken out.
      {"Received: from b by c; Tue, 1 Jan 2002 20:30:00 +0230\r\n", "", "1/1/02 6:00:00 pm"},
      {"Received: from b by c; Tue, 1 Jan 2002 00:00:00 +0000\r\n", "", "1/1/02"},
      {"Received: from a\r\n by b; Tue, 1 Jan 2002 18:00:00 +0000\r\n", "", "1/1/02 6:00:00 pm"},
      {"Received: from b by c; 1 Jan 2002 18:00:00 EST\r\n", "", "1/1/02 11:00:00 pm"},
      {"Received: from b by c; Tue, 31 Apr 2002 10:00:00 +0000\r\n", "", "n/a"},
      // Before 30 December 1899 the day and its time still show as written.
      {"Received: x; Mon, 01 Jan 1001 10:00:00 GMT\r\n", "", "1/1/01 10:00:00 am"},
      {"Received: x; 29 Dec 1899 18:00:00 GMT\r\n", "", "12/29/99 6:00:00 pm"},
      {"Received: x; 30 Dec 1899 02:00:00 +0300\r\n", "", "12/29/99 11:00:00 pm"},
      {"Received: x; 29 Dec 1899 23:59:59 +0000\r\n", "", "12/29/99 11:59:59 pm"},
      {"Received: from b by c; Tue, 31 Apr 2002 10:00:00 +0000\r\n", "none", "none"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DeliveryDate(c.headers, c.fallback), c.expected) << c.headers;
  }
}

TEST(DeliveryDateMacroTest, UsesTheSettingsOfTheEnvironment) {
  RegionalSettings german;
  german.short_date_format = "dd.MM.yyyy";
  german.date_separator = '.';
  german.long_time_format = "hh:mm:ss";
  MacroEnvironment environment;
  environment.settings = &german;
  EXPECT_EQ(DeliveryDate("Received: x; Tue, 1 Jan 2002 10:05:03 +0000\r\n", "", environment),
            "01.01.2002 10:05:03");
}

TEST(DeliveryDateMacroTest, AMissingReceivedFieldRaisesAndStoresNothing) {
  FakeProvider message, parameters;
  message.items[kItemHeaders] = "From: a\r\nDate: Tue, 1 Jan 2002 18:00:00 +0000\r\n";
  EXPECT_THAT([&] { ExecMacro("kordeliverytodate", &message, &parameters, {}); },
              ::testing::ThrowsMessage<EStringListError>("List index out of bounds (0)"));
  EXPECT_TRUE(message.stored.empty());
  EXPECT_EQ(message.references, 0);
  EXPECT_EQ(parameters.references, 0);
  EXPECT_EQ(message.Fetches(),
            (std::vector<std::string>{"FetchItem 243 null -1", "FetchItem 243 buffer 47"}));
  EXPECT_EQ(parameters.Fetches(),
            (std::vector<std::string>{"FetchItem 0 null -1", "FetchItem 0 null 0"}));
}

}  // namespace
}  // namespace lintrel
