#include "text/errors.h"

#include "text/calendar.h"
#include "text/integer.h"
#include "text/regional_settings.h"

namespace lintrel {
namespace {

void AppendSeparator(Text& out, char separator) {
  if (separator != '\0') out += separator;
}

}  // namespace

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

EConvertError InvalidDateTimeError(const DateTimeParts& t, const RegionalSettings& settings) {
  Text shown = "''" + IntText(t.year);
  AppendSeparator(shown, settings.date_separator);
  shown += IntText(t.month);
  AppendSeparator(shown, settings.date_separator);
  shown += IntText(t.day) + " " + IntText(t.hour);
  AppendSeparator(shown, settings.time_separator);
  shown += IntText(t.minute);
  AppendSeparator(shown, settings.time_separator);
  shown += IntText(t.second);
  AppendSeparator(shown, settings.decimal_separator);
  shown += IntText(t.millisecond) + "'' is not a valid date and time";
  return EConvertError(std::move(shown));
}

}  // namespace lintrel
