#include "body/links.h"

#include <cstddef>

#include "text/integer.h"
#include "text/tokenizer.h"

namespace lintrel {
namespace {

// The bytes that continue a link, judged on their ASCII lower-case form, so
// that "A" to "Z" count as well. Bytes below 32 are blanks to the search.
constexpr ByteSet MakeLinkCharacters() {
  ByteSet set;
  for (int b = 0x21; b <= 0x3A; ++b) set.Add(static_cast<unsigned char>(b));
  for (int b = 'a'; b <= 'z'; ++b) set.Add(static_cast<unsigned char>(b));
  for (int b = 'A'; b <= 'Z'; ++b) set.Add(static_cast<unsigned char>(b));
  set.Add('@');
  set.Add('_');
  set.Add('~');
  return set;
}
constexpr ByteSet kLinkCharacters = MakeLinkCharacters();

// The bytes that an escaped text keeps as they are.
constexpr ByteSet MakePlainBytes() {
  ByteSet set;
  for (int b = 0; b < 256; ++b) {
    const auto c = static_cast<unsigned char>(b);
    if (IsAsciiLetter(c) || IsAsciiDigit(c)) set.Add(c);
  }
  return set;
}
constexpr ByteSet kPlainBytes = MakePlainBytes();

// The 1-based position of the first occurrence of `word` (lower case) in
// `t` at or after the 0-based `from`, ignoring ASCII letter case; 0 when
// there is none.
int64_t FindWordFrom(std::string_view t, std::string_view word, size_t from) {
  if (t.size() < word.size()) return 0;
  const size_t last = t.size() - word.size();
  for (size_t i = from; i <= last; ++i) {
    if (AsciiLowerByte(t[i]) != word[0]) continue;
    size_t k = 1;
    while (k < word.size() && AsciiLowerByte(t[i + k]) == word[k]) ++k;
    if (k == word.size()) return static_cast<int64_t>(i) + 1;
  }
  return 0;
}

// The next occurrence of one scheme word at or after a moving start. The
// start only moves forward, so a found position stays valid until it is
// passed, and a word found nowhere is never looked for again: the text is
// read once per word.
class WordCursor {
 public:
  WordCursor(std::string_view t, std::string_view word)
      : t_(t), word_(word), at_(FindWordFrom(t, word, 0)) {}

  // The 1-based position of the first occurrence at or after the 0-based
  // `from`, or 0.
  int64_t From(size_t from) {
    if (at_ != 0 && static_cast<size_t>(at_ - 1) < from) at_ = FindWordFrom(t_, word_, from);
    return at_;
  }

 private:
  std::string_view t_;
  std::string_view word_;
  int64_t at_;
};

}  // namespace

Text GetLinks(std::string_view text) {
  // The scheme words hold neither blanks nor control bytes, so they are found
  // in the text itself, and a link ends at its end as at any blank.
  WordCursor http(text, "http:");
  WordCursor ftp(text, "ftp:");
  Text out;
  size_t from = 0;
  for (;;) {
    const int64_t found = SmallerNonZero(http.From(from), ftp.From(from));
    if (found == 0) break;
    const auto start = static_cast<size_t>(found - 1);
    size_t end = start;
    while (end < text.size() && kLinkCharacters.Contains(static_cast<unsigned char>(text[end]))) {
      ++end;
    }
    if (!out.empty()) out.append("\r\n");
    out.append(text.substr(start, end - start));
    from = end;
  }
  return out;
}

Text MakeLink(std::string_view text) {
  size_t size = text.size();
  for (char c : text) {
    if (!kPlainBytes.Contains(static_cast<unsigned char>(c))) size += 2;
  }
  Text out;
  out.reserve(size);
  for (char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if (kPlainBytes.Contains(b)) {
      out.push_back(c);
    } else {
      AppendPercentByte(out, b);
    }
  }
  return out;
}

}  // namespace lintrel
