// Handing a constant text to the host through a buffer the host supplies.
#ifndef LINTREL_PLUGIN_HANDOVER_H_
#define LINTREL_PLUGIN_HANDOVER_H_

#include <cstdint>
#include <string_view>

namespace lintrel {

// With a null buffer or a negative length: copies nothing and answers the
// length of `text`. Otherwise copies min(length, size) bytes, with no byte 0
// after them, and answers that count; 0 when the buffer is not writable.
int32_t HandOverText(std::string_view text, char* buffer, int32_t length);

}  // namespace lintrel

#endif  // LINTREL_PLUGIN_HANDOVER_H_
