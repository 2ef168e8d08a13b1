#include "tools/file_items.h"

#include <algorithm>
#include <utility>

namespace lintrel::cli {
namespace {

// The first read of a message file; most messages fit in it whole.
constexpr size_t kFirstRead = size_t{1} << 16;

}  // namespace

WholeFile::WholeFile(const std::string& path, size_t limit) : file_(path) {
  if (const std::optional<uint64_t> size = file_.RegularSize()) {
    if (*size > limit) RaiseTooLarge(file_.name(), limit);
    return;
  }
  ReadRest(file_, stream_, limit);
  if (stream_.size() > limit) RaiseTooLarge(file_.name(), limit);
}

ItemBytes WholeFile::item() const {
  if (const std::optional<uint64_t> size = file_.RegularSize()) {
    return ItemBytes(file_, 0, static_cast<size_t>(*size));
  }
  return stream_.view();
}

MessageFile::MessageFile(InputFile& file, ByteBuffer front, size_t limit)
    : file_(file), front_(std::move(front)) {
  const std::optional<uint64_t> regular_size = file_.RegularSize();
  if (!regular_size) {
    ReadRest(file_, front_, limit);
    if (front_.size() > limit) RaiseTooLarge(file_.name(), limit);
    size_ = front_.size();
    split_ = *FindSplit(front_.view(), true);
    return;
  }
  if (*regular_size > limit) RaiseTooLarge(file_.name(), limit);
  size_ = *regular_size;
  // The front grows until it holds the whole header block and the break
  // after it: reading twice as much each time keeps the cost linear.
  size_t want = std::min<uint64_t>(size_, kFirstRead);
  for (;;) {
    ReadFrontTo(want);
    if (const std::optional<SplitPoint> split = FindSplit(front_.view(), want == size_)) {
      split_ = *split;
      return;
    }
    want = std::min<uint64_t>(size_, want * 2);
  }
}

MessageItems MessageFile::items() const {
  if (front_.size() == size_) {
    return {headers(), front_.view().substr(split_.body_start)};
  }
  return {headers(),
          ItemBytes(file_, split_.body_start, static_cast<size_t>(size_ - split_.body_start))};
}

std::string_view MessageFile::Whole() {
  ReadFrontTo(static_cast<size_t>(size_));
  return front_.view();
}

void MessageFile::ReadFrontTo(size_t size) {
  const size_t have = front_.size();
  if (have >= size) return;
  front_.Reserve(size);
  file_.ReadAt(have, front_.data() + have, size - have);
  front_.Resize(size);
}

}  // namespace lintrel::cli
