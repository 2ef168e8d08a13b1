// The code pages through glibc's iconv. Opening a converter costs far more
// than a short conversion, so each thread keeps those it opened, with what
// was learnt of the code page, for its lifetime.
//
// glibc and Windows differ in a few ways that matter here, which this side
// makes up for:
// - glibc leaves the unassigned bytes 0x80-0x9F of 874 and 1250-1258 (and
//   0x80 of 932 and 949) undefined, where Windows has the C1 controls;
// - glibc's 1255 and 1258 combine a letter with the accent that follows it,
//   and write a letter as letter and accent, where Windows reads and writes
//   a byte at a time; so a single-byte code page is read and written
//   through a table of its 256 bytes, each converted on its own;
// - glibc's 932 writes some characters it does not have as look-alikes (the
//   yen sign as a backslash, U+2014 as U+2015); so a double-byte code page
//   writes only the characters that some sequence of its bytes reads as.
#include "tools/base/code_pages.h"

#include <errno.h>
#include <iconv.h>

#include <algorithm>
#include <array>
#include <bit>
#include <memory>
#include <utility>
#include <vector>

#include "tools/base/code_page_system.h"

namespace lintrel::cli {
namespace {

// glibc's name for each code page that the system side converts, nullptr
// for the others.
const char* IconvName(uint32_t code_page) {
  switch (code_page) {
    case 866:
      return "CP866";
    case 874:
      return "CP874";
    case 932:
      return "CP932";
    case 936:
      return "CP936";
    case 949:
      return "CP949";
    case 950:
      return "CP950";
    case 1250:
      return "CP1250";
    case 1251:
      return "CP1251";
    case 1252:
      return "CP1252";
    case 1253:
      return "CP1253";
    case 1254:
      return "CP1254";
    case 1255:
      return "CP1255";
    case 1256:
      return "CP1256";
    case 1257:
      return "CP1257";
    case 1258:
      return "CP1258";
    case 10000:
      return "MACINTOSH";
    case 20866:
      return "KOI8-R";
    case 21866:
      return "KOI8-U";
    case 20932:
      return "EUC-JP";
    case 28592:
      return "ISO-8859-2";
    case 28593:
      return "ISO-8859-3";
    case 28594:
      return "ISO-8859-4";
    case 28595:
      return "ISO-8859-5";
    case 28596:
      return "ISO-8859-6";
    case 28597:
      return "ISO-8859-7";
    case 28598:
      return "ISO-8859-8";
    // The logical order of ISO-8859-8-I is a matter of display alone.
    case 38598:
      return "ISO-8859-8";
    case 28600:
      return "ISO-8859-10";
    case 28603:
      return "ISO-8859-13";
    case 28604:
      return "ISO-8859-14";
    case 28605:
      return "ISO-8859-15";
    case 28606:
      return "ISO-8859-16";
    case 54936:
      return "GB18030";
    default:
      return nullptr;
  }
}

// UTF-16 in this machine's byte order, which char16_t holds.
constexpr const char* kUtf16 = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

// What a byte is on its own: a character (its code point), the first byte of
// a longer one, or nothing.
constexpr char32_t kLeadByte = 0x110000;
constexpr char32_t kUndefined = 0x110001;

class IconvCodePage {
 public:
  // Opens the converters of `code_page`; ok() tells whether glibc has it.
  explicit IconvCodePage(uint32_t code_page)
      : code_page_(code_page), single_byte_(IsSingleByteCodePage(code_page)) {
    const char* name = IconvName(code_page);
    if (name == nullptr) return;
    decoder_ = iconv_open(kUtf16, name);
    encoder_ = iconv_open(name, kUtf16);
    if (!ok()) return;
    for (int b = 0; b < 256; ++b) single_[b] = ReadAlone(static_cast<char>(b));
    if (single_byte_) {
      for (int b = 0; b < 256; ++b) {
        if (single_[b] <= 0xFFFF) byte_of_.emplace_back(single_[b], static_cast<char>(b));
      }
      // The first byte of each character stays first: the lowest wins.
      std::stable_sort(byte_of_.begin(), byte_of_.end(),
                       [](const auto& a, const auto& b) { return a.first < b.first; });
    }
  }

  ~IconvCodePage() {
    if (decoder_ != kClosed) iconv_close(decoder_);
    if (encoder_ != kClosed) iconv_close(encoder_);
  }

