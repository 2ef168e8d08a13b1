// The code pages through the system's MultiByteToWideChar and
// WideCharToMultiByte. Reading asks the system to refuse invalid input
// (MB_ERR_INVALID_CHARS): without it, Windows puts the code page's default
// character in place of a bad sequence (U+30FB in 932) and takes the byte
// after a lead byte with it, where "?" and the next byte are wanted. Text
// without faults, the usual, is read in one call; a piece that the system
// refuses is read again in ever smaller runs of whole characters, down to
// the single character at fault. EUC-JP is checked and handed over in the
// form of Windows' 20932 (see Characters).
#include <windows.h>

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "tools/base/code_page_system.h"

namespace lintrel::cli {
namespace {

// The number under which Windows has `code_page`: ISO-8859-8 in logical
// order has the bytes of ISO-8859-8, the order being a matter of display.
UINT SystemNumber(uint32_t code_page) {
  return code_page == 38598 ? 28598 : code_page;
}

// How the characters of a code page lie in its bytes, as far as reading
// them in runs needs: how long each is, and what the system is handed.
class Characters {
 public:
  explicit Characters(UINT code_page) : gb18030_(code_page == 54936), euc_jp_(code_page == 20932) {
    CPINFO info;
    if (!GetCPInfo(code_page, &info)) return;
    for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i] != 0; i += 2) {
      for (int b = info.LeadByte[i]; b <= info.LeadByte[i + 1]; ++b) lead_[b] = true;
    }
  }

  // The length of the character that begins at `at` of `bytes`, as its
  // first bytes tell; it may reach past the end. 0 when they begin none:
  // EUC-JP's are checked here, since Windows' 20932 reads a lead byte
  // followed by an ASCII byte as a character (see ForSystem).
  size_t LengthAt(std::string_view bytes, size_t at) const {
    const auto first = static_cast<unsigned char>(bytes[at]);
    if (euc_jp_) return EucJpLengthAt(bytes, at);
    if (!lead_[first]) return 1;
    // GB18030's four-byte characters have a digit second.
    if (gb18030_ && at + 1 < bytes.size() && bytes[at + 1] >= '0' && bytes[at + 1] <= '9') {
      return 4;
    }
    return 2;
  }

  // `run`, whole characters, as the system reads them. Windows' 20932 has
  // EUC-JP's three-byte characters, 0x8F and two bytes of JIS X 0212, as
  // those two bytes with the second's high bit clear.
  std::string_view ForSystem(std::string_view run, std::string& buffer) const {
    if (!euc_jp_ || run.find('\x8f') == std::string_view::npos) return run;
    buffer.clear();
    for (size_t i = 0; i < run.size(); ++i) {
      if (run[i] == '\x8f') {
        buffer += run[i + 1];
        buffer += static_cast<char>(run[i + 2] & 0x7F);
        i += 2;
      } else {
        buffer += run[i];
      }
    }
    return buffer;
  }

 private:
  static size_t EucJpLengthAt(std::string_view bytes, size_t at) {
    // Whether the byte `k` after `at` lies from `low` to `high`, or past the
    // end, where the character is cut off.
    const auto fits = [&](size_t k, unsigned char low, unsigned char high) {
      if (at + k >= bytes.size()) return true;
      const auto b = static_cast<unsigned char>(bytes[at + k]);
      return b >= low && b <= high;
    };
    const auto first = static_cast<unsigned char>(bytes[at]);
    if (first == 0x8E) return fits(1, 0xA1, 0xDF) ? 2 : 0;
    if (first == 0x8F) return fits(1, 0xA1, 0xFE) && fits(2, 0xA1, 0xFE) ? 3 : 0;
    if (first >= 0xA1 && first <= 0xFE) return fits(1, 0xA1, 0xFE) ? 2 : 0;
    return 1;
  }

  std::array<bool, 256> lead_{};
  bool gb18030_;
  bool euc_jp_;
};

