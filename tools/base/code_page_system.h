// The system's side of ConvertCodePage (code_pages.h): reading and writing
// the code pages other than UTF-8 and UTF-16, which code_pages.cpp handles
// itself, through UTF-16. posix/ and windows/ each implement it, by the
// rules that code_pages.h states.
#ifndef LINTREL_TOOLS_BASE_CODE_PAGE_SYSTEM_H_
#define LINTREL_TOOLS_BASE_CODE_PAGE_SYSTEM_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace lintrel::cli {

// Whether the system reads (and, for a target of ConvertCodePage, writes)
// `code_page`, one of those that code_pages.h lists.
bool SystemConverts(uint32_t code_page);

// Appends to `text` the UTF-16 of the characters at the start of `bytes`,
// text in `code_page`, with "?" for what cannot be read. Reads up to the
// last character that `bytes` holds whole, or to the end when `at_end` (a
// character cut off there is one "?"). Answers the count of bytes read,
// more than 0 when `bytes` has at least four.
size_t DecodeWithSystem(uint32_t code_page, std::string_view bytes, bool at_end,
                        std::u16string& text);

// Appends `text`, UTF-16 with characters of the Basic Multilingual Plane
// only, to `out`, written in `code_page`, with "?" for each character that
// the code page lacks.
void EncodeWithSystem(uint32_t code_page, std::u16string_view text, std::string& out);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_BASE_CODE_PAGE_SYSTEM_H_
