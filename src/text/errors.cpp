#include "text/errors.h"

#include "text/integer.h"

namespace lintrel {

EConvertError InvalidIntegerError(std::string_view text) {
  std::string message;
  message.reserve(text.size() + 30);
  message += '\'';
  message += text;
  message += "' is not a valid integer value";
  return EConvertError(std::move(message));
}

EStringListError ListIndexError(int32_t index) {
  return EStringListError("List index out of bounds (" + IntText(index) + ")");
}

}  // namespace lintrel
