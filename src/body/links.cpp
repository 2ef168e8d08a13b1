#include "body/links.h"

#include <algorithm>
#include <cstddef>

#include "body/byte_search.h"
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

}  // namespace lintrel
