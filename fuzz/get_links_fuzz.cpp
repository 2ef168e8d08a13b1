// GetLinks over a fuzzed text against a plain left-to-right scan: at each
// position a link begins where "http:" or "ftp:" stands in any letter case
// and runs through the link characters; the links are joined by CR LF. Each
// link begins with its scheme and holds link characters only.
#include <string>
#include <string_view>

#include "body/links.h"
#include "fuzz_support.h"
#include "text/text.h"

namespace {

bool IsLinkCharacter(unsigned char c) {
  return (c >= 0x21 && c <= 0x3A) || lintrel::IsAsciiLetter(c) || c == '@' || c == '_' || c == '~';
}

bool SchemeAt(std::string_view t) {
  return lintrel::StartsWithIgnoringCase(t, "http:") || lintrel::StartsWithIgnoringCase(t, "ftp:");
}

std::string Reference(std::string_view t) {
  std::string out;
  size_t i = 0;
  while (i < t.size()) {
    if (!SchemeAt(t.substr(i))) {
      ++i;
      continue;
    }
    size_t end = i;
    while (end < t.size() && IsLinkCharacter(static_cast<unsigned char>(t[end]))) ++end;
    if (!out.empty()) out += "\r\n";
    out.append(t.substr(i, end - i));
    i = end;
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace lintrel;
  const std::string text(reinterpret_cast<const char*>(data), size);
  const Text links = GetLinks(text);
  fuzz::Check(links == Reference(text), "links differ", links);
  std::string_view rest = links;
  while (!rest.empty()) {
    const size_t end = rest.find("\r\n");
    const std::string_view link = rest.substr(0, end);
    fuzz::Check(SchemeAt(link), "link without its scheme", link);
    for (char c : link) {
      fuzz::Check(IsLinkCharacter(static_cast<unsigned char>(c)), "byte outside a link", link);
    }
    fuzz::Check(end == std::string_view::npos || end + 2 < rest.size(),
                "empty link or trailing break");
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 2);
  }
  return 0;
}
