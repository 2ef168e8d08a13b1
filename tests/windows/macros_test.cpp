// Every macro with a handler, run through the loaded DLL against the host's
// own providers: results, the early stores, and errors arriving as
// structured exceptions with nothing stored.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "plugin_library.h"
#include "x87_control.h"

namespace host {
namespace {

struct MacroCase : MacroCall {
  std::string result;  // or the error message when `raises`
  bool raises = false;
};

// Runs the case twice: with a host that lets the plug-in's error end a
// worker thread, and with a host that unwinds, as a native one does.
void RunMacroCase(const MacroCase& c) {
  for (const bool unwinding : {false, true}) {
    SCOPED_TRACE(c.name + (unwinding ? ", unwinding host" : ", worker thread"));
    Providers providers(c);
    HostProvider& message = providers.message;
    HostProvider& parameters = providers.parameters;
    const CallOutcome outcome = unwinding ? ExecUnwinding(c.name, &message, &parameters)
                                          : ExecOnWorker(c.name, &message, &parameters);
    if (c.raises) {
      EXPECT_TRUE(outcome.raised);
      EXPECT_EQ(outcome.code, kPluginErrorCode);
      EXPECT_EQ(outcome.flags, static_cast<DWORD>(EXCEPTION_NONCONTINUABLE));
      EXPECT_EQ(outcome.message, c.result);
      ASSERT_EQ(outcome.arguments.size(), 2u);
      EXPECT_EQ(outcome.arguments[1], c.result.size());
      EXPECT_TRUE(message.stored.empty());
    } else {
      EXPECT_FALSE(outcome.raised) << outcome.message;
      EXPECT_EQ(outcome.result, 123257);
      ASSERT_FALSE(message.stored.empty());
      EXPECT_EQ(message.stored.back(), c.result);
    }
    EXPECT_EQ(message.references, 1);
    EXPECT_EQ(parameters.references, 1);
    EXPECT_EQ(message.unused_calls + parameters.unused_calls, 0);
    EXPECT_EQ(message.stack_faults + parameters.stack_faults, 0);
  }
}

const std::string kFiveLines = "a\r\nb\r\nc\r\nd\r\ne";

TEST(MacrosTest, BodyTools) {
  const MacroCase cases[] = {
      {"KORGETLINKS",
       {},
       {},
       "",
       "see http://a.example/x?q=1 and <ftp://b.example/f>.\r\nHTTP://C.example/",
       "http://a.example/x\r\nftp://b.example/f\r\nHTTP://C.example/"},
      {"korgetlinks", {"only https://x.example here"}, {}, "", "http://body.example", ""},
      {"KORMKLINK", {"a b-\xe9/\r\n"}, {}, "", "ignored", "a%20b%2D%E9%2F%0D%0A"},
      {"KORMKLINK", {}, {}, "", "not read", ""},
      {"KORCITE", {kFiveLines, "X"}, {{2, 4}}, "", "", "a\r\nb\r\nX\r\nd\r\ne\r\n"},
      {"KORCITE", {"", "[...]"}, {{2, 1}}, "", "one\nbody\ntext", "[...]\r\ntext\r\n"},
      {"KORCITE", {kFiveLines, "X"}, {{2, 5}}, "", "", kFiveLines},
      {"KORKILLCITE", {"> a\r\n>> b\r\nc", "x"}, {{1, 1}}, "", "", "c\r\n"},
      {"KORKILLCITE", {"> a\r\n>> b\r\nc", ""}, {{1, 1}}, "", "", "> a\r\nc\r\n"},
      {"KORKILLCITE", {"> a\r\n>> b\r\nc", "x"}, {{1, 0}}, "", "", "> a\r\n>> b\r\nc"},
      {"KORKILLCITE",
       {"a\nb\nc\nd\ne\nf\ng\nh\ni\n>>>>", "x"},
       {{1, 0x7FFFFFFF}},
       "",
       "",
       "a\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\nh\r\ni\r\n>>>>\r\n"},
  };
  for (const MacroCase& c : cases) RunMacroCase(c);
}

const std::string kReceived =
    "Received: from a by b; Tue, 01 Jan 2002 10:01:30 +0300\r\n"
    "Received: from c\r\n\tby d; Tue, 01 Jan 2002 10:00:00 +0300\r\n"
    "Date: Tue, 01 Jan 2002 09:59:00 +0300\r\n"
    "Subject: Hello\r\n world\r\n"
    "Content-Type: text/plain; charset=\"ISO-8859-1\"; format=flowed\r\n"
    "X-Mailer: Example Mail 2.0\r\n";

TEST(MacrosTest, HeaderAnalysis) {
  const MacroCase cases[] = {
      {"KORDELIVERYTIME", {}, {}, kReceived, "", "1 m 30 sec"},
      {"KORDELIVERYTIME",
       {"s", "min", "hr", "days"},
       {},
       "Received: x; 02 Jan 2002 01:30:15 +0000\r\nReceived: y; 31 Dec 2001 23:00:00 +0000\r\n",
       "",
       "1 days 2 hr 30 min 15 s"},
      {"KORDELIVERYTIME", {}, {}, "Subject: none\r\n", "", "List index out of bounds (0)", true},
      {"KORDELIVERYTIME",
       {},
       {},
       "Received: a; Tue, 01 Jan 2002 xx:00:00 +0300\r\n",
       "",
       "'xx' is not a valid integer value",
       true},
      {"KORREPLYTIME", {}, {}, "Subject: none\r\n", "", "List index out of bounds (0)", true},
      {"KORCHARSET", {}, {}, kReceived, "", "iso-8859-1"},
      {"KORCHARSET", {}, {}, "Content-Type: TEXT/PLAIN; CHARSET=\xC4-X\r\n", "", "\xE4-x"},
      {"KORCHARSET", {}, {}, "Subject: x\r\n", "", "<unknown>"},
      {"KORMAILER", {}, {}, kReceived, "", "Example Mail 2.0"},
      {"KORMAILER", {}, {}, "x-mailer: lower\r\n", "", "<unknown>"},
      {"KORMAILER", {"none"}, {}, "Subject: x\r\n", "", "none"},
      {"KORGETHEADER", {"Subject"}, {}, kReceived, "", "Hello world"},
      {"KORGETHEADER", {"Subject:"}, {}, kReceived, "", "Hello world"},
      {"KORGETHEADER", {""}, {}, kReceived, "", ""},
  };
  for (const MacroCase& c : cases) RunMacroCase(c);
}

TEST(MacrosTest, DeliveryDate) {
  const MacroCase cases[] = {
      {"KORDELIVERYTODATE", {}, {}, "Received: a; Tue, 31 Apr 2002 10:00:00 +0000\r\n", "", "n/a"},
      {"KORDELIVERYTODATE",
       {"none"},
       {},
       "Received: a; Tue, 31 Apr 2002 10:00:00 +0000\r\n",
       "",
       "none"},
      {"KORDELIVERYTODATE", {}, {}, "Subject: x\r\n", "", "List index out of bounds (0)", true},
  };
  for (const MacroCase& c : cases) RunMacroCase(c);
}

// The age of a message is measured against the DLL's own reading of the
// system clock, so the host brackets the call with readings of its own.
TEST(MacrosTest, ReplyTimeReadsTheSystemClockAndStoresTwice) {
  HostProvider message, parameters;
  message.items[243] = "Date: Tue, 01 Jan 2002 10:00:00 +0300\r\n";
  FILETIME before, after;
  GetSystemTimeAsFileTime(&before);
  const CallOutcome outcome = ExecOnWorker("KORREPLYTIME", &message, &parameters);
  GetSystemTimeAsFileTime(&after);
  ASSERT_FALSE(outcome.raised) << outcome.message;
  ASSERT_EQ(message.stored.size(), 2u);
  EXPECT_EQ(message.stored[0], message.stored[1]);
  long long days, hours, minutes, seconds;
  ASSERT_EQ(std::sscanf(message.stored[0].c_str(), "%lld d %lld h %lld m %lld sec", &days, &hours,
                        &minutes, &seconds),
            4)
      << message.stored[0];
  const long long span = ((days * 24 + hours) * 60 + minutes) * 60 + seconds;
  // 2002-01-01 07:00:00 UTC in FILETIME seconds.
  const long long written = 12654342000LL;
  const auto to_seconds = [](FILETIME t) {
    return static_cast<long long>(
        (static_cast<ULONGLONG>(t.dwHighDateTime) << 32 | t.dwLowDateTime) / 10000000ULL);
  };
  EXPECT_GE(span, to_seconds(before) - written);
  EXPECT_LE(span, to_seconds(after) - written + 1);
}

std::string RunUnderControlWord(const std::string& name, const std::string& headers,
                                uint16_t word) {
  HostProvider message, parameters;
  message.items[243] = headers;
  const uint16_t original = X87ControlWord();
  SetX87ControlWord(word);
  const int32_t answer = LoadedPlugin().exec_macro(name.data(), static_cast<int32_t>(name.size()),
                                                   &message, &parameters);
  const uint16_t after = X87ControlWord();
  SetX87ControlWord(original);
  EXPECT_EQ(answer, 123257);
  EXPECT_EQ(after, word) << name << ": the host's control word was not restored";
  return message.stored.empty() ? "<nothing stored>" : message.stored.back();
}

// A host may run with 53-bit precision or another rounding direction; the
// macros answer as they do under the default word, and the host gets its
// own word back.
TEST(MacrosTest, DateArithmeticIgnoresTheHostsFloatingPointControlWord) {
  struct Case {
    std::string name;
    std::string headers;
  };
  const Case cases[] = {
      {"KORDELIVERYTIME",
       "Received: a; 01 Jan 2002 10:00:59 +0300\r\nReceived: b; 01 Jan 2002 10:00:00 +0300\r\n"},
      {"KORDELIVERYTIME",
       "Received: a; 02 Jan 2002 01:30:15 +0000\r\nReceived: b; 31 Dec 2001 23:00:00 +0000\r\n"},
      {"KORDELIVERYTIME",
       "Received: a; 6 May 1975 15:10:52 +0230\r\nReceived: b; 17 Mar 1985 11:37:30 +0600\r\n"},
      {"KORDELIVERYTIME",
       "Received: a; 21 Feb 2000 23:26:15 +1030\r\nReceived: b; 24 Dec 1978 21:08:15 +1045\r\n"},
      {"KORDELIVERYTODATE", "Received: a; 05 Feb 2002 08:04:03 +0000\r\n"},
      {"KORDELIVERYTODATE", "Received: a; 31 Dec 9999 23:59:59 -0001\r\n"},
      {"KORDELIVERYTODATE", "Received: a; 01 Jan 0001 00:00:01 +0000\r\n"},
  };
  const uint16_t original = X87ControlWord();
  const uint16_t precision_53 = WithPrecision53(original);
  const uint16_t rounding_up = WithRoundingUp(original);
  const uint16_t both = WithRoundingUp(precision_53);
  for (const Case& c : cases) {
    const std::string expected = RunUnderControlWord(c.name, c.headers, original);
    for (const uint16_t host_word : {precision_53, rounding_up, both}) {
      EXPECT_EQ(RunUnderControlWord(c.name, c.headers, host_word), expected)
          << c.headers << " under control word " << std::hex << host_word;
    }
  }
  EXPECT_EQ(RunUnderControlWord("KORDELIVERYTIME", cases[0].headers, both), "59 sec");
  EXPECT_EQ(RunUnderControlWord("KORDELIVERYTIME", cases[1].headers, both), "1 d 2 h 30 m 15 sec");
  // Under the host's word these two would lose a second.
  EXPECT_EQ(RunUnderControlWord("KORDELIVERYTIME", cases[2].headers, precision_53),
            "3602 d 16 h 56 m 38 sec");
  EXPECT_EQ(RunUnderControlWord("KORDELIVERYTIME", cases[3].headers, precision_53),
            "7729 d 2 h 33 m 0 sec");
}

}  // namespace
}  // namespace host
