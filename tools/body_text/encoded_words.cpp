#include "tools/body_text/encoded_words.h"

#include <algorithm>

#include "tools/body_text/mime_bytes.h"
#include "tools/body_text/mime_headers.h"
#include "tools/body_text/transfer_encodings.h"

namespace lintrel::cli {
namespace {

// Q: "_" is a space and "=XX" the byte XX; any other "=" stays.
std::string DecodeQ(std::string_view text) {
  return HexEscapesDecoded(text, '=', true);
}

// Whether `token` holds the pattern Python looks for before it splits a
// run of text at an encoded-word: "=?", a charset without "?", "?", Q or B,
// "?", anything, "?=".
bool HoldsEncodedWordPattern(std::string_view token) {
  const size_t last_end = token.rfind("?=");
  if (last_end == std::string_view::npos) return false;
  for (size_t start = token.find("=?"); start != std::string_view::npos;
       start = token.find("=?", start + 1)) {
    // The charset ends at the first "?", which is never past the next "=?".
    const size_t mark = token.find('?', start + 2);
    if (mark == std::string_view::npos || mark + 3 > last_end) return false;
    const char cte = token[mark + 1];
    if ((cte == 'q' || cte == 'Q' || cte == 'b' || cte == 'B') && token[mark + 2] == '?') {
      return true;
    }
  }
  return false;
}

// Adds a plain run to `segments`, joined to a plain run before it.
void AddPlain(std::vector<TextSegment>& segments, std::string_view bytes) {
  if (bytes.empty()) return;
  if (segments.empty() || segments.back().encoded) segments.emplace_back();
  segments.back().bytes += bytes;
}

}  // namespace

// Python splits the text after "=?" at the first "?=", or at the second
// when two hex digits follow the first and the part before it holds less
// than two "?", and wants three parts between the "?". Whatever the text,
// that comes to: a charset without "?", "?", one letter, "?", then text up
// to the next "?", which "=" must follow; and the text may begin "=XX".
EncodedWord ReadEncodedWord(std::string_view text) {
  EncodedWord word;
  const std::string_view rest = text.substr(2);
  const size_t first = rest.find('?');
  if (first == std::string_view::npos || first + 2 >= rest.size() || rest[first + 2] != '?') {
    return word;
  }
  const size_t second = first + 2;
  if (second + 1 < rest.size() && rest[second + 1] == '=' &&
      !(second + 3 < rest.size() && IsHexDigit(rest[second + 2]) && IsHexDigit(rest[second + 3]))) {
    return word;
  }
  const size_t third = rest.find('?', second + 1);
  if (third == std::string_view::npos || third + 1 >= rest.size() || rest[third + 1] != '=') {
    return word;
  }
  const char cte = rest[first + 1];
  const std::string_view encoded = rest.substr(second + 1, third - second - 1);
  if (cte == 'q' || cte == 'Q') {
    word.bytes = DecodeQ(encoded);
  } else if (cte == 'b' || cte == 'B') {
    word.bytes.resize(encoded.size());
    word.bytes.resize(DecodeBase64(encoded, word.bytes.data()));
  } else {
    return word;
  }
  word.decoded = true;
  word.length = 2 + third + 2;
  word.charset = rest.substr(0, std::min(first, rest.find('*')));
  return word;
}

// Python's get_unstructured: blanks, words and runs of other text, in turn.
// The blanks after a word are held back until it is known whether another
// word follows them, which drops them.
std::vector<TextSegment> DecodeUnstructured(std::string_view value) {
  std::vector<TextSegment> segments;
  bool last_was_word = false;
  bool blanks_after_word = false;
  std::string_view held;
  while (!value.empty()) {
    if (value[0] == ' ' || value[0] == '\t') {
      // Python's get_fws takes every kind of space after the first blank.
      const size_t n = std::find_if_not(value.begin(), value.end(), IsPythonSpace) - value.begin();
      held = value.substr(0, n);
      blanks_after_word = last_was_word;
      last_was_word = false;
      value.remove_prefix(n);
      continue;
    }
    if (value.starts_with("=?")) {
      EncodedWord word = ReadEncodedWord(value);
      if (word.decoded) {
        if (!blanks_after_word) AddPlain(segments, held);
        held = {};
        segments.push_back({std::move(word.bytes), true, std::string(word.charset)});
        value.remove_prefix(word.length);
        last_was_word = true;
        continue;
      }
    }
    AddPlain(segments, held);
    held = {};
    size_t n = std::min(value.find_first_of(" \t"), value.size());
    // A word glued to the text before it: the text ends where the word
    // starts. A malformed word keeps its whole run: Python looks no further
    // into a run that starts with "=?".
    if (!value.starts_with("=?") && HoldsEncodedWordPattern(value.substr(0, n))) {
      n = value.find("=?");
    }
    AddPlain(segments, value.substr(0, n));
    value.remove_prefix(n);
    last_was_word = false;
  }
  AddPlain(segments, held);
  return segments;
}

std::optional<std::vector<TextSegment>> DecodedSubject(std::string_view headers) {
  const HeaderFields fields = ReadHeaderBlock(headers);
  const std::optional<std::string>& subject = fields.Value(HeaderField::kSubject);
  if (!subject) return std::nullopt;
  return DecodeUnstructured(*subject);
}

}  // namespace lintrel::cli
