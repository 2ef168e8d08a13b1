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

// Where in `t`, at or after `from`, the first "http:" or "ftp:" begins, in
// any ASCII letter case; kNone when there is none. Their first three letters
// are searched for together, once through the text: they are rarer in it
// than a first letter alone.
size_t FindScheme(std::string_view t, size_t from) {
  for (size_t i = FindEitherLetters<'h', 't', 't', 'f', 't', 'p'>(t, from); i < t.size();
       i = FindEitherLetters<'h', 't', 't', 'f', 't', 'p'>(t, i + 1)) {
    const std::string_view word = t.substr(i);
    if (StartsWithIgnoringCase(word, "http:") || StartsWithIgnoringCase(word, "ftp:")) return i;
  }
  return kNone;
}

}  // namespace

Text GetLinks(std::string_view text) {
  // The scheme words hold neither blanks nor control bytes, so they are found
  // in the text itself, and a link ends at its end as at any blank.
  Text out;
  size_t from = 0;
  for (;;) {
    const size_t start = FindScheme(text, from);
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
