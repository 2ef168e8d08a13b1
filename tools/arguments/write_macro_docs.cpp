// lintrel_macro_docs: writes the macro reference into the documents, so that
// nobody edits them by hand.
//   lintrel_macro_docs docs/macros.md docs/lintrel.1.in
// rewrites the first file whole and, in the manual page's source, the lines
// between its two marker lines.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

#include "tools/arguments/macro_reference.h"

namespace {

std::optional<std::string> ReadFile(const char* path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return text;
}

bool WriteFile(const char* path, std::string_view text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.close();
  return !out.fail();
}

// `page` with the lines between the marker lines replaced by `section`;
// nullopt when the markers are not there, in this order, each once.
std::optional<std::string> WithManualSection(const std::string& page, std::string_view section) {
  using lintrel::cli::kManualSectionBegin;
  using lintrel::cli::kManualSectionEnd;
  const size_t begin = page.find(kManualSectionBegin);
  const size_t end = page.find(kManualSectionEnd);
  if (begin == std::string::npos || end == std::string::npos || end < begin ||
      page.find(kManualSectionBegin, begin + 1) != std::string::npos ||
      page.find(kManualSectionEnd, end + 1) != std::string::npos) {
    return std::nullopt;
  }
  // A marker is a whole line.
  if ((begin > 0 && page[begin - 1] != '\n') || page[end - 1] != '\n') return std::nullopt;
  const size_t section_start = begin + kManualSectionBegin.size();
  return page.substr(0, section_start) + std::string(section) + page.substr(end);
}

int Fail(const std::string& message) {
  std::cerr << "lintrel_macro_docs: " << message << "\n";
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: lintrel_macro_docs MACROS_MD MANUAL_PAGE_SOURCE\n"
                 "  e.g. lintrel_macro_docs docs/macros.md docs/lintrel.1.in\n";
    return 2;
  }
  const char* markdown_path = argv[1];
  const char* manual_path = argv[2];

  const std::optional<std::string> page = ReadFile(manual_path);
  if (!page) return Fail(std::string(manual_path) + ": cannot be read");
  const std::optional<std::string> new_page =
      WithManualSection(*page, lintrel::cli::MacroReferenceManual());
  if (!new_page) {
    const auto line = [](std::string_view marker) {
      return std::string(marker.substr(0, marker.size() - 1));
    };
    return Fail(std::string(manual_path) + ": needs the lines " +
                line(lintrel::cli::kManualSectionBegin) + " and " +
                line(lintrel::cli::kManualSectionEnd) + ", once each and in this order");
  }
  if (!WriteFile(markdown_path, lintrel::cli::MacroReferenceMarkdown())) {
    return Fail(std::string(markdown_path) + ": cannot be written");
  }
  if (!WriteFile(manual_path, *new_page)) {
    return Fail(std::string(manual_path) + ": cannot be written");
  }
  return 0;
}
