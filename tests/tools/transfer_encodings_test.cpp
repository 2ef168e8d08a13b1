#include "tools/body_text/transfer_encodings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lintrel::cli {
namespace {

using namespace std::string_literals;

struct Case {
  std::string in;
  std::string out;
};

std::string Decoded(size_t (*decode)(std::string_view, char*), const std::string& in) {
  std::vector<char> out(in.size() + 1, '#');
  const size_t n = decode(in, out.data());
  EXPECT_LE(n, in.size()) << in;
  EXPECT_EQ(out[in.size()], '#') << "wrote past the room it has: " << in;
  return std::string(out.data(), n);
}

// What email.message.Message.get_payload(decode=True) gives for these
// base64 bodies under Python 3.11.
TEST(TransferEncodingsTest, Base64AsPythonDecodesIt) {
  const Case cases[] = {
      {""s, ""s},
      {"YWJj"s, "abc"s},
      {"YWJjZA=="s, "abcd"s},
      // Missing padding is supplied.
      {"YWJjZA"s, "abcd"s},
      {"YWJjZA="s, "abcd"s},
      {"YWJjZGU"s, "abcde"s},
      {"YWJjZGU="s, "abcde"s},
      {"YQ"s, "a"s},
      // One letter over a multiple of four: the input, less its line breaks.
      {"YWJjZ"s, "YWJjZ"s},
      {"Y"s, "Y"s},
      {"YWJjZ\r\n"s, "YWJjZ"s},
      {"Y\r\nW\r\nJ\r\nj\r\nZ"s, "YWJjZ"s},
      // Line breaks and bytes outside the alphabet are skipped, wherever
      // they are.
      {"YW\r\nJj\nZA\r==\n"s, "abcd"s},
      {"YW Jj!Z*A="s, "abcd"s},
      {"YWJjZGVm\r\nZ2hp\r\n"s, "abcdefghi"s},
      {"YWJjZ\r\nGVm"s, "abcdef"s},
      {"Zm9v\rYmFy"s, "foobar"s},
      {"Zm9\x00vYmFy"s, "foobar"s},
      {"\xc3\xa9YWJj"s, "abc"s},
      {"YWJjZA-_"s, "abcd"s},
      // Completed padding ends the input; "=" before the second letter of a
      // group counts for nothing, and a letter after a lone "=" goes on.
      {"YWJjZA==YWJj"s, "abcd"s},
      {"YQ==YQ=="s, "a"s},
      {"YQ=\n="s, "a"s},
      {"YQ=YQ=="s, "a\x06\x10"s},
      {"=YWJj"s, "abc"s},
      {"YWJj="s, "abc"s},
      {"Y=Q=="s, "a"s},
      {"YWJ=jZA"s, "ab"s},
      {"===="s, ""s},
      // Bits past the last byte are dropped.
      {"YR=="s, "a"s},
      {"////"s, "\xff\xff\xff"s},
      {"+/+/"s, "\xfb\xff\xbf"s},
  };
  for (const Case& c : cases) EXPECT_EQ(Decoded(DecodeBase64, c.in), c.out) << c.in;
}

// binascii.a2b_qp's results, which get_payload(decode=True) gives.
TEST(TransferEncodingsTest, QuotedPrintableAsPythonDecodesIt) {
  const Case cases[] = {
      {""s, ""s},
      {"abc"s, "abc"s},
      {"a=3Db"s, "a=b"s},
      {"a=3db"s, "a=b"s},
      {"=C3=A9t=C3=A9"s, "\xc3\xa9t\xc3\xa9"s},
      {"caf=E9 =e9 =e"s, "caf\xe9 \xe9 =e"s},
      {"=0A=0D"s, "\n\r"s},
      // Soft breaks: "=" then LF, or "=" then CR and everything up to the
      // next LF, or to the end.
      {"soft=\nbreak"s, "softbreak"s},
      {"soft=\r\nbreak"s, "softbreak"s},
      {"soft=\rjunk\nbreak"s, "softbreak"s},
      {"soft=\rno line feed"s, "soft"s},
      {"x=\r=\n3D"s, "x3D"s},
      {"=\r"s, ""s},
      {"=\r\n"s, ""s},
      {"=\n=\n="s, ""s},
      // "==" is "="; "=" before anything else stays; a last "=" goes.
      {"a==b"s, "a=b"s},
      {"a===3D"s, "a=="s},
      {"=3D=3d=3"s, "===3"s},
      {"a="s, "a"s},
      {"a=\n"s, "a"s},
      {"a=4"s, "a=4"s},
      {"a=4\n"s, "a=4\n"s},
      {"a=G1"s, "a=G1"s},
      {"=1G"s, "=1G"s},
      {"a=x="s, "a=x"s},
      {"100% =3D ="s, "100% = "s},
      {"= \n"s, "= \n"s},
      {"=\t\r\n"s, "=\t\r\n"s},
      // Blanks before a line break stay, and so do the breaks.
      {"trailing  \nblanks\t\r\n"s, "trailing  \nblanks\t\r\n"s},
      {"a\rb\nc\r\n"s, "a\rb\nc\r\n"s},
  };
  for (const Case& c : cases) EXPECT_EQ(Decoded(DecodeQuotedPrintable, c.in), c.out) << c.in;
}

// Base64 of `bytes` in lines of 76 letters, each ended by `line_break`.
std::string Base64Lines(const std::string& bytes, std::string_view line_break) {
  constexpr std::string_view kAlphabet =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string letters;
  for (size_t i = 0; i < bytes.size(); i += 3) {
    uint32_t group = static_cast<unsigned char>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) group |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    if (i + 2 < bytes.size()) group |= static_cast<unsigned char>(bytes[i + 2]);
    for (size_t k = 0; k < 4; ++k) {
      letters += i + k <= bytes.size() ? kAlphabet[(group >> (18 - 6 * k)) & 63] : '=';
    }
  }
  std::string lines;
  for (size_t i = 0; i < letters.size(); i += 76) {
    lines.append(letters, i, 76);
    lines += line_break;
  }
  return lines;
}

