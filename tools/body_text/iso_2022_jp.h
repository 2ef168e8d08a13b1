// ISO-2022-JP text rewritten as EUC-JP, so that it converts through the
// code page 20932 that every system here has, where 50220 is not
// everywhere.
#ifndef LINTREL_TOOLS_BODY_TEXT_ISO_2022_JP_H_
#define LINTREL_TOOLS_BODY_TEXT_ISO_2022_JP_H_

#include <string>
#include <string_view>

namespace lintrel::cli {

// The EUC-JP bytes of the characters that the Encoding Standard's
// ISO-2022-JP decoder reads from `bytes`: ASCII as it is, JIS X 0208 pairs
// with their high bits set, half-width katakana after 0x8E. What the
// decoder takes for an error is "?", as the conversion writes it; JIS X
// 0201 Roman's yen sign and overline are 0x5C and 0x7E, as EUC-JP writes
// them. Never more than twice as long as `bytes`.
std::string Iso2022JpToEucJp(std::string_view bytes);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_BODY_TEXT_ISO_2022_JP_H_
