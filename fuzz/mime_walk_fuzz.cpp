// FindTextPart on a message split as lintrel splits it: on the whole body
// an answer, never "more"; a part found lies inside the body and decodes
// to no more bytes than it has; and every prefix tried answers "more" or
// exactly what the whole body answers.
#include <algorithm>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "tools/body_text/mime_walk.h"
#include "tools/inputs/message_split.h"

namespace {

using lintrel::cli::TextPartAnswer;
using lintrel::cli::TextPartStatus;

bool Same(const TextPartAnswer& a, const TextPartAnswer& b) {
  return a.status == b.status && a.part.bytes.data() == b.part.bytes.data() &&
         a.part.bytes.size() == b.part.bytes.size() && a.part.encoding == b.part.encoding &&
         a.part.charset == b.part.charset && a.part.html == b.part.html;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace lintrel;
  const std::string message(reinterpret_cast<const char*>(data), size);
  const cli::MessageParts parts = cli::SplitMessage(message);
  const TextPartAnswer whole = cli::FindTextPart(parts.headers, parts.body, true);
  fuzz::Check(whole.status != TextPartStatus::kNeedMore, "more wanted of a whole body");
  if (whole.status == TextPartStatus::kFound) {
    const std::string_view bytes = whole.part.bytes;
    fuzz::Check(bytes.data() >= parts.body.data() &&
                    bytes.data() + bytes.size() <= parts.body.data() + parts.body.size(),
                "part outside the body");
    std::vector<char> out(bytes.size());
    fuzz::Check(cli::DecodeTransferEncoding(whole.part.encoding, bytes, out.data()) <= bytes.size(),
                "decoded part longer than the part");
  }
  // Every prefix of a short body, some dozens of a long one.
  const size_t step = std::max<size_t>(1, parts.body.size() / 48);
  for (size_t n = 0; n < parts.body.size(); n += step) {
    const TextPartAnswer prefix = cli::FindTextPart(parts.headers, parts.body.substr(0, n), false);
    if (prefix.status == TextPartStatus::kNeedMore) continue;
    fuzz::Check(Same(prefix, whole), "a prefix answers otherwise than the whole body",
                parts.body.substr(0, n));
  }
  return 0;
}
