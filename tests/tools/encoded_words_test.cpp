#include "tools/body_text/encoded_words.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace lintrel::cli {
namespace {

// Segments as one text: plain runs as they are, a word as
// "[charset:bytes]".
std::string Render(const std::vector<TextSegment>& segments) {
  std::string text;
  for (const TextSegment& segment : segments) {
    text += segment.encoded ? "[" + segment.charset + ":" + segment.bytes + "]" : segment.bytes;
  }
  return text;
}

// The segments of what str() of an unstructured header gives under Python
// 3.11's policy.default: each word's bytes with its charset, the rest as it
// stands.
TEST(EncodedWordsTest, DecodesAsPython) {
  struct Case {
    std::string_view value;
    std::string_view rendered;
  };
  const Case cases[] = {
      {"plain text", "plain text"},
      {" lead  trail ", " lead  trail "},
      {"=?utf-8?q?caf=C3=A9?=", "[utf-8:caf\xc3\xa9]"},
      {"=?UTF-8?B?Y2Fmw6k=?=", "[UTF-8:caf\xc3\xa9]"},
      {"=?utf-8?q?a_b=5F?=", "[utf-8:a b_]"},
      {"=?utf-8*en?q?x?=", "[utf-8:x]"},
      {"=?x-unknown?q?=E9?=", "[x-unknown:\xe9]"},
      // Blanks between two words go; other blanks stay.
      {"a =?utf-8?q?x?= b", "a [utf-8:x] b"},
      {"=?utf-8?q?a?=  \t =?iso-8859-1?q?b?=", "[utf-8:a][iso-8859-1:b]"},
      {"=?utf-8?q?a?= \v =?utf-8?q?b?=", "[utf-8:a][utf-8:b]"},
      {"=?utf-8?q?a?= x =?utf-8?q?b?=", "[utf-8:a] x [utf-8:b]"},
      // A word counts glued to text or to another word.
      {"abc=?utf-8?q?x?=def", "abc[utf-8:x]def"},
      {"\v=?utf-8?q?x?=", "\v[utf-8:x]"},
      {"=?utf-8?q?a?==?utf-8?q?b?=", "[utf-8:a][utf-8:b]"},
      // "?=" then two hex digits right after Q is the text's first escape;
      // a word may hold blanks; B text is decoded as bodies are.
      {"=?utf-8?q?=41?=", "[utf-8:A]"},
      {"=?utf-8?q?a b?=", "[utf-8:a b]"},
      {"=?utf-8?b?Y?=", "[utf-8:Y]"},
      // Malformed words stand as they are, and so does the rest of their run.
      {"=?utf-8?x?y?=", "=?utf-8?x?y?="},
      {"=?bad=?utf-8?q?x?=", "=?bad=?utf-8?q?x?="},
      {"=?utf-8?q?unfinished", "=?utf-8?q?unfinished"},
      {"=?", "=?"},
  };
  for (const Case& c : cases) EXPECT_EQ(Render(DecodeUnstructured(c.value)), c.rendered) << c.value;
}

TEST(EncodedWordsTest, SubjectOfAHeaderBlock) {
  const auto folded = DecodedSubject("To: a\r\nSubject: =?utf-8?q?a?=\r\n =?utf-8?q?b?= c\r\n");
  ASSERT_TRUE(folded.has_value());
  ASSERT_EQ(folded->size(), 3u);
  EXPECT_EQ(Render(*folded), "[utf-8:a][utf-8:b] c");
  EXPECT_EQ(DecodedSubject("To: a\r\n"), std::nullopt);
  EXPECT_EQ(DecodedSubject("Subject:\r\n")->size(), 0u);
}

// Reading stops at the third "?" after "=?", so that a text of many "=?"
// is read in linear time, and a word's length is where its "?=" ends.
TEST(EncodedWordsTest, ReadsOneWord) {
  EXPECT_EQ(ReadEncodedWord("=?a?q?x?= rest").length, 9u);
  EXPECT_EQ(ReadEncodedWord("=?a?q?=41?=rest").length, 11u);
  EXPECT_FALSE(ReadEncodedWord("=?a?q?x? =?a?q?y?=").decoded);
  EXPECT_FALSE(ReadEncodedWord("=?a?qq?x?=").decoded);
  EXPECT_FALSE(ReadEncodedWord("=?a?q?=4?=").decoded);
  const std::string many = [] {
    std::string text;
    for (int i = 0; i < 200000; ++i) text += "=?a ";
    return text;
  }();
  EXPECT_EQ(Render(DecodeUnstructured(many)), many);
}

}  // namespace
}  // namespace lintrel::cli
