#include "tools/records.h"

#include "headers/field_lookup.h"
#include "text/integer.h"
#include "text/lines.h"
#include "tools/json_text.h"
#include "tools/output.h"
#include "tools/output_format.h"

namespace lintrel::cli {
namespace {

// Records are written out in pieces of about this size.
constexpr size_t kOutputPiece = size_t{1} << 16;

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

// "result":TEXT or "error":MESSAGE.
void AppendJsonOutcome(Text& out, const MacroOutcome& outcome) {
  AppendJsonString(out, outcome.ok ? "result" : "error");
  out += ':';
  AppendJsonString(out, outcome.text);
}

}  // namespace

Text OriginLabel(const MessageOrigin& origin) {
  Text label;
  AppendEscaped(label, origin.source.value_or(""));
  if (origin.index) label += "#" + IntText(*origin.index);
  return label;
}

void RecordWriter::AppendJsonOrigin(const MessageOrigin& origin, std::string_view headers) {
  out_ += "{\"source\":";
  if (origin.source) {
    AppendJsonString(out_, *origin.source);
  } else {
    out_ += "null";
  }
  out_ += ",\"index\":";
  out_ += origin.index ? IntText(*origin.index) : Text("null");
  out_ += ",\"message_id\":";
  if (const std::optional<Text> id = MessageIdOf(headers)) {
    AppendJsonString(out_, *id);
  } else {
    out_ += "null";
  }
}

void RecordWriter::AddResult(const MessageOrigin& origin, std::string_view headers,
                             const MacroOutcome& outcome) {
  switch (format_) {
    case Format::kText:
      out_ += OriginLabel(origin);
      out_ += outcome.ok ? ": " : ": error: ";
      AppendIndented(out_, outcome.text);
      break;
    case Format::kTsv:
      if (layout_ != Layout::kOneMailbox) {
        AppendEscaped(out_, origin.source.value_or(""));
        out_ += '\t';
      }
      if (origin.index) out_ += IntText(*origin.index);
      out_ += '\t';
      if (!outcome.ok) out_ += "ERROR: ";
      AppendEscaped(out_, outcome.text);
      out_ += '\n';
      break;
    case Format::kJsonl:
      AppendJsonOrigin(origin, headers);
      out_ += ',';
      AppendJsonOutcome(out_, outcome);
      out_ += "}\n";
      break;
  }
  FlushIfLarge();
}

void RecordWriter::AddReport(const MessageOrigin& origin, std::string_view headers,
                             const Report& report) {
  if (format_ == Format::kJsonl) {
    AppendJsonOrigin(origin, headers);
    for (const ReportLine& line : report.lines) {
      out_ += ',';
      AppendJsonString(out_, line.macro);
      out_ += ":{";
      AppendJsonOutcome(out_, line.outcome);
      out_ += '}';
    }
    out_ += "}\n";
  } else if (layout_ == Layout::kOneMessage) {
    AppendReportText(out_, report);
  } else {
    out_ += "==> " + OriginLabel(origin) + " <==\n";
    AppendReportText(out_, report);
    out_ += '\n';
  }
  FlushIfLarge();
}

void RecordWriter::FlushIfLarge() {
  if (out_.size() >= kOutputPiece) Flush();
}

void RecordWriter::Flush() {
  WriteOut(out_);
  out_.clear();
}

}  // namespace lintrel::cli
