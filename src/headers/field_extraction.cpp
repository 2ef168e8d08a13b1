#include "headers/field_extraction.h"

#include "headers/field_lookup.h"

namespace lintrel {
namespace {

constexpr std::string_view kCharsetParameter = "charset=";
constexpr std::string_view kMailerField = "X-Mailer:";
constexpr std::string_view kUnknownCharset = "<unknown>";

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
  const size_t at = field.find(kCharsetParameter);
  if (at == Text::npos) return Text(kUnknownCharset);
  // Cutting before unquoting keeps a quoted name followed by more
  // parameters, "utf-8"; format=flowed, whole and without its quotes.
  const std::string_view parameter = std::string_view(field).substr(at + kCharsetParameter.size());
  const std::string_view value = StripQuotes(CutAt(CutAt(parameter, ';'), ' '));
  return Text(value.empty() ? kUnknownCharset : value);
}

Text ExtractMailer(std::string_view headers, std::string_view fallback) {
  const Text field = FindFirstField(headers, kMailerField);
  if (field.empty()) return Text(fallback);
  // The field text begins with the field name, as the name begins with no
  // byte that trimming removes.
  return Text(StripBlanks(std::string_view(field).substr(kMailerField.size())));
}

Text HeaderFieldValue(std::string_view headers, std::string_view name) {
  const Text found = FindFirstField(headers, name);
  if (found.empty()) return Text();
  // The field text begins with the name unless the name begins with a byte
  // that trimming removed; only then is it searched for (linearly, as the
  // name can be long), and a name not found counts as found at position 0.
  // The value starts at the second byte after the name.
  const int64_t at = found.starts_with(name) ? 1 : FindText(name, found);
  return Text(StripBlanks(TextFrom(found, at + static_cast<int64_t>(name.size()) + 1)));
}

}  // namespace lintrel
