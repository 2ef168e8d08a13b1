#include "body/links.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>

namespace lintrel {
namespace {

// Whether a byte continues a link, written out from the list of link
// characters rather than shared with the code under test.
bool PlainIsLinkCharacter(unsigned char c) {
  if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c + 32);
  return (c >= 0x21 && c <= 0x3A) || c == 0x40 || c == 0x5F || (c >= 0x61 && c <= 0x7A) ||
         c == 0x7E;
}

// The link search step by step, copying the working text as it goes: slow,
// but plainly right.
Text PlainGetLinks(const Text& text) {
  Text w = text + "     ";
  for (char& c : w) {
    if (static_cast<unsigned char>(c) < 32) c = ' ';
  }
  Text r;
  for (;;) {
    Text lower = w;
    for (char& c : lower) c = AsciiLowerByte(c);
    const int32_t http = FindText("http:", lower);
    const int32_t ftp = FindText("ftp:", lower);
    int32_t p = http;
    if (p == 0 || (ftp != 0 && ftp < p)) p = ftp;
    if (p == 0) break;
    w = w.substr(static_cast<size_t>(p - 1));
    size_t e = 0;
    while (PlainIsLinkCharacter(static_cast<unsigned char>(w[e]))) ++e;
    if (!r.empty()) r += "\r\n";
    r += w.substr(0, e);
    w = w.substr(e);
  }
  return r;
}

TEST(GetLinksTest, FindsEachLinkAndEndsItAtTheFirstOtherByte) {
  struct Case {
    Text text;
    Text links;
  };
  const Case cases[] = {
      {"", ""},
      {"no links: https, HTTP, ftp; http :", ""},
      {"https://secure/x", ""},
      {"see http://a.b/c", "http://a.b/c"},
      {"http://a/x\r\nftp://b/y more", "http://a/x\r\nftp://b/y"},
      {"ftp://f/ then http://h/", "ftp://f/\r\nhttp://h/"},
      {"http://a/b?q=1", "http://a/b"},
      {"Go to http://a/b.", "http://a/b."},
      {"<http://a/b>", "http://a/b"},
      {"\"http://a/b\"", "http://a/b\""},
      {"(http://a/b), then", "http://a/b),"},
      {"http://a/b#frag&x=1", "http://a/b#frag&x"},
      {"HTTP://UP/CASE and FtP://Mixed", "HTTP://UP/CASE\r\nFtP://Mixed"},
      {"myftp:x softftp://h", "ftp:x\r\nftp://h"},
      {"http: alone", "http:"},
      {"ends in http:", "http:"},
      {"ftp:", "ftp:"},
      {"htt p: ft p:", ""},
      {"https://x/?u=http://y/z", "http://y/z"},
      {"http://a/http://b ftp://c", "http://a/http://b\r\nftp://c"},
      {"http://a/\xe9t\xe9 http://b\x80", "http://a/\r\nhttp://b"},
      {"http://a/b\x7f"
       "c",
       "http://a/b"},
      {"http://a/b\tc", "http://a/b"},
      {Text("http://a\0b http://c", 19), "http://a\r\nhttp://c"},
      {"http://u:p@h.com/~x_y-z!$%&'()*+,;", "http://u:p@h.com/~x_y-z!$%&'()*+,"},
      {"http://a;b http://a=b http://a>b", "http://a\r\nhttp://a\r\nhttp://a"},
      {"http://a[b http://a\\b http://a]b http://a^b",
       "http://a\r\nhttp://a\r\nhttp://a\r\nhttp://a"},
      {"http://a`b http://a{b http://a|b http://a}b",
       "http://a\r\nhttp://a\r\nhttp://a\r\nhttp://a"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GetLinks(c.text), c.links) << testing::PrintToString(c.text);
  }
}

TEST(GetLinksTest, EveryByteEitherContinuesOrEndsALink) {
  for (int b = 0; b < 256; ++b) {
    const Text link = "http:" + Text(1, static_cast<char>(b)) + "x";
    const Text expected = PlainIsLinkCharacter(static_cast<unsigned char>(b)) ? link : "http:";
    EXPECT_EQ(GetLinks(link), expected) << "byte " << b;
  }
}

TEST(GetLinksTest, AgreesWithTheStepByStepSearchOnRandomTexts) {
  static const char* const kPieces[] = {"http:", "ftp:", "HTTP:", "fTp:", "htt", "h",    "f",
                                        "tp:",   "p",    ":",     "/",    "x",   "Z",    "9",
                                        ".",     " ",    "\r\n",  "?",    ">",   "\x80", "\xff",
                                        "~",     "_",    "@",     ";",    "\t",  "\x7f"};
  std::mt19937 random(11);
  std::uniform_int_distribution<int> length(0, 24);
  std::uniform_int_distribution<size_t> piece(0, std::size(kPieces) - 1);
  for (int i = 0; i < 20000; ++i) {
    Text text;
    for (int n = length(random); n > 0; --n) text += kPieces[piece(random)];
    if (i % 50 == 0) text += '\0';
    ASSERT_EQ(GetLinks(text), PlainGetLinks(text)) << testing::PrintToString(text);
  }
}

TEST(MakeLinkTest, EscapesEveryByteButLettersAndDigits) {
  Text all_bytes, all_escaped;
  for (int b = 0; b < 256; ++b) {
    const auto c = static_cast<char>(b);
    char escape[4];
    std::snprintf(escape, sizeof escape, "%%%02X", b);
    const bool plain = (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
    const Text expected = plain ? Text(1, c) : Text(escape);
    EXPECT_EQ(MakeLink(Text(1, c)), expected) << "byte " << b;
    all_bytes += c;
    all_escaped += expected;
  }
  EXPECT_EQ(MakeLink(all_bytes), all_escaped);
}

TEST(MakeLinkTest, WritesTheKnownEscapes) {
  struct Case {
    Text text;
    Text link;
  };
  const Case cases[] = {
      {"", ""},
      {"AZaz09Hello", "AZaz09Hello"},
      {"a b", "a%20b"},
      {"\r\n", "%0D%0A"},
      {"%-._~", "%25%2D%2E%5F%7E"},
      {"/:", "%2F%3A"},
      {"\xe9\xff", "%E9%FF"},
      {Text("a\0b", 3), "a%00b"},
  };
  for (const Case& c : cases) EXPECT_EQ(MakeLink(c.text), c.link) << testing::PrintToString(c.text);
}

// Random texts of up to 600 bytes, each with its own share of escaped
// bytes, from none to all, so that blocks of every mix come at every
// distance from the start; escaped in storage with room for the link and in
// storage without.
TEST(MakeLinkTest, AgreesWithByteByByteEscapingOnRandomTexts) {
  static constexpr char kPlain[] = {'a', 'Z', '5', 'q'};
  static constexpr char kEscaped[] = {' ', '%', '\0', '\xe9', '@', '[', '`', '{', '/', '\xff'};
  std::mt19937 random(11);
  std::uniform_int_distribution<int> length(0, 600);
  std::uniform_int_distribution<int> share(0, 8);
  std::uniform_int_distribution<int> eighths(1, 8);
  std::uniform_int_distribution<int> plain(0, sizeof kPlain - 1);
  std::uniform_int_distribution<int> escaped(0, sizeof kEscaped - 1);
  for (int i = 0; i < 20000; ++i) {
    const int escaped_eighths = share(random);
    Text text, expected;
    for (int n = length(random); n > 0; --n) {
      if (eighths(random) > escaped_eighths) {
        text += kPlain[plain(random)];
        expected += text.back();
      } else {
        text += kEscaped[escaped(random)];
        char escape[4];
        std::snprintf(escape, sizeof escape, "%%%02X", static_cast<unsigned char>(text.back()));
        expected += escape;
      }
    }
    Text roomy;
    roomy.reserve(3 * text.size());
    roomy = text;
    ASSERT_EQ(MakeLink(roomy), expected) << testing::PrintToString(text);
    const char* const storage = roomy.data();
    const Text in_place = MakeLink(std::move(roomy));
    ASSERT_EQ(in_place, expected) << testing::PrintToString(text);
    if (text.size() > 15) {
      EXPECT_EQ(in_place.data(), storage) << "escaped in its own storage";
    }
  }
}

}  // namespace
}  // namespace lintrel
