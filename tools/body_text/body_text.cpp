#include "tools/body_text/body_text.h"

#include <algorithm>
#include <utility>

#include "body/byte_search.h"
#include "tools/base/byte_buffer.h"
#include "tools/base/code_pages.h"
#include "tools/base/system.h"
#include "tools/body_text/charset_labels.h"
#include "tools/body_text/encoded_words.h"
#include "tools/body_text/iso_2022_jp.h"
#include "tools/body_text/mime_headers.h"
#include "tools/body_text/mime_walk.h"
#include "tools/body_text/transfer_encodings.h"
#include "tools/locales/windows_locale.h"

namespace lintrel::cli {
namespace {

// Beyond what the first read brought, the body is looked at this much,
// and twice as much each time the text part is not yet known.
constexpr size_t kFirstLook = size_t{1} << 16;

// A body in its file is checked for bytes above 127 this much at a time,
// so that one that is all ASCII can stay there.
constexpr size_t kCheckChunk = size_t{1} << 20;

constexpr uint32_t kEucJpCodePage = 20932;

// Whether `bytes` holds nothing but ASCII, the same text in every code page
// that keeps ASCII as ASCII (see AsciiCompatible).
bool IsPlainAscii(std::string_view bytes) {
  return FindNonAscii(bytes, 0) == bytes.size();
}

// Whether ASCII text is the same text in `code_page`: not in UTF-16, nor in
// ISO-2022-JP, whose escapes are ASCII bytes that switch to other
// characters.
bool AsciiCompatible(uint32_t code_page) {
  return code_page != kUtf16LeCodePage && code_page != kUtf16BeCodePage &&
         code_page != kIso2022JpCodePage;
}

// Whether the text `bytes` in `from` is the same bytes in `to`.
bool SameBytes(std::string_view bytes, uint32_t from, uint32_t to) {
  return (from == to && IsSingleByteCodePage(from)) ||
         (AsciiCompatible(from) && IsPlainAscii(bytes));
}

// The text `bytes` in `from`, appended to `out` in `to`: as it stands where
// that is the same text, else converted; as it stands, too, where the
// system cannot convert it.
void AppendInCodePage(std::string_view bytes, uint32_t from, uint32_t to, std::string& out) {
  if (SameBytes(bytes, from, to) || !ConvertCodePage(bytes, from, to, out)) out.append(bytes);
}

// A byte order mark at the front of `bytes`, which names the encoding
// whatever the label says: its code page and length.
std::optional<std::pair<uint32_t, size_t>> ByteOrderMark(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) return std::pair(kUtf8CodePage, size_t{3});
  if (bytes.starts_with("\xFE\xFF")) return std::pair(kUtf16BeCodePage, size_t{2});
  if (bytes.starts_with("\xFF\xFE")) return std::pair(kUtf16LeCodePage, size_t{2});
  return std::nullopt;
}

// Whether the body text of a whole body in `from` is the body's own bytes:
// the body is read a piece at a time and not held.
bool BodyStandsAsItIs(const ItemBytes& body, uint32_t from, const TextTarget& target) {
  if (target.utf8 || !AsciiCompatible(from)) return false;
  if (from == target.code_page && IsSingleByteCodePage(from)) return true;
  if (!body.in_file()) return IsPlainAscii(body.memory());
  ByteBuffer chunk;
  chunk.Reserve(std::min(kCheckChunk, body.size()));
  for (size_t at = 0; at < body.size(); at += kCheckChunk) {
    const size_t n = std::min(kCheckChunk, body.size() - at);
    body.CopyAt(at, chunk.data(), n);
    chunk.Resize(n);
    if (!IsPlainAscii(chunk.view())) return false;
  }
  return true;
}

// Whether the text of `bytes` in `encoding` (nullptr for none) is `bytes`
// themselves in the target.
bool StandsAsItIs(std::string_view bytes, const CharsetEncoding* encoding,
                  const TextTarget& target) {
  if (target.utf8) return false;
  if (encoding == nullptr) return true;
  if (ByteOrderMark(bytes)) return false;
  return SameBytes(bytes, encoding->code_page, target.code_page);
}

}  // namespace

TextTarget TargetOf(const Options& options) {
  TextTarget target;
  target.code_page =
      options.locale ? ChosenLocale(*options.locale).code_page : DefaultAnsiCodePage();
  target.utf8 = options.output_encoding == OutputEncoding::kUtf8;
  return target;
}

