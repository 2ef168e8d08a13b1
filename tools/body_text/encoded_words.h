// RFC 2047 encoded-words ("=?utf-8?q?caf=C3=A9?="), read as Python's email
// package reads them under policy.default: in an unstructured field such as
// Subject, where str(msg['subject']) gives the decoded text, and inside the
// values of MIME parameters.
#ifndef LINTREL_TOOLS_BODY_TEXT_ENCODED_WORDS_H_
#define LINTREL_TOOLS_BODY_TEXT_ENCODED_WORDS_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lintrel::cli {

// An encoded-word at the start of a text, when there is one.
struct EncodedWord {
  bool decoded = false;      // false: the text is no encoded-word
  size_t length = 0;         // of the word in the text
  std::string_view charset;  // its charset label, without an RFC 2231 "*language"
  std::string bytes;         // its text, its Q or B encoding undone
};

// The encoded-word at the start of `text`, which begins with "=?": a
// charset, "?", Q or B in either case, "?", the encoded text, "?=". As
// Python reads them, the encoded text may hold blanks, and "?=" right after
// Q or B followed by two hex digits is the text's first escape, not the
// end; the B text is decoded as base64 bodies are. Reads no further than
// the third "?" after "=?", so that reading at every "=?" of a text stays
// linear. `charset` views `text`.
EncodedWord ReadEncodedWord(std::string_view text);

// A run of a decoded field: bytes as they stand in the field, or the bytes
// of an encoded-word with the charset label it names.
struct TextSegment {
  std::string bytes;
  bool encoded = false;
  std::string charset;  // for an encoded-word; may name no encoding
};

// The unstructured field value `value` (unfolded, as FieldValue gives it)
// with its encoded-words decoded, in the order of the text; adjacent plain
// runs are joined. Python's rules: a word counts wherever it starts, even
// glued to text before or after it; the blanks between two words are
// dropped, all other blanks kept; a malformed word stays as it stands.
//
// Python then reads the whole text as UTF-8 when any byte of it is not
// ASCII and not a decoded character (its _sanitize): the plain runs' bytes
// above 127, and the words in a charset that it does not know, are UTF-8
// to it, and what is not UTF-8 is U+FFFD.
std::vector<TextSegment> DecodeUnstructured(std::string_view value);

// The first Subject field of the header block `headers` (the bytes before
// the first empty line, as lintrel splits a message) decoded as
// str(msg['subject']) gives it; nullopt when there is none.
std::optional<std::vector<TextSegment>> DecodedSubject(std::string_view headers);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_BODY_TEXT_ENCODED_WORDS_H_