// Long bodies take the path that decodes whole lines a group at a time; a
// byte that is skipped, anywhere in a line, must not change what comes out.
TEST(TransferEncodingsTest, Base64LinesDecodeWhateverIsSkippedWhere) {
  std::string bytes;
  for (int i = 0; i < 1000; ++i) bytes += static_cast<char>(i * 7 + i / 256);
  for (const std::string_view line_break : {"\n", "\r\n", ""}) {
    for (size_t length : {size_t{998}, size_t{999}, size_t{1000}}) {
      const std::string part = bytes.substr(0, length);
      const std::string encoded = Base64Lines(part, line_break);
      EXPECT_EQ(Decoded(DecodeBase64, encoded), part);
      for (size_t at = 0; at < 200; at += 7) {
        for (const char stray : {'!', '\n', ' ', '\x80'}) {
          std::string spoiled = encoded;
          spoiled.insert(at, 1, stray);
          EXPECT_EQ(Decoded(DecodeBase64, spoiled), part) << at << " " << stray;
        }
      }
    }
  }
}

// Long quoted-printable lines, with soft breaks and escapes at every
// place in the blocks that the search reads.
TEST(TransferEncodingsTest, QuotedPrintableLinesDecodeAroundEveryEscape) {
  for (const std::string_view line_break : {"\n", "\r\n"}) {
    for (size_t at = 0; at < 80; ++at) {
      std::string encoded;
      std::string expected;
      for (int line = 0; line < 4; ++line) {
        std::string text(75, static_cast<char>('a' + line));
        text.replace(at % 70, 3, "=3D");
        encoded += text + "=" + std::string(line_break);
        expected += text.substr(0, at % 70) + "=" + text.substr(at % 70 + 3);
      }
      EXPECT_EQ(Decoded(DecodeQuotedPrintable, encoded), expected) << at;
    }
  }
}

TEST(TransferEncodingsTest, NoEncodingCopies) {
  const std::string in = "a=3D\r\nYWJj";
  std::vector<char> out(in.size());
  ASSERT_EQ(DecodeTransferEncoding(TransferEncoding::kNone, in, out.data()), in.size());
  EXPECT_EQ(std::string(out.data(), out.size()), in);
  EXPECT_EQ(DecodeTransferEncoding(TransferEncoding::kQuotedPrintable, in, out.data()), 8u);
  EXPECT_EQ(DecodeTransferEncoding(TransferEncoding::kBase64, "YWJj", out.data()), 3u);
}

}  // namespace
}  // namespace lintrel::cli
