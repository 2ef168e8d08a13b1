// Converting text between Windows code pages, as a mail client converts a
// message's text into the user's ANSI code page: characters the target
// lacks become "?", never a look-alike. posix/ converts with iconv, windows/
// with the system's own conversions; both read the code pages the way
// Windows' tables have them, down to the bytes that a code page leaves
// undefined (see ConvertCodePage).
#ifndef LINTREL_TOOLS_BASE_CODE_PAGES_H_
#define LINTREL_TOOLS_BASE_CODE_PAGES_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace lintrel::cli {

inline constexpr uint32_t kUtf8CodePage = 65001;
inline constexpr uint32_t kUtf16LeCodePage = 1200;
inline constexpr uint32_t kUtf16BeCodePage = 1201;

// Appends `bytes`, text in Windows code page `from`, to `out`, written in
// code page `to`.
//
// `from` is one of 65001 (UTF-8), 1200 (UTF-16LE), 1201 (UTF-16BE), 866,
// 874, 932, 936, 949, 950, 1250-1258, 10000 (Mac Roman), 20866 (KOI8-R),
// 21866 (KOI8-U), 20932 (EUC-JP), 28592-28598, 28600, 28603-28606 (the
// ISO-8859 family), 38598 (ISO-8859-8 in logical order, the bytes of 28598)
// and 54936 (GB18030); `to` is 65001 or the ANSI code page of a Windows
// locale: 874, 932, 936, 949, 950 or 1250-1258.
//
// What cannot be converted becomes one "?" each:
// - a character that `to` lacks (a character outside the Basic
//   Multilingual Plane is one character);
// - in UTF-8, an ill-formed sequence, as much of it as could begin a
//   character (Unicode's "maximal subpart": E2 82 41 is "?A", ED A0 80 is
//   "???", a sequence cut off by the end of the text one "?");
// - in UTF-16, an unpaired surrogate (its two bytes), and an odd last byte
//   or a high surrogate cut off by the end;
// - in the other code pages, a byte that neither is a character nor begins
//   one, and a byte that begins a sequence the code page does not define;
//   reading goes on at the byte after it, so that a lead byte before an
//   ASCII byte loses nothing but itself.
// A byte from 0x80 to 0x9F that a code page leaves undefined and that
// begins no sequence is the C1 control of the same number, both ways, as in
// Windows' tables and the WHATWG decoders (0x81 in 1252, 0x80 in 932). Every
// code page listed keeps ASCII as ASCII, so the longest ASCII beginning of a
// text is copied as it stands.
//
// Answers false, leaving `out` as it was, when a code page is not listed or
// this system cannot convert it (Wine, for one, lacks 28600, 28604, 28606
// and 54936).
bool ConvertCodePage(std::string_view bytes, uint32_t from, uint32_t to, std::string& out);

// Whether `code_page`, one that ConvertCodePage takes, has one byte for
// every character: all but UTF-8, UTF-16 and the East Asian code pages.
bool IsSingleByteCodePage(uint32_t code_page);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_BASE_CODE_PAGES_H_
