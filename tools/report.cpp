#include "tools/report.h"

#include <array>
#include <string_view>
#include <vector>

#include "plugin/identity.h"
#include "text/lines.h"
#include "tools/output_format.h"

namespace lintrel::cli {
namespace {

struct ReportMacro {
  std::string_view name;
  Parameters parameters;
};

// The parameters are those a user who gives none gets, except the field name.
const std::array<ReportMacro, 8> kMessageReaders = {{
    {"KORDELIVERYTIME", {}},
    {"KORDELIVERYTODATE", {}},
    {"KORCHARSET", {}},
    {"KORMAILER", {}},
    {"KORREPLYTIME", {}},
    {"KORGETLINKS", {}},
    {"KORCITE", {}},
    {"KORGETHEADER", {"Subject:"}},
}};

// The macros whose inputs include the header block or the body, in the order
// of the macro list, each with its default parameters. "KORGETHEADER" has no
// default field name and is given "Subject:".
std::vector<ReportMacro> ReportMacros() {
  std::vector<ReportMacro> macros;
  ForEachLine(kMacroList, [&](std::string_view name) {
    for (const ReportMacro& reader : kMessageReaders) {
      if (reader.name == name) macros.push_back(reader);
    }
  });
  return macros;
}

}  // namespace

Report MakeReport(const MessageParts& message, const MacroEnvironment& environment) {
  Report report;
  for (const ReportMacro& macro : ReportMacros()) {
    const MacroOutcome outcome = RunMacro(macro.name, message, macro.parameters, environment);
    report.text.append(macro.name);
    report.text += outcome.ok ? ": " : ": error: ";
    AppendIndented(report.text, outcome.text);
    if (!outcome.ok) report.all_succeeded = false;
  }
  return report;
}

}  // namespace lintrel::cli
