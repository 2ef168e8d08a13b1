#include "tools/run/provider.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "text/integer.h"
#include "tools/run/message_items.h"
#include "tools/run/plugin.h"

namespace lintrel::cli {
namespace {

constexpr int32_t kNoInterface = static_cast<int32_t>(0x80004002u);

// {00000000-0000-0000-C000-000000000046}
constexpr InterfaceId kUnknownId = {0, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// Runs a provider operation. What it throws (an input file that cannot be
// read, output that cannot be written) must cross the plug-in's frames the
// way the plug-in expects a host's errors; the frame of this function holds
// nothing to destroy while that happens.
template <typename Operation>
int32_t Guarded(const Operation& operation) {
  std::exception_ptr* failure = nullptr;
  try {
    return operation();
  } catch (...) {
    failure = new std::exception_ptr(std::current_exception());
  }
  ThrowThroughPlugin(failure);
}

}  // namespace

void CliProvider::SetItem(int32_t item, const ItemBytes& bytes) {
  for (size_t n = 0; n < item_count_; ++n) {
    if (items_[n].first == item) {
      items_[n].second = bytes;
      return;
    }
  }
  if (item_count_ == kMaxItems) throw std::logic_error("too many provider items");
  items_[item_count_++] = {item, bytes};
}

std::optional<Text> CliProvider::TakeStored(int32_t item) {
  if (item == kItemResult) return std::exchange(stored_result_, std::nullopt);
  const auto found = stored_.find(item);
  if (found == stored_.end()) return std::nullopt;
  Text text = std::move(found->second);
  stored_.erase(found);
  return text;
}

ItemBytes CliProvider::Item(int32_t item) const {
  if (item == kItemResult && stored_result_) return std::string_view(*stored_result_);
  if (!stored_.empty()) {
    const auto stored = stored_.find(item);
    if (stored != stored_.end()) return std::string_view(stored->second);
  }
  if (item == kItemBody && body_ != nullptr) return body_->Body();
  for (size_t n = 0; n < item_count_; ++n) {
    if (items_[n].first == item) return items_[n].second;
  }
  return {};
}

int32_t CliProvider::QueryInterface(const InterfaceId& id, void** object) {
  if (object == nullptr) return kNoInterface;
  if (id != kDataProviderId && id != kUnknownId) {
    *object = nullptr;
    return kNoInterface;
  }
  *object = this;
  AddRef();
  return 0;
}

uint32_t CliProvider::AddRef() {
  return static_cast<uint32_t>(++references_);
}

uint32_t CliProvider::Release() {
  return static_cast<uint32_t>(--references_);
}

int32_t CliProvider::FetchItem(int32_t item, char* buffer, int32_t length) {
  return Guarded([&] {
    const ItemBytes value = Item(item);
    const size_t size = std::min<size_t>(value.size(), INT32_MAX);
    if (buffer == nullptr) return static_cast<int32_t>(size);
    const size_t n = std::min<size_t>(size, length > 0 ? static_cast<size_t>(length) : 0);
    value.CopyFront(buffer, n);
    return static_cast<int32_t>(n);
  });
}

int32_t CliProvider::StoreItem(int32_t item, const char* bytes, int32_t length) {
  return Guarded([&] {
    const std::string_view text(bytes != nullptr && length > 0 ? bytes : "",
                                length > 0 ? static_cast<size_t>(length) : 0);
    if (item == kItemResult && result_sink_ != nullptr) {
      result_sink_->Write(text);
    } else {
      (item == kItemResult ? stored_result_.emplace() : stored_[item]).assign(text);
    }
    return 0;
  });
}

int32_t CliProvider::FetchInteger(int32_t item) {
  return Guarded([&] {
    // The whole item is read: a number may follow any count of blanks.
    const ItemBytes value = Item(item);
    Text text(value.size(), '\0');
    value.CopyFront(text.data(), text.size());
    return TryParseInt(text).value_or(0);
  });
}

}  // namespace lintrel::cli