void AppendConverted(std::string_view bytes, std::optional<std::string_view> label,
                     const TextTarget& target, std::string& out) {
  const CharsetEncoding* encoding = label ? EncodingForLabel(*label) : nullptr;
  if (encoding == nullptr) {
    // Bytes as they stand, even those that are no character of the code
    // page; in UTF-8, the text they are in it.
    if (target.utf8) {
      AppendInCodePage(bytes, target.code_page, kUtf8CodePage, out);
    } else {
      out.append(bytes);
    }
    return;
  }
  uint32_t from = encoding->code_page;
  if (const auto mark = ByteOrderMark(bytes)) {
    from = mark->first;
    bytes.remove_prefix(mark->second);
  }
  std::string made;
  if (from == kUserDefinedCodePage) {
    // Its bytes above 127 are characters of no code page.
    made.assign(bytes);
    std::replace_if(
        made.begin(), made.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; },
        '?');
    bytes = made;
    from = target.code_page;
  } else if (from == kIso2022JpCodePage) {
    made = Iso2022JpToEucJp(bytes);
    bytes = made;
    from = kEucJpCodePage;
  }
  if (!target.utf8) {
    AppendInCodePage(bytes, from, target.code_page, out);
    return;
  }
  // The text in the code page first, so that it holds only what the code
  // page holds; then the same text in UTF-8.
  std::string in_page;
  AppendInCodePage(bytes, from, target.code_page, in_page);
  AppendInCodePage(in_page, target.code_page, kUtf8CodePage, out);
}

ItemBytes MakeBodyText(Message& message, const TextTarget& target,
                       std::shared_ptr<const void>& storage) {
  const std::string_view headers = message.ReadHeaders();
  const HeaderFields fields = ReadHeaderBlock(headers);
  // Lines of the header block from one that is no header line on are the
  // front of the body to a mail reader.
  const std::string lead =
      fields.end() < headers.size()
          ? std::string(headers.substr(fields.end())) + std::string(message.empty_line())
          : "";
  // What keeps the bytes that the text is made from, where the message
  // does not.
  std::shared_ptr<const void> keeper;
  const auto body_front = [&](size_t want) {
    const std::string_view front = message.BodyPrefix(want);
    if (lead.empty()) return front;
    auto joined = std::make_shared<std::string>(lead + std::string(front));
    const std::string_view view = *joined;
    keeper = std::move(joined);
    return view;
  };
  const size_t whole_size = lead.size() + message.body().size();
  // A message that is one text, as most are, is found to be so by its
  // header block alone: its text is its whole body.
  TextPartAnswer answer = FindTextPart(fields, {}, true);
  const bool whole_body = answer.status == TextPartStatus::kFound;
  // What the first read brought is looked at first.
  for (size_t want = 0; !whole_body;) {
    const std::string_view front = body_front(want);
    answer = FindTextPart(fields, front, front.size() == whole_size);
    if (answer.status != TextPartStatus::kNeedMore) break;
    want = std::max(kFirstLook, 2 * (front.size() - lead.size()));
  }
  if (answer.status != TextPartStatus::kFound) return {};
  const TextPart& part = answer.part;
  const CharsetEncoding* encoding = part.charset ? EncodingForLabel(*part.charset) : nullptr;
  std::string_view bytes = part.bytes;
  if (whole_body) {
    const ItemBytes& body = message.body();
    const bool marked = encoding != nullptr && ByteOrderMark(message.BodyPrefix(3)).has_value();
    if (part.encoding == TransferEncoding::kNone && !marked && lead.empty() &&
        BodyStandsAsItIs(body, encoding != nullptr ? encoding->code_page : target.code_page,
                         target)) {
      return body;
    }
    if (lead.empty() && body.in_file()) {
      // Read for the text alone, and let go once the text is made.
      auto read = std::make_shared<ByteBuffer>();
      read->Reserve(body.size());
      body.CopyFront(read->data(), body.size());
      read->Resize(body.size());
      bytes = read->view();
      keeper = std::move(read);
    } else {
      bytes = body_front(body.size());
    }
  }
  if (part.encoding != TransferEncoding::kNone) {
    auto decoded = std::make_shared<ByteBuffer>();
    decoded->Reserve(bytes.size());
    decoded->Resize(DecodeTransferEncoding(part.encoding, bytes, decoded->data()));
    bytes = decoded->view();
    keeper = std::move(decoded);
  }
  if (StandsAsItIs(bytes, encoding, target)) {
    storage = std::move(keeper);
    return bytes;
  }
  auto text = std::make_shared<std::string>();
  // As long as the text, most times: into a code page of one byte a
  // character it shrinks, into UTF-8 or a code page of two it may grow.
  text->reserve(bytes.size());
  AppendConverted(bytes, part.charset, target, *text);
  const std::string_view view = *text;
  storage = std::move(text);
  return view;
}

std::string SubjectText(std::string_view headers, const TextTarget& target) {
  std::string subject;
  const std::optional<std::vector<TextSegment>> segments = DecodedSubject(headers);
  if (!segments) return subject;
  for (const TextSegment& segment : *segments) {
    // A mail reader takes the bytes above 127 of the field itself, and
    // the words in a charset it does not know, for UTF-8.
    const bool known = segment.encoded && EncodingForLabel(segment.charset) != nullptr;
    AppendConverted(segment.bytes, known ? std::string_view(segment.charset) : "utf-8", target,
                    subject);
  }
  return subject;
}

}  // namespace lintrel::cli