  IconvCodePage(const IconvCodePage&) = delete;
  IconvCodePage& operator=(const IconvCodePage&) = delete;

  uint32_t code_page() const { return code_page_; }
  bool ok() const { return decoder_ != kClosed && encoder_ != kClosed; }

  // As DecodeWithSystem.
  size_t Decode(std::string_view bytes, bool at_end, std::u16string& text) {
    if (single_byte_) {
      const size_t start = text.size();
      text.resize(start + bytes.size());
      for (size_t i = 0; i < bytes.size(); ++i) {
        const char32_t c = single_[static_cast<unsigned char>(bytes[i])];
        text[start + i] = c <= 0xFFFF ? static_cast<char16_t>(c) : u'?';
      }
      return bytes.size();
    }
    iconv(decoder_, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(bytes.data());
    size_t in_left = bytes.size();
    char16_t units[4096];
    while (in_left > 0) {
      char* const in_start = in;
      char* out = reinterpret_cast<char*>(units);
      size_t out_left = sizeof units;
      const size_t result = iconv(decoder_, &in, &in_left, &out, &out_left);
      text.append(units, reinterpret_cast<char16_t*>(out));
      if (result != static_cast<size_t>(-1) || errno == E2BIG) continue;
      if (errno == EINVAL) {
        // A character that the end of `bytes` cuts off.
        if (!at_end) break;
        text += u'?';
        in_left = 0;
        break;
      }
      // EILSEQ: iconv stops at a byte that is no character and begins none
      // it can, and reading goes on with the next. glibc's 949 stops after
      // the pair A2 E8, which it refuses, instead of at it: reading goes on
      // at its second byte, as after any pair refused.
      if (in_left == 0 || BeginsCharacter(in, in_left)) {
        text += u'?';
        if (in - in_start >= 2) {
          --in;
          ++in_left;
        }
        continue;
      }
      const char32_t alone = single_[static_cast<unsigned char>(*in)];
      text += alone <= 0xFFFF ? static_cast<char16_t>(alone) : u'?';
      ++in;
      --in_left;
    }
    return bytes.size() - in_left;
  }

  // As EncodeWithSystem.
  void Encode(std::u16string_view text, std::string& out) {
    if (single_byte_) {
      const size_t start = out.size();
      out.resize(start + text.size());
      for (size_t i = 0; i < text.size(); ++i) out[start + i] = ByteOf(text[i]);
      return;
    }
    if (readable_.empty()) FindReadable();
    // Runs of characters that the code page has go through iconv; each other
    // character is "?", or the byte of a C1 control that stands for itself.
    size_t run = 0;
    for (size_t i = 0; i < text.size(); ++i) {
      const char16_t c = text[i];
      const bool c1_byte = c >= 0x80 && c <= 0x9F && single_[c] == c;
      if (readable_[c] && !c1_byte) continue;
      EncodeRun(text.substr(run, i - run), out);
      out += c1_byte ? static_cast<char>(c) : '?';
      run = i + 1;
    }
    EncodeRun(text.substr(run), out);
  }

 private:
  static inline const iconv_t kClosed = reinterpret_cast<iconv_t>(-1);

  // What `byte` is on its own (see kLeadByte); an undefined byte from 0x80
  // to 0x9F is the C1 control of the same number.
  char32_t ReadAlone(char byte) {
    iconv(decoder_, nullptr, nullptr, nullptr, nullptr);
    char* in = &byte;
    size_t in_left = 1;
    char16_t units[4];
    char* out = reinterpret_cast<char*>(units);
    size_t out_left = sizeof units;
    const bool read = iconv(decoder_, &in, &in_left, &out, &out_left) != static_cast<size_t>(-1);
    const int error = errno;
    // The combining converters hold a letter back until they are flushed.
    iconv(decoder_, nullptr, nullptr, &out, &out_left);
    const auto b = static_cast<unsigned char>(byte);
    if (read && out_left == sizeof units - sizeof(char16_t)) return units[0];
    if (!read && error == EINVAL) return kLeadByte;
    // Windows' 950 gives the rows that Big5 leaves free (lead bytes 0x81-0xA0
    // and 0xFA-0xFE) to user-defined characters, which glibc's lacks.
    if (code_page_ == 950 && b >= 0x81 && b <= 0xFE) return kLeadByte;
    return b >= 0x80 && b <= 0x9F ? b : kUndefined;
  }

  // Whether the `size` bytes at `p` begin with a character, perhaps one
  // that they cut off, or with a sequence that iconv reads past.
  bool BeginsCharacter(char* p, size_t size) {
    iconv(decoder_, nullptr, nullptr, nullptr, nullptr);
    char16_t units[2];
    char* out = reinterpret_cast<char*>(units);
    size_t out_left = sizeof units;
    const size_t left = size;
    const bool read = iconv(decoder_, &p, &size, &out, &out_left) != static_cast<size_t>(-1);
    return read || errno != EILSEQ || size < left;
  }

  char ByteOf(char16_t c) const {
    if (c < 0x80 && single_[c] == c) return static_cast<char>(c);
    const auto found =
        std::lower_bound(byte_of_.begin(), byte_of_.end(), c,
                         [](const auto& entry, char16_t v) { return entry.first < v; });
    return found != byte_of_.end() && found->first == c ? found->second : '?';
  }

  // Marks the characters that some sequence of the code page's bytes reads
  // as: every byte alone, and every pair, each after a line break, which
  // ends whatever a bad pair before it began.
  void FindReadable() {
    readable_.assign(0x10000, false);
    std::string pairs;
    std::u16string text;
    for (int lead = 0x80; lead < 0x100; ++lead) {
      pairs.clear();
      for (int trail = 0; trail < 0x100; ++trail) {
        pairs += static_cast<char>(lead);
        pairs += static_cast<char>(trail);
        pairs += '\n';
      }
      text.clear();
      Decode(pairs, true, text);
      for (const char16_t c : text) readable_[c] = true;
    }
    for (int b = 0; b < 256; ++b) {
      if (single_[b] <= 0xFFFF) readable_[single_[b]] = true;
    }
  }

  void EncodeRun(std::u16string_view run, std::string& out) {
    iconv(encoder_, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(reinterpret_cast<const char*>(run.data()));
    size_t in_left = run.size() * sizeof(char16_t);
    while (in_left > 0) {
      const size_t start = out.size();
      // Two bytes a character at most.
      out.resize(start + in_left);
      char* next = out.data() + start;
      size_t out_left = in_left;
      const size_t result = iconv(encoder_, &in, &in_left, &next, &out_left);
      out.resize(next - out.data());
      if (result != static_cast<size_t>(-1) || errno == E2BIG) continue;
      // Not expected of a character that the code page reads, but should
      // glibc refuse one, it is a "?".
      out += '?';
      in += sizeof(char16_t);
      in_left -= std::min(in_left, sizeof(char16_t));
    }
  }

  uint32_t code_page_;
  bool single_byte_;
  iconv_t decoder_ = kClosed;
  iconv_t encoder_ = kClosed;
  std::array<char32_t, 256> single_{};
  // Of a single-byte code page: each character it has with its byte, in
  // the order of the characters.
  std::vector<std::pair<char16_t, char>> byte_of_;
  // Of a double-byte code page, once it is written to: the characters of
  // the Basic Multilingual Plane that it has.
  std::vector<bool> readable_;
};

// This thread's converters of `code_page`, nullptr when glibc has none.
IconvCodePage* ForThisThread(uint32_t code_page) {
  thread_local std::vector<std::unique_ptr<IconvCodePage>> opened;
  for (const auto& page : opened) {
    if (page->code_page() == code_page) return page->ok() ? page.get() : nullptr;
  }
  // Each code page is opened once, whether glibc has it or not, and only
  // those that code_pages.cpp lists come here: the list stays short.
  opened.push_back(std::make_unique<IconvCodePage>(code_page));
  return opened.back()->ok() ? opened.back().get() : nullptr;
}

}  // namespace

bool SystemConverts(uint32_t code_page) {
  return ForThisThread(code_page) != nullptr;
}

size_t DecodeWithSystem(uint32_t code_page, std::string_view bytes, bool at_end,
                        std::u16string& text) {
  return ForThisThread(code_page)->Decode(bytes, at_end, text);
}

void EncodeWithSystem(uint32_t code_page, std::u16string_view text, std::string& out) {
  ForThisThread(code_page)->Encode(text, out);
}

}  // namespace lintrel::cli