// Appends the UTF-16 of `bytes` to `text` when every byte belongs to a
// character of `code_page`; else answers false with `text` as it was.
bool ReadStrictly(UINT code_page, std::string_view bytes, std::u16string& text) {
  const size_t start = text.size();
  // A byte gives at most one unit, four bytes at most two.
  text.resize(start + bytes.size());
  const int count = MultiByteToWideChar(
      code_page, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()),
      reinterpret_cast<wchar_t*>(text.data() + start), static_cast<int>(bytes.size()));
  text.resize(start + static_cast<size_t>(count));
  return count > 0;
}

bool IsPrivateUse(char16_t c) {
  return c >= 0xE000 && c < 0xF900;
}

// Whether `code_page` writes the private-use character `c` as bytes that it
// reads back as `c`. Windows writes the characters that stand for undefined
// bytes (U+F8F9 for 0xAA of 1253) as those bytes, which it then refuses to
// read: the code page lacks such a character, which is "?".
bool WritesBack(UINT code_page, char16_t c) {
  const auto wide = static_cast<wchar_t>(c);
  char bytes[2];
  BOOL defaulted = FALSE;
  const int length =
      WideCharToMultiByte(code_page, WC_NO_BEST_FIT_CHARS, &wide, 1, bytes, 2, "?", &defaulted);
  wchar_t read = 0;
  return length > 0 && !defaulted &&
         MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, bytes, length, &read, 1) == 1 &&
         read == wide;
}

}  // namespace

bool SystemConverts(uint32_t code_page) {
  return IsValidCodePage(SystemNumber(code_page));
}

size_t DecodeWithSystem(uint32_t code_page, std::string_view bytes, bool at_end,
                        std::u16string& text) {
  const UINT number = SystemNumber(code_page);
  const Characters characters(number);
  std::string buffer;
  // The number of characters of the next run to try: all at first, half as
  // many after a refusal, twice as many after a success.
  size_t run = bytes.size();
  size_t at = 0;
  while (at < bytes.size()) {
    size_t end = at;
    size_t count = 0;
    size_t length = 0;
    while (end < bytes.size() && count < run) {
      length = characters.LengthAt(bytes, end);
      if (length == 0 || end + length > bytes.size()) break;
      end += length;
      ++count;
    }
    if (count == 0 && length == 0) {
      // Bytes that begin no character: the first is "?".
      text += u'?';
      ++at;
    } else if (count == 0) {
      // A character that the end of `bytes` cuts off.
      if (!at_end) break;
      text += u'?';
      at = bytes.size();
    } else if (ReadStrictly(number, characters.ForSystem(bytes.substr(at, end - at), buffer),
                            text)) {
      at = end;
      run = std::min(2 * run, bytes.size());
    } else if (count == 1) {
      // Its first byte is no character; reading goes on with the next.
      text += u'?';
      ++at;
    } else {
      run = count / 2;
    }
  }
  return at;
}

void EncodeWithSystem(uint32_t code_page, std::u16string_view text, std::string& out) {
  if (text.empty()) return;
  const UINT number = SystemNumber(code_page);
  std::u16string kept;
  if (std::any_of(text.begin(), text.end(), IsPrivateUse)) {
    kept = text;
    std::array<signed char, 0xF900 - 0xE000> written_back{};
    for (char16_t& c : kept) {
      if (!IsPrivateUse(c)) continue;
      signed char& known = written_back[c - 0xE000];
      if (known == 0) known = WritesBack(number, c) ? 1 : -1;
      if (known < 0) c = u'?';
    }
    text = kept;
  }
  const size_t start = out.size();
  // Two bytes a character at most, in every ANSI code page.
  out.resize(start + 2 * text.size());
  BOOL defaulted = FALSE;
  const int count = WideCharToMultiByte(number, WC_NO_BEST_FIT_CHARS,
                                        reinterpret_cast<const wchar_t*>(text.data()),
                                        static_cast<int>(text.size()), out.data() + start,
                                        static_cast<int>(2 * text.size()), "?", &defaulted);
  out.resize(start + static_cast<size_t>(count));
}

}  // namespace lintrel::cli
