#include "tools/output/records.h"

#include <optional>

#include "headers/field_lookup.h"
#include "text/integer.h"
#include "text/lines.h"
#include "tools/output/escaping.h"
#include "tools/output/json_text.h"

namespace lintrel::cli {
namespace {

constexpr std::string_view kMessageIdField = "Message-ID:";

// The value of the first "Message-ID:" field, its name in any letter case.
std::optional<Text> MessageIdOf(std::string_view headers) {
  std::optional<Text> id;
  ForEachLine(headers, [&](std::string_view line) {
    if (!StartsWithIgnoringCase(line, kMessageIdField)) return true;
    const size_t start = static_cast<size_t>(line.data() - headers.data());
    const Text field = FieldTextAt(headers, start);
    id = Text(StripBlanks(std::string_view(field).substr(kMessageIdField.size())));
    return false;
  });
  return id;
}

void AppendJsonOrigin(Text& out, Message& message) {
  const Origin& origin = message.origin();
  out += "{\"source\":";
  if (origin.source) {
    AppendJsonString(out, *origin.source);
  } else {
    out += "null";
  }
  out += ",\"index\":";
  out += origin.index ? IntText(*origin.index) : Text("null");
  out += ",\"message_id\":";
  if (const std::optional<Text> id = MessageIdOf(message.ReadHeaders())) {
    AppendJsonString(out, *id);
  } else {
    out += "null";
  }
}

// "result":TEXT or "error":MESSAGE.
void AppendJsonOutcome(Text& out, const MacroOutcome& outcome) {
  AppendJsonString(out, outcome.ok ? "result" : "error");
  out += ':';
  AppendJsonString(out, outcome.text);
}

void AppendReportText(Text& out, const Report& report) {
  for (const ReportLine& line : report.lines) {
    out += line.call;
    if (!line.outcome.ok) {
      out += ": error: ";
      AppendIndented(out, line.outcome.text);
    } else if (line.escaped) {
      out += ": \"";
      AppendEscaped(out, line.outcome.text);
      out += "\"\n";
    } else {
      out += ": ";
      AppendIndented(out, line.outcome.text);
    }
  }
}

}  // namespace

Text OriginLabel(const Origin& origin) {
  Text label;
  AppendEscapedName(label, origin.source.value_or(""));
  if (origin.index) label += "#" + IntText(*origin.index);
  return label;
}

void AppendResultRecord(Text& out, Format format, Layout layout, Message& message,
                        const MacroOutcome& outcome) {
  const Origin& origin = message.origin();
  switch (format) {
    case Format::kText:
      out += OriginLabel(origin);
      out += outcome.ok ? ": " : ": error: ";
      AppendIndented(out, outcome.text);
      break;
    case Format::kTsv:
      if (layout != Layout::kOneMailbox) {
        AppendEscapedName(out, origin.source.value_or(""));
        out += '\t';
      }
      if (origin.index) out += IntText(*origin.index);
      out += '\t';
      if (!outcome.ok) out += "ERROR: ";
      AppendEscaped(out, outcome.text);
      out += '\n';
      break;
    case Format::kJsonl:
      AppendJsonOrigin(out, message);
      out += ',';
      AppendJsonOutcome(out, outcome);
      out += "}\n";
      break;
  }
}

void AppendReportRecord(Text& out, Format format, Layout layout, Message& message,
                        const Report& report) {
  if (format == Format::kJsonl) {
    AppendJsonOrigin(out, message);
    for (const ReportLine& line : report.lines) {
      out += ',';
      AppendJsonString(out, line.macro);
      out += ":{";
      AppendJsonOutcome(out, line.outcome);
      out += '}';
    }
    out += "}\n";
  } else if (layout == Layout::kOneMessage) {
    AppendReportText(out, report);
  } else {
    out += "==> " + OriginLabel(message.origin()) + " <==\n";
    AppendReportText(out, report);
    out += '\n';
  }
}

}  // namespace lintrel::cli
