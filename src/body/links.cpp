#include "body/links.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "body/byte_search.h"
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

// What link escaping writes for each byte: ASCII letters and digits stand
// for themselves, every other byte is "%" and two hexadecimal digits. The
// bytes stand at the end of the entry, which is written whole in front of
// what is written already: the text is escaped from its end.
struct Escape {
  uint8_t length;
  std::array<char, 3> bytes;
};
static_assert(sizeof(Escape) == 4);
using EscapeTable = std::array<Escape, 256>;

// Made once, from the one definition of the escaped form.
const EscapeTable& Escapes() {
  static const EscapeTable table = [] {
    EscapeTable escapes{};
    for (int b = 0; b < 256; ++b) {
      const auto c = static_cast<unsigned char>(b);
      Escape& escape = escapes[c];
      if (IsAsciiLetter(c) || IsAsciiDigit(c)) {
        escape = {1, {0, 0, static_cast<char>(c)}};
      } else {
        const Text percent = PercentByte(c);
        escape.length = 3;
        std::copy_n(percent.data(), 3, escape.bytes.data());
      }
    }
    return escapes;
  }();
  return table;
}

// The number of bytes of `t` that escaping writes as three, a block of bytes
// at a time.
size_t CountEscaped(std::string_view t) {
  using byte_search::Block;
  size_t plain = 0;
  size_t p = 0;
  for (; p + Block::kSize <= t.size(); p += Block::kSize) {
    const Block block = Block::Load(t.data() + p);
    // Setting bit 5 lower-cases the letters and brings no other byte into
    // a-z.
    plain += Block::Count(block.Between('0', '9') | block.With(0x20).Between('a', 'z'));
  }
  for (; p < t.size(); ++p) {
    const auto c = static_cast<unsigned char>(t[p]);
    if (IsAsciiLetter(c) || IsAsciiDigit(c)) ++plain;
  }
  return t.size() - plain;
}

constexpr size_t kNone = std::string_view::npos;

// Where in `t`, at or after `from`, the first word stands whose first letter
// is `kFirst` or `kFirstUpper` and whose other bytes are `rest` in any ASCII
// letter case; kNone when there is none.
template <char kFirst, char kFirstUpper>
size_t FindWordFrom(std::string_view t, std::string_view rest, size_t from) {
  for (size_t i = FindFirstOf<kFirst, kFirstUpper>(t, from); i < t.size();
       i = FindFirstOf<kFirst, kFirstUpper>(t, i + 1)) {
    const std::string_view after = t.substr(i + 1);
    if (after.size() < rest.size()) break;
    if (StartsWithIgnoringCase(after, rest)) return i;
  }
  return kNone;
}

// The next occurrence of one scheme word at or after a moving start. The
// start only moves forward, so a found position stays valid until it is
// passed, and a word found nowhere is never looked for again: the text is
// read once per word.
template <char kFirst, char kFirstUpper>
class WordCursor {
 public:
  WordCursor(std::string_view t, std::string_view rest)
      : t_(t), rest_(rest), at_(FindWordFrom<kFirst, kFirstUpper>(t, rest, 0)) {}

  // Where the first occurrence at or after `from` stands, or kNone.
  size_t From(size_t from) {
    if (at_ != kNone && at_ < from) at_ = FindWordFrom<kFirst, kFirstUpper>(t_, rest_, from);
    return at_;
  }

 private:
  std::string_view t_;
  std::string_view rest_;
  size_t at_;
};

}  // namespace

Text GetLinks(std::string_view text) {
  // The scheme words hold neither blanks nor control bytes, so they are found
  // in the text itself, and a link ends at its end as at any blank.
  WordCursor<'h', 'H'> http(text, "ttp:");
  WordCursor<'f', 'F'> ftp(text, "tp:");
  Text out;
  size_t from = 0;
  for (;;) {
    const size_t start = std::min(http.From(from), ftp.From(from));
    if (start == kNone) break;
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

Text MakeLink(Text text) {
  const size_t n = text.size();
  const size_t escaped = CountEscaped(text);
  if (escaped == 0) return text;
  // Storage with room for the result keeps it; otherwise it grows once.
  text.resize(n + 2 * escaped);
  // Each byte is read before anything is written over it: the written part
  // ends `gap` bytes after the read part, two for each escape still to come.
  const EscapeTable& escapes = Escapes();
  char* const data = text.data();
  size_t in = n;
  size_t out = text.size();
  // With two escapes or more to come, an entry's whole four bytes fit into
  // the gap.
  while (out - in >= 4) {
    const Escape& escape = escapes[static_cast<unsigned char>(data[--in])];
    std::memcpy(data + out - sizeof escape, &escape, sizeof escape);
    out -= escape.length;
  }
  // One escape at most; the bytes before it already stand where they belong.
  while (out != in) {
    const Escape& escape = escapes[static_cast<unsigned char>(data[--in])];
    out -= escape.length;
    std::copy_n(escape.bytes.end() - escape.length, escape.length, data + out);
  }
  return text;
}

}  // namespace lintrel
