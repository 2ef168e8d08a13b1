// The line list: an ordered list of texts, indexed from 0, made by splitting
// a text at its line breaks. It keeps duplicates and empty lines.
#ifndef LINTREL_TEXT_LINE_LIST_H_
#define LINTREL_TEXT_LINE_LIST_H_

#include <cstdint>
#include <string_view>
#include <vector>

#include "text/text.h"

namespace lintrel {

class LineList {
 public:
  using const_iterator = std::vector<Text>::const_iterator;
  const_iterator begin() const { return lines_.begin(); }
  const_iterator end() const { return lines_.end(); }

 private:
  friend void SplitLines(LineList& list, std::string_view t);
  friend int32_t LineCount(const LineList& list);
  friend const Text& LineAt(const LineList& list, int32_t i);
  friend int32_t AppendLine(LineList& list, Text t);

  std::vector<Text> lines_;
};

// Empties `list`, then appends the lines of `t`. CR, LF and CR LF each end a
// line; a line break at the very end adds no empty line after it. Reading
// stops at the first byte 0: nothing after it is split.
void SplitLines(LineList& list, std::string_view t);

int32_t LineCount(const LineList& list);

// Line `i`; raises EStringListError "List index out of bounds (i)" when i < 0
// or i >= count.
const Text& LineAt(const LineList& list, int32_t i);

// Adds `t` at the end and returns its index (the old count).
int32_t AppendLine(LineList& list, Text t);

}  // namespace lintrel

#endif  // LINTREL_TEXT_LINE_LIST_H_
