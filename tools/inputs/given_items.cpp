#include "tools/inputs/given_items.h"

#include <utility>

#include "tools/inputs/sample_message.h"
#include "tools/inputs/size_limit.h"

namespace lintrel::cli {
namespace {

// A whole file as one item: a regular file stays in the file, refused by
// its size before anything is read; a stream is read whole.
struct WholeFile {
  std::shared_ptr<const void> storage;
  ItemBytes item;
};

WholeFile ReadWholeFile(const std::string& path) {
  auto file = std::make_shared<InputFile>(path, Listed::kAsNamed);
  if (const std::optional<uint64_t> size = file->RegularSize()) {
    CheckSize(file->name(), *size);
    const ItemBytes item(*file, 0, static_cast<size_t>(*size));
    return {std::move(file), item};
  }
  auto bytes = std::make_shared<ByteBuffer>();
  file->ReadRest(*bytes);
  const ItemBytes item = bytes->view();
  return {std::move(bytes), item};
}

}  // namespace

Message SampleMessage() {
  return Message::FromBytes({}, nullptr, kSampleMessage);
}

Message HeadersAndBodyMessage(const Options& options) {
  // The header block is always held; the body may stay in its file.
  auto headers = std::make_shared<ByteBuffer>();
  if (options.headers) InputFile(*options.headers, Listed::kAsNamed).ReadRest(*headers);
  WholeFile body;
  if (options.body) body = ReadWholeFile(*options.body);
  struct Both {
    std::shared_ptr<const ByteBuffer> headers;
    std::shared_ptr<const void> body;
  };
  const std::string_view header_bytes = headers->view();
  auto both = std::make_shared<Both>(Both{std::move(headers), std::move(body.storage)});
  return Message::FromParts({}, std::move(both), header_bytes, body.item);
}

GivenParameters::GivenParameters(const Options& options) {
  for (size_t n = 0; n < parameters_.size(); ++n) {
    if (options.parameter_files[n]) {
      WholeFile file = ReadWholeFile(*options.parameter_files[n]);
      storage_[n] = std::move(file.storage);
      parameters_[n] = file.item;
    } else if (n < options.parameters.size()) {
      parameters_[n] = std::string_view(options.parameters[n]);
    }
  }
}

}  // namespace lintrel::cli
