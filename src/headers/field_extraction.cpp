#include "headers/field_extraction.h"

#include "headers/field_lookup.h"

namespace lintrel {
namespace {

std::string_view StripQuote(std::string_view value, char quote) {
  if (!value.empty() && value.front() == quote) value.remove_prefix(1);
  if (!value.empty() && value.back() == quote) value.remove_suffix(1);
  return value;
}

std::string_view CutAt(std::string_view value, char stop) {
  return value.substr(0, value.find(stop));
}

}  // namespace

std::string_view StripQuotes(std::string_view value) {
  return StripQuote(StripQuote(value, '"'), '\'');
}

Text ExtractCharset(std::string_view headers) {
  const Text field = FindFirstFieldLowered(headers, "content-type");
  const int32_t at = FindText("charset=", field);
  if (at == 0) return "<unknown>";
  // Cutting before unquoting keeps a quoted name followed by more
  // parameters, "utf-8"; format=flowed, whole and without its quotes.
  const std::string_view value = StripQuotes(CutAt(CutAt(TextFrom(field, at + 8), ';'), ' '));
  return value.empty() ? Text("<unknown>") : Text(value);
}

Text ExtractMailer(std::string_view headers, std::string_view fallback) {
  const Text field = FindFirstField(headers, "X-Mailer:");
  if (field.empty()) return Text(fallback);
  return Text(StripBlanks(TextFrom(field, 10)));
}

Text HeaderFieldValue(std::string_view headers, std::string_view name) {
  const Text found = FindFirstField(headers, name);
  if (found.empty()) return Text();
  // The field text begins with the name unless the name begins with a byte
  // that trimming removed; only then is it searched for.
  const int64_t at = found.starts_with(name) ? 1 : FindText(name, found);
  return Text(StripBlanks(TextFrom(found, at + static_cast<int64_t>(name.size()) + 1)));
}

}  // namespace lintrel
