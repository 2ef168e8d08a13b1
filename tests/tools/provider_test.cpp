#include "tools/run/provider.h"

#include <gtest/gtest.h>

#include <string>

#include "plugin/dispatcher.h"

namespace lintrel::cli {
namespace {

TEST(CliProviderTest, AnswersItemsThroughThePluginsFetch) {
  const std::string body("line one\r\nline\0two", 19);
  CliProvider provider;
  provider.SetItem(kItemBody, std::string_view(body));
  provider.SetItem(kItemHeaders, std::string_view("Subject: old"));
  provider.SetItem(kItemHeaders, std::string_view("Subject: new"));
  EXPECT_EQ(provider.FetchItem(kItemBody, nullptr, -1), 19);
  // The plug-in's fetch stops at the byte 0, as it does with the client.
  EXPECT_EQ(FetchText(&provider, kItemBody), "line one\r\nline");
  EXPECT_EQ(FetchText(&provider, kItemHeaders), "Subject: new");
  EXPECT_EQ(FetchText(&provider, 0), "");
  char small[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(provider.FetchItem(kItemBody, small, 3), 3);
  EXPECT_EQ(std::string(small, 4), "linx");
  EXPECT_EQ(provider.FetchItem(kItemBody, small, 0), 0);
  EXPECT_EQ(provider.references(), 0);
}

TEST(CliProviderTest, IntegersAreTheParametersReadAsNumbers) {
  struct Case {
    std::string text;
    int32_t value;
  };
  const Case cases[] = {
      {"12", 12}, {"-3", -3}, {"  7", 7}, {"$1F", 31}, {"0x10", 16},
      {"", 0},    {"12a", 0}, {"a", 0},   {"7 ", 0},   {"99999999999", 0},
  };
  for (const Case& c : cases) {
    CliProvider provider;
    provider.SetItem(2, std::string_view(c.text));
    EXPECT_EQ(provider.FetchInteger(2), c.value) << c.text;
  }
  CliProvider empty;
  EXPECT_EQ(empty.FetchInteger(1), 0);
}

TEST(CliProviderTest, KeepsWhatIsStoredAndBalancesReferences) {
  CliProvider message;
  CliProvider parameters;
  EXPECT_EQ(ExecMacro("korcuthere", &message, &parameters, {}), kItemResult);
  EXPECT_EQ(FetchText(&message, kItemResult), "\r\n-- ");
  EXPECT_EQ(message.TakeStored(kItemResult), Text("\r\n-- "));
  // Taken, the result is gone.
  EXPECT_FALSE(message.TakeStored(kItemResult).has_value());
  EXPECT_EQ(FetchText(&message, kItemResult), "");
  EXPECT_FALSE(parameters.TakeStored(kItemResult).has_value());
  EXPECT_EQ(message.references(), 0);
  EXPECT_EQ(parameters.references(), 0);
  message.StoreItem(kItemResult, "", 0);
  EXPECT_EQ(message.TakeStored(kItemResult), Text());
}

TEST(CliProviderTest, QueryInterfaceKnowsTheProviderAndTheBaseInterface) {
  CliProvider provider;
  void* object = &provider;
  constexpr InterfaceId kOther = {1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
  EXPECT_NE(provider.QueryInterface(kOther, &object), 0);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(provider.QueryInterface(kDataProviderId, &object), 0);
  EXPECT_EQ(object, &provider);
  EXPECT_EQ(provider.references(), 1);
  constexpr InterfaceId kUnknown = {0, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
  EXPECT_EQ(provider.QueryInterface(kUnknown, &object), 0);
  EXPECT_EQ(provider.references(), 2);
}

}  // namespace
}  // namespace lintrel::cli
