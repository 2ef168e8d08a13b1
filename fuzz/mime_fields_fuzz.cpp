// The field readers on any value: a Content-Type reads the same the quick
// way and the long way, its type is "text/plain" or
// holds one "/" and no upper case letter, a boundary ends in no space, the
// readers of the other fields take anything, and an unstructured value's
// decoded segments hold no more bytes than the value.
#include <algorithm>
#include <string>

#include "fuzz_support.h"
#include "tools/body_text/encoded_words.h"
#include "tools/body_text/mime_bytes.h"
#include "tools/body_text/mime_parameters.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace lintrel;
  const std::string_view value(reinterpret_cast<const char*>(data), size);
  const cli::ContentTypeValue content_type(value);
  fuzz::Check(content_type == cli::ContentTypeValue::ReadAsPythonWritesIt(value),
              "the plain reading differs from the long one", value);
  const std::string& type = content_type.type();
  fuzz::Check(std::count(type.begin(), type.end(), '/') == 1, "type without one /", type);
  fuzz::Check(std::none_of(type.begin(), type.end(), [](char c) { return c >= 'A' && c <= 'Z'; }),
              "type in upper case", type);
  if (const auto boundary = content_type.Boundary()) {
    fuzz::Check(boundary->empty() || !cli::IsPythonSpace(boundary->back()),
                "boundary ends in space", *boundary);
  }
  content_type.Param("charset");
  cli::IsAttachment(value);
  cli::TransferEncodingOf(value);
  size_t decoded = 0;
  for (const cli::TextSegment& segment : cli::DecodeUnstructured(value)) {
    decoded += segment.bytes.size();
    fuzz::Check(!segment.bytes.empty() || segment.encoded, "empty plain segment");
  }
  fuzz::Check(decoded <= size, "decoded segments longer than the value");
  return 0;
}
