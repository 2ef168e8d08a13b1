// The block searches give the same answers whatever block they read: eight
// bytes in a word, sixteen with SSE2, thirty-two with AVX2. The body tools'
// own tests run on the widest kind this processor has; these compare every
// kind that it can run, from every starting place, on texts that put the
// bytes searched for on and across the blocks' edges.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "body/byte_search.h"

namespace lintrel {
namespace {

template <typename Search>
void ExpectAllKindsAgree(const char* name, const Search& search) {
  static const char* const kPieces[] = {
      ">",    ">>",   "\r",  "\n",   "\r\n", "\n\n", "htt",
      "HtTp", "ftp",  "fTp", "a",    "Z",    "9",    " ",
      "\x80", "\xff", "%",   "\x1f", "\x7f", "\t",   std::string_view("\0", 1).data()};
  std::mt19937 random(7);
  std::uniform_int_distribution<int> length(0, 40);
  std::uniform_int_distribution<size_t> piece(0, std::size(kPieces) - 1);
  for (int i = 0; i < 3000; ++i) {
    std::string text;
    for (int n = length(random); n > 0; --n) {
      const size_t k = piece(random);
      text += k + 1 == std::size(kPieces) ? std::string(1, '\0') : std::string(kPieces[k]);
    }
    for (size_t from = 0; from <= text.size(); ++from) {
      const std::vector<size_t> answers = search(std::string_view(text), from);
      for (size_t kind = 1; kind < answers.size(); ++kind) {
        ASSERT_EQ(answers[kind], answers[0]) << name << " kind " << kind << " from " << from
                                             << " in " << testing::PrintToString(text);
      }
    }
  }
}

#if LINTREL_AVX2_SEARCH

// The answers of the word, SSE2 and, where this processor has it, AVX2.
template <typename Word, typename Sse2, typename Avx2>
std::vector<size_t> EveryKind(const Word& word, const Sse2& sse2, const Avx2& avx2) {
  std::vector<size_t> answers = {word(), sse2()};
  if (byte_search::ReadsAvx2Blocks()) answers.push_back(avx2());
  return answers;
}

// The same call, `byte_search::KIND::CALL`, on every kind.
#define EVERY_KIND(...)                                               \
  [](std::string_view t, size_t from) {                               \
    (void)from;                                                       \
    return EveryKind([&] { return byte_search::word::__VA_ARGS__; },  \
                     [&] { return byte_search::sse2::__VA_ARGS__; },  \
                     [&] { return byte_search::avx2::__VA_ARGS__; }); \
  }

TEST(BlockKindsTest, EverySearchAgrees) {
  ExpectAllKindsAgree("FindFirstOf", EVERY_KIND(FindFirstOf<'\r', '\n', '%'>(t, from)));
  ExpectAllKindsAgree("FindBytePair", EVERY_KIND(FindBytePair<'\r', '\n'>(t, from)));
  ExpectAllKindsAgree("FindControlOr", EVERY_KIND(FindControlOr<'%'>(t, from)));
  ExpectAllKindsAgree("FindNonAscii", EVERY_KIND(FindNonAscii(t, from)));
  ExpectAllKindsAgree("FindEitherLetters",
                      EVERY_KIND(FindEitherLetters<'h', 't', 't', 'f', 't', 'p'>(t, from)));
  ExpectAllKindsAgree("FindBreakAfterBreak", EVERY_KIND(FindBreakAfterBreak(t, from)));
  ExpectAllKindsAgree("FindQuoteOrNul", EVERY_KIND(FindQuoteOrNul(t, from, true)));
  ExpectAllKindsAgree("FindQuoteOrNul single", EVERY_KIND(FindQuoteOrNul(t, from, false)));
  ExpectAllKindsAgree("AllBreaksAreCrLf", EVERY_KIND(AllBreaksAreCrLf(t.substr(from))));
  ExpectAllKindsAgree("CountNonAlphanumeric", EVERY_KIND(CountNonAlphanumeric(t.substr(from))));
}

// The counts are summed before a byte's count can overflow: long texts.
TEST(BlockKindsTest, CountsOfLongTexts) {
  std::string text;
  for (int i = 0; i < 40000; ++i) text += (i % 3 == 0) ? "a-" : "\xff";
  const auto answers = EVERY_KIND(CountNonAlphanumeric(t))(text, 0);
  for (const size_t answer : answers) EXPECT_EQ(answer, answers[0]);
  EXPECT_EQ(answers[0], 13334u + 26666u);
}
#endif

}  // namespace
}  // namespace lintrel
