#include "plugin/handover.h"

#include "platform/platform.h"

namespace lintrel {

int32_t HandOverText(std::string_view text, char* buffer, int32_t length) {
  const auto size = static_cast<int32_t>(text.size());
  if (buffer == nullptr || length < 0) return size;
  const int32_t count = length < size ? length : size;
  if (count > 0 && !platform::CopyToWritableMemory(buffer, text.data(), count)) return 0;
  return count;
}

}  // namespace lintrel
