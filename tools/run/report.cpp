#include "tools/run/report.h"

#include <array>
#include <optional>

#include "text/lines.h"

namespace lintrel::cli {
namespace {

// Where a parameter of the report's calls comes from.
enum class From { kText, kQuote, kSubject };

struct ReportParameter {
  From from = From::kText;
  std::string_view text;
};

struct ReportCall {
  std::string_view macro;
  // P0 and on, as many as `count`.
  std::array<ReportParameter, 3> parameters;
  size_t count = 0;
  bool escaped = false;
};

// The macros that the report does not run with their defaults alone. The
// constant texts are shown escaped: the signature separator is a line break
// and a blank as much as a text.
constexpr std::array<ReportCall, 6> kCalls = {{
    {"KOR_LN_VER", {}, 0, true},
    {"KORCUTHERE", {}, 0, true},
    {"KORKILLCITE", {{{From::kQuote, {}}, {From::kText, "2"}}}, 2},
    {"KORMKLINK", {{{From::kSubject, {}}}}, 1},
    {"KORCITE", {{{From::kQuote, {}}, {From::kText, "[...]"}, {From::kText, "4"}}}, 3},
    {"KORGETHEADER", {{{From::kText, "Subject:"}}}, 1},
}};

ReportCall CallOf(std::string_view macro) {
  for (const ReportCall& call : kCalls) {
    if (call.macro == macro) return call;
  }
  return {macro, {}, 0, false};
}

// The body's lines from the first that begins with ">" to the last that
// does, with their line breaks; empty when there is none.
std::string_view QuoteOf(std::string_view body) {
  std::optional<size_t> start;
  size_t end = 0;
  LineWalker lines(body);
  while (const std::optional<LineSpan> line = lines.Next()) {
    if (line->end > line->start && body[line->start] == '>') {
      if (!start) start = line->start;
      end = line->next;
    }
  }
  return start ? body.substr(*start, end - *start) : std::string_view();
}

}  // namespace

Report MakeReport(const Plugin& plugin, MessageItems& items) {
  const std::string_view quote = QuoteOf(items.BodyInMemory());
  const std::string subject = SubjectText(items.message().ReadHeaders(), items.target());
  Report report;
  ForEachLine(plugin.identity().macro_list, [&](std::string_view macro) {
    const ReportCall call = CallOf(macro);
    ReportLine line{macro, Text(macro), {}, call.escaped};
    Parameters parameters;
    for (size_t n = 0; n < call.count; ++n) {
      const ReportParameter& parameter = call.parameters[n];
      const std::string_view text = parameter.from == From::kQuote     ? quote
                                    : parameter.from == From::kSubject ? subject
                                                                       : parameter.text;
      parameters[n] = text;
      const bool named = parameter.from != From::kText && !text.empty();
      line.call += named ? (parameter.from == From::kQuote ? " <quote>" : " <subject>")
                         : " \"" + Text(text) + "\"";
    }
    line.outcome = RunMacro(plugin, macro, items, parameters);
    if (!line.outcome.ok) report.all_succeeded = false;
    report.lines.push_back(std::move(line));
  });
  return report;
}

}  // namespace lintrel::cli
