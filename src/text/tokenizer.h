// The tokeniser that the header date parser splits a date text with.
#ifndef LINTREL_TEXT_TOKENIZER_H_
#define LINTREL_TEXT_TOKENIZER_H_

#include <array>
#include <cstdint>
#include <string_view>

#include "text/line_list.h"

namespace lintrel {

// A set of byte values 0 to 255.
class ByteSet {
 public:
  constexpr ByteSet() = default;
  constexpr explicit ByteSet(std::string_view bytes) {
    for (char c : bytes) Add(static_cast<unsigned char>(c));
  }
  constexpr void Add(unsigned char b) { members_[b] = true; }
  constexpr bool Contains(unsigned char b) const { return members_[b]; }

 private:
  std::array<bool, 256> members_{};
};

// Appends to `list` (not emptied first) the tokens of `content`, read up to
// its first byte 0, and returns how many it appended. Tokens end at a
// separator, CR, LF or the end; white space, CR and LF are skipped before a
// token only. Double and single quotes group text into one token and stay in
// it; an unclosed quote runs to the end. Runs of separators give no empty
// tokens. Stops after `limit` tokens, so a caller that reads only the first
// few does not pay for the rest.
int32_t Tokenize(const ByteSet& separators, const ByteSet& whiteSpace, std::string_view content,
                 LineList& list, int32_t limit = INT32_MAX);

}  // namespace lintrel

#endif  // LINTREL_TEXT_TOKENIZER_H_
