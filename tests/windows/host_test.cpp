// The plug-in as the e-mail client sees it: entry points resolved by name,
// texts handed over through host buffers, macros run against the host's own
// providers, errors arriving as structured exceptions.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "plugin_library.h"

namespace host {
namespace {

const std::string kMacroList =
    "KOR_LN_VER\r\nKORDELIVERYTIME\r\nKORDELIVERYFROMDATE\r\nKORDELIVERYTODATE\r\n"
    "KORCHARSET\r\nKORMAILER\r\nKORREPLYTIME\r\nKORGETLINKS\r\nKORCUTHERE\r\n"
    "KORKILLCITE\r\nKORMKLINK\r\nKORCITE\r\nKORGETHEADER\r\n";

struct HandOverEntry {
  const char* name;
  Plugin::HandOver Plugin::*entry;
};
const HandOverEntry kHandOvers[] = {{"TBP_GetName", &Plugin::get_name},
                                    {"TBP_GetVersion", &Plugin::get_version},
                                    {"TBP_GetInfo", &Plugin::get_info},
                                    {"TBP_GetMacroList", &Plugin::get_macro_list}};

std::string WholeText(Plugin::HandOver entry) {
  std::string text(entry(nullptr, -1), '\0');
  EXPECT_EQ(entry(text.data(), static_cast<int32_t>(text.size())),
            static_cast<int32_t>(text.size()));
  return text;
}

TEST(ExportsTest, EveryEntryPointResolvesByItsPlainName) {
  const Plugin& plugin = LoadedPlugin();
  for (const char* name :
       {"TBP_GetName", "TBP_GetVersion", "TBP_GetInfo", "TBP_GetMacroList", "TBP_NeedConfig",
        "TBP_NeedCOM", "TBP_GetStatus", "TBP_Initialize", "TBP_Finalize", "TBP_ExecMacro"}) {
    EXPECT_NE(GetProcAddress(plugin.module, name), nullptr) << name;
  }
  EXPECT_EQ(plugin.need_config(), 0);
  EXPECT_EQ(plugin.need_com(), 1);
  EXPECT_EQ(plugin.get_status(), 0);
  plugin.initialize();
  plugin.finalize();
}

TEST(ExportsTest, IdentityTexts) {
  const Plugin& plugin = LoadedPlugin();
  EXPECT_EQ(WholeText(plugin.get_name), "K.O.R.: Lintrel");
  EXPECT_EQ(WholeText(plugin.get_version), "1.0.292");
  EXPECT_EQ(WholeText(plugin.get_macro_list), kMacroList);
  EXPECT_EQ(plugin.get_macro_list(nullptr, 0), 178);
  const std::string info = WholeText(plugin.get_info);
  EXPECT_EQ(info.rfind("K.O.R.: Lintrel ver. 1.0.292 ", 0), 0u) << info;
  EXPECT_NE(info.find("\r\nBuild date: 292\r\n"), std::string::npos) << info;
  EXPECT_NE(info.substr(info.size() - 2), "\r\n");
}

TEST(HandOverTest, BufferLengths) {
  for (const HandOverEntry& handover : kHandOvers) {
    const Plugin::HandOver entry = LoadedPlugin().*handover.entry;
    const std::string text = WholeText(entry);
    const auto size = static_cast<int32_t>(text.size());
    EXPECT_EQ(entry(nullptr, 5), size) << handover.name;
    char buffer[512];
    for (int32_t length : {-1, -100, 0, 3, size - 1, size, size + 1, 500}) {
      std::memset(buffer, '#', sizeof buffer);
      const int32_t expected = length < 0 ? size : std::min(length, size);
      EXPECT_EQ(entry(buffer, length), expected) << handover.name << " " << length;
      const int32_t written = length < 0 ? 0 : expected;
      EXPECT_EQ(std::string(buffer, written), text.substr(0, written)) << handover.name;
      // Not a byte more, not even a terminating NUL.
      EXPECT_EQ(buffer[written], '#') << handover.name << " " << length;
    }
  }
}

TEST(HandOverTest, UnwritableBufferAnswersZero) {
  SYSTEM_INFO system;
  GetSystemInfo(&system);
  const DWORD page = system.dwPageSize;
  auto* pages = static_cast<char*>(VirtualAlloc(nullptr, 3 * page, MEM_COMMIT, PAGE_READWRITE));
  ASSERT_NE(pages, nullptr);
  DWORD old;
  ASSERT_TRUE(VirtualProtect(pages + page, page, PAGE_NOACCESS, &old));
  ASSERT_TRUE(VirtualProtect(pages + 2 * page, page, PAGE_READONLY, &old));
  for (const HandOverEntry& handover : kHandOvers) {
    std::memset(pages, '#', page);
    const Plugin::HandOver entry = LoadedPlugin().*handover.entry;
    EXPECT_EQ(entry(pages + page, 100), 0) << handover.name;
    EXPECT_EQ(entry(pages + 2 * page, 100), 0) << handover.name;
    // A buffer that runs from a writable page into an unwritable one is
    // refused whole: nothing is written.
    EXPECT_EQ(entry(pages + page - 3, 100), 0) << handover.name;
    EXPECT_EQ(std::string(pages + page - 3, 3), "###") << handover.name;
    EXPECT_EQ(entry(pages + page - 3, 3), 3) << handover.name;
  }
  VirtualFree(pages, 0, MEM_RELEASE);
  // Never mapped at all.
  EXPECT_EQ(LoadedPlugin().get_version(reinterpret_cast<char*>(page), 7), 0);
}

TEST(ExecMacroTest, ConstantMacrosAndUnknownNames) {
  struct Case {
    std::string name;
    std::vector<std::string> stored;
  };
  const Case cases[] = {
      {"KOR_LN_VER", {"Korvale: Lintrel ver.1.0.292"}},
      {"kor_ln_ver", {"Korvale: Lintrel ver.1.0.292"}},
      {"KorCutHere", {"\r\n-- ", "\r\n-- "}},
      {"KORDELIVERYFROMDATE", {"Bad result KORDELIVERYFROMDATE"}},
      {"korcite ", {"Bad result KORCITE "}},
      {"", {"Bad result "}},
  };
  for (const Case& c : cases) {
    Providers providers({});
    const CallOutcome outcome = ExecOnWorker(c.name, &providers.message, &providers.parameters);
    EXPECT_FALSE(outcome.raised) << c.name << ": " << outcome.message;
    EXPECT_EQ(outcome.result, 123257) << c.name;
    EXPECT_EQ(providers.message.stored, c.stored) << c.name;
    EXPECT_EQ(providers.message.references, 1) << c.name;
    EXPECT_EQ(providers.parameters.references, 1) << c.name;
    EXPECT_EQ(providers.message.unused_calls + providers.parameters.unused_calls, 0);
  }
}

TEST(ExecMacroTest, UnsafeArgumentsAreReadSafely) {
  const Plugin& plugin = LoadedPlugin();
  Providers providers({});
  // A null name with a positive length is an empty name.
  EXPECT_EQ(plugin.exec_macro(nullptr, 10, &providers.message, &providers.parameters), 123257);
  EXPECT_EQ(plugin.exec_macro("KOR_LN_VER", -3, &providers.message, &providers.parameters), 123257);
  EXPECT_EQ(providers.message.stored, (std::vector<std::string>{"Bad result ", "Bad result "}));
  // Without providers nothing can be fetched or stored, and the call still
  // answers.
  EXPECT_EQ(plugin.exec_macro("KORCUTHERE", 10, nullptr, nullptr), 123257);
  EXPECT_EQ(plugin.exec_macro("KORMAILER", 9, nullptr, nullptr), 123257);
  EXPECT_EQ(providers.message.references, 1);
}

TEST(ExecMacroTest, AnImpossibleItemLengthRaisesOutOfMemoryToTheHost) {
  // Each macro's first fetch meets a provider that claims the item is 2 GiB:
  // a parameter for some, the header block or the body for the others.
  struct Case {
    std::string name;
    bool parameters_lie;
  };
  const Case cases[] = {
      {"KORMAILER", true},     {"KORGETLINKS", true},        {"KORCITE", true},
      {"KORMKLINK", true},     {"KORKILLCITE", true},        {"KORDELIVERYTIME", true},
      {"KORREPLYTIME", true},  {"KORDELIVERYTODATE", false}, {"KORCHARSET", false},
      {"KORGETHEADER", false},
  };
  for (const Case& c : cases) {
    Providers providers({});
    (c.parameters_lie ? providers.parameters : providers.message).reported_length = 0x7FFFFFFF;
    const CallOutcome outcome = ExecOnWorker(c.name, &providers.message, &providers.parameters);
    ASSERT_TRUE(outcome.raised) << c.name;
    EXPECT_EQ(outcome.code, 0xE04C4E54u);
    EXPECT_EQ(outcome.flags & EXCEPTION_NONCONTINUABLE, EXCEPTION_NONCONTINUABLE);
    EXPECT_EQ(outcome.message, "Out of memory") << c.name;
    ASSERT_EQ(outcome.arguments.size(), 2u);
    EXPECT_EQ(outcome.arguments[1], 13u);
    EXPECT_TRUE(providers.message.stored.empty()) << c.name;
    EXPECT_EQ(providers.message.references, 1) << c.name;
    EXPECT_EQ(providers.parameters.references, 1) << c.name;
  }
}

}  // namespace
}  // namespace host
