// Undoing a MIME part's Content-Transfer-Encoding as mail readers do: never
// an error, broken input decoded as far as it goes, byte for byte what
// Python's email package gives for the part
// (email.message.Message.get_payload(decode=True)).
#ifndef LINTREL_TOOLS_BODY_TEXT_TRANSFER_ENCODINGS_H_
#define LINTREL_TOOLS_BODY_TEXT_TRANSFER_ENCODINGS_H_

#include <cstddef>
#include <string_view>

namespace lintrel::cli {

// What a part's Content-Transfer-Encoding asks to undo. Every other value
// (7bit, 8bit, binary, a name nobody knows, none) leaves the bytes as they
// stand.
enum class TransferEncoding { kNone, kBase64, kQuotedPrintable };

// Each decoder writes the decoded bytes of `in` to `out`, which has room for
// in.size() bytes and does not overlap `in`, and returns how many it wrote:
// never more than in.size().

// Base64 with Python's leniency: line breaks and bytes outside the alphabet
// are skipped, missing padding is supplied, and decoding stops at the first
// completed padding. Input that cannot be base64 whatever is added (one
// letter over a multiple of four) comes back as it stands, less its line
// breaks.
size_t DecodeBase64(std::string_view in, char* out);

// Quoted-printable as binascii.a2b_qp reads it: "=XX" in either letter case
// is the byte XX; "=" then a line break is a soft break, dropped with
// everything up to the next line feed; "==" is "="; "=" before anything else
// stays as it is, and a last "=" is dropped. Blanks at line ends are kept.
size_t DecodeQuotedPrintable(std::string_view in, char* out);

// `in` decoded by `encoding`; kNone copies it.
size_t DecodeTransferEncoding(TransferEncoding encoding, std::string_view in, char* out);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_BODY_TEXT_TRANSFER_ENCODINGS_H_
