// The quote and link macros through the dispatcher. One provider stands for
// both the message and the parameters, so its log shows every fetch of the
// call in order.
#include <gtest/gtest.h>

#include "plugin/fake_provider.h"

namespace lintrel {
namespace {

using testing::FakeProvider;
using Calls = std::vector<std::string>;

// The two calls with which a text item is fetched.
Calls TextFetch(int32_t item, size_t length) {
  const std::string n = std::to_string(item);
  return {"FetchItem " + n + " null -1",
          "FetchItem " + n + (length == 0 ? " null 0" : " buffer " + std::to_string(length))};
}

Calls Join(std::initializer_list<Calls> parts) {
  Calls all;
  for (const Calls& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

struct Case {
  std::string name;
  std::map<int32_t, Text> items;
  std::map<int32_t, int32_t> integers;
  Text result;
  Calls fetches;
};

void RunCases(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    FakeProvider provider;
    provider.items = c.items;
    provider.integers = c.integers;
    EXPECT_EQ(testing::RunMacro(c.name, provider, provider), c.result) << c.name;
    EXPECT_EQ(provider.Fetches(), c.fetches) << c.name;
  }
}

const Text kBody = "a\r\nb\r\nc\r\nd";

TEST(BodyMacrosTest, CiteTakesParameterZeroOrTheBodyThenInsertAndCount) {
  RunCases({
      {"KORCITE",
       {{0, "1\n2\n3"}, {1, "..."}, {241, kBody}},
       {{2, 2}},
       "1\r\n...\r\n3\r\n",
       Join({TextFetch(0, 5), TextFetch(1, 3), {"FetchInteger 2"}})},
      {"korcite",
       {{1, "..."}, {241, kBody}},
       {{2, 3}},
       "a\r\n...\r\nc\r\nd\r\n",
       Join({TextFetch(0, 0), TextFetch(241, 10), TextFetch(1, 3), {"FetchInteger 2"}})},
      {"KorCite",
       {{241, kBody}},
       {},
       "",
       Join({TextFetch(0, 0), TextFetch(241, 10), TextFetch(1, 0), {"FetchInteger 2"}})},
  });
}

TEST(BodyMacrosTest, KillCiteReadsTheDepthThenFallsBackToTwoWithoutParameterOne) {
  const Text quoted = "> a\r\n>> b\r\nc";
  const Calls fetches = Join({TextFetch(0, 12), {"FetchInteger 1"}, TextFetch(1, 1)});
  const Calls default_fetches = Join({TextFetch(0, 12), {"FetchInteger 1"}, TextFetch(1, 0)});
  RunCases({
      {"KORKILLCITE", {{0, quoted}, {1, "1"}}, {{1, 1}}, "c\r\n", fetches},
      {"KORKILLCITE", {{0, quoted}}, {{1, 1}}, "> a\r\nc\r\n", default_fetches},
      {"KORKILLCITE", {{0, quoted}}, {{1, -4}}, "> a\r\nc\r\n", default_fetches},
      {"KORKILLCITE", {{0, quoted}, {1, "0"}}, {{1, 0}}, quoted, fetches},
      {"KORKILLCITE", {{0, quoted}, {1, "x"}}, {{1, -4}}, quoted, fetches},
      {"KORKILLCITE", {{0, quoted}, {1, "9"}}, {{1, 3}}, "> a\r\n>> b\r\nc\r\n", fetches},
      {"korkillcite",
       {{241, quoted}},
       {},
       "",
       Join({TextFetch(0, 0), {"FetchInteger 1"}, TextFetch(1, 0)})},
  });
}

TEST(BodyMacrosTest, LinkMacrosTakeParameterZero) {
  const Text page = "see http://a/b?c and ftp://d";
  RunCases({
      {"KORGETLINKS",
       {{0, page}, {241, "http://body"}},
       {},
       "http://a/b\r\nftp://d",
       TextFetch(0, 28)},
      {"korgetlinks",
       {{241, "http://body"}},
       {},
       "http://body",
       Join({TextFetch(0, 0), TextFetch(241, 11)})},
      {"KORGETLINKS", {}, {}, "", Join({TextFetch(0, 0), TextFetch(241, 0)})},
      {"KORMKLINK", {{0, "a b/\xe9"}, {241, "body"}}, {}, "a%20b%2F%E9", TextFetch(0, 5)},
      {"kormklink", {{241, "body"}}, {}, "", TextFetch(0, 0)},
  });
}

}  // namespace
}  // namespace lintrel
