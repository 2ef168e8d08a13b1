#include "plugin/dispatcher.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "plugin/fake_provider.h"
#include "text/errors.h"

namespace lintrel {
namespace {

using testing::FakeProvider;
using testing::ProviderFailure;
using testing::RunMacro;
using Calls = std::vector<std::string>;

TEST(DispatcherTest, NamesAreUpperCasedAndMatchedExactly) {
  struct Case {
    std::string name;
    std::string result;
  };
  const Case cases[] = {
      {"KOR_LN_VER", "Korvale: Lintrel ver.1.0.292"},
      {"kor_ln_ver", "Korvale: Lintrel ver.1.0.292"},
      {"Kor_Ln_Ver", "Korvale: Lintrel ver.1.0.292"},
      {"KOR_LN_VER ", "Bad result KOR_LN_VER "},
      {" kor_ln_ver", "Bad result  KOR_LN_VER"},
      {"", "Bad result "},
      {"korDeliveryFromDate", "Bad result KORDELIVERYFROMDATE"},
      {"nothing\xe4", "Bad result NOTHING\xe4"},
      {std::string("KOR_LN_VER\0x", 12), std::string("Bad result KOR_LN_VER\0X", 23)},
  };
  for (const Case& c : cases) {
    FakeProvider message, parameters;
    EXPECT_EQ(RunMacro(c.name, message, parameters), c.result) << c.name;
    EXPECT_EQ(message.stored.size(), 1u) << c.name;
  }
}

TEST(DispatcherTest, VersionBannerTakesReferencesFetchesNothingAndStoresOnce) {
  FakeProvider message, parameters;
  EXPECT_EQ(ExecMacro("KOR_LN_VER", &message, &parameters, {}), 123257);
  EXPECT_EQ(message.calls, (Calls{"AddRef", "StoreItem 123257", "Release"}));
  EXPECT_EQ(parameters.calls, (Calls{"AddRef", "Release"}));
}

TEST(DispatcherTest, SignatureSeparatorIsStoredTwice) {
  FakeProvider message, parameters;
  EXPECT_EQ(ExecMacro("korcuthere", &message, &parameters, {}), 123257);
  EXPECT_EQ(message.stored, (std::vector<Text>{"\r\n-- ", "\r\n-- "}));
  EXPECT_EQ(message.calls, (Calls{"AddRef", "StoreItem 123257", "StoreItem 123257", "Release"}));
}

TEST(DispatcherTest, NullProvidersAreSkipped) {
  EXPECT_EQ(ExecMacro("KORCUTHERE", nullptr, nullptr, {}), 123257);
  EXPECT_EQ(ExecMacro("UNKNOWN", nullptr, nullptr, {}), 123257);
  EXPECT_EQ(FetchText(nullptr, 243), "");
  EXPECT_EQ(FetchInteger(nullptr, 1), 0);
}

// A host's error in any of its operations leaves the call with every
// reference given back; the failing provider is only released after it.
TEST(DispatcherTest, ProviderErrorsLeaveTheReferencesBalanced) {
  for (std::string_view name : {"KORMAILER", "KORKILLCITE", "KORCUTHERE"}) {
    FakeProvider message, parameters;
    ExecMacro(name, &message, &parameters, {});
    const size_t message_calls = message.calls.size();
    const size_t parameter_calls = parameters.calls.size();
    for (size_t i = 0; i < message_calls + parameter_calls; ++i) {
      FakeProvider failing_message, failing_parameters;
      FakeProvider& failing = i < message_calls ? failing_message : failing_parameters;
      failing.fail_at = i < message_calls ? i : i - message_calls;
      EXPECT_THROW(ExecMacro(name, &failing_message, &failing_parameters, {}), ProviderFailure)
          << name << " " << i;
      EXPECT_EQ(failing_message.references, 0) << name << " " << i;
      EXPECT_EQ(failing_parameters.references, 0) << name << " " << i;
      const std::vector<std::string>& calls = failing.calls;
      ASSERT_GT(calls.size(), *failing.fail_at) << name << " " << i;
      for (size_t later = *failing.fail_at + 1; later < calls.size(); ++later) {
        EXPECT_EQ(calls[later], "Release") << name << " " << i;
      }
    }
  }
}

// What a host is told for each kind of error that can leave a macro.
TEST(DispatcherTest, EachKindOfErrorHasItsMessage) {
  const std::vector<std::pair<std::function<void()>, std::string>> cases = {
      {[] { throw InvalidIntegerError("x1"); }, "'x1' is not a valid integer value"},
      {[] { throw std::bad_alloc(); }, "Out of memory"},
      {[] { throw std::runtime_error("standard"); }, "standard"},
      {[] { throw 7; }, "Unknown error"},
  };
  for (const auto& [raise, message] : cases) {
    try {
      raise();
      ADD_FAILURE() << message << " was not raised";
    } catch (...) {
      EXPECT_EQ(CurrentErrorMessage(), message);
    }
  }
}

TEST(FetchTextTest, AsksForTheLengthThenTheBytes) {
  struct Case {
    std::string item;
    std::optional<int32_t> reported;
    std::string text;
    Calls calls;
  };
  const Case cases[] = {
      {std::string("ab\0cd", 5), {}, "ab", {"FetchItem 7 null -1", "FetchItem 7 buffer 5"}},
      {"abc", {}, "abc", {"FetchItem 7 null -1", "FetchItem 7 buffer 3"}},
      {"", {}, "", {"FetchItem 7 null -1", "FetchItem 7 null 0"}},
      {"abc", -4, "", {"FetchItem 7 null -1", "FetchItem 7 null -4"}},
      {"abc", 2, "ab", {"FetchItem 7 null -1", "FetchItem 7 buffer 2"}},
  };
  for (const Case& c : cases) {
    FakeProvider provider;
    provider.items[7] = c.item;
    provider.reported_length = c.reported;
    EXPECT_EQ(FetchText(&provider, 7), c.text);
    EXPECT_EQ(provider.Fetches(), c.calls);
    EXPECT_EQ(provider.references, 0);
    EXPECT_EQ(provider.calls.front(), "AddRef");
    EXPECT_EQ(provider.calls.back(), "Release");
  }
}

// The room is storage beyond the text; a room that no storage could hold
// is not asked for, and the text is fetched all the same.
TEST(FetchTextTest, LeavesTheRoomAskedFor) {
  const std::string item("abc\0de", 6);
  for (const size_t room : {size_t{0}, size_t{1}, size_t{2}, SIZE_MAX / 4, SIZE_MAX}) {
    FakeProvider provider;
    provider.items[7] = item;
    const Text text = FetchText(&provider, 7, room);
    EXPECT_EQ(text, "abc") << "room " << room;
    if (room <= 2) {
      EXPECT_GE(text.capacity(), item.size() * (room + 1)) << "room " << room;
    }
    EXPECT_EQ(provider.Fetches(), (Calls{"FetchItem 7 null -1", "FetchItem 7 buffer 6"}));
  }
}

// The limit itself is an item's length like any other: it is fetched.
TEST(FetchTextTest, TheLargestLengthIsFetched) {
  FakeProvider provider;
  provider.reported_length = kMaxItemLength;
  provider.items[243] = "abc";
  EXPECT_EQ(FetchText(&provider, 243), "abc");
  EXPECT_EQ(provider.Fetches(), (Calls{"FetchItem 243 null -1",
                                       "FetchItem 243 buffer " + std::to_string(kMaxItemLength)}));
}

TEST(FetchTextTest, AnImpossibleLengthIsOutOfMemory) {
  for (int32_t length : {INT32_MAX, kMaxItemLength + 1}) {
    FakeProvider provider;
    provider.reported_length = length;
    EXPECT_THAT([&] { FetchText(&provider, 243); },
                ::testing::ThrowsMessage<EOutOfMemory>("Out of memory"))
        << "length " << length;
    EXPECT_EQ(provider.references, 0);
  }
}

}  // namespace
}  // namespace lintrel
