#include "tools/command/commands.h"

#include <algorithm>
#include <string>

#include "text/lines.h"
#include "tools/arguments/help.h"
#include "tools/arguments/macro_reference.h"
#include "tools/arguments/quoted.h"
#include "tools/base/errors.h"
#include "tools/command/messages.h"
#include "tools/inputs/given_items.h"
#include "tools/inputs/size_limit.h"
#include "tools/output/escaping.h"
#include "tools/output/records.h"
#include "tools/output/writer.h"
#include "tools/run/macro_call.h"
#include "tools/run/report.h"

namespace lintrel::cli {
namespace {

// What stands for a message of an mbox file that is too large to be read.
Text Oversized() {
  return "message " + LargerThanLimit();
}

// How the options hand the plug-in a message's body. The body of --body is
// handed over as it stands, whatever the header block of --headers says.
BodyChoice BodyChoiceOf(const Options& options) {
  return {options.raw_body || options.body.has_value(), TargetOf(options)};
}

}  // namespace

int RunCommand(const Options& options, const Plugin& plugin) {
  const GivenParameters given(options);
  const BodyChoice body = BodyChoiceOf(options);
  const auto run = [&](Message& message, ResultSink* sink = nullptr) {
    MessageItems items(message, body);
    return RunMacro(plugin, options.macro, items, given.parameters(), sink);
  };
  const OneMessage one = [&](Message& message, bool, Output& output) {
    if (options.format.value_or(Format::kText) != Format::kText) {
      const MacroOutcome outcome = run(message);
      Text record;
      AppendResultRecord(record, *options.format, Layout::kOneMessage, message, outcome);
      output.Write(record);
      return outcome.ok ? kExitSuccess : kExitFailed;
    }
    // A result bound for a file of the command's own goes there as the
    // plug-in stores it.
    ResultSink* sink = output.InPlaceResult();
    const MacroOutcome outcome = run(message, sink);
    if (!outcome.ok) {
      WriteError("lintrel: " + WithoutControls(outcome.text) + "\n");
      return kExitFailed;
    }
    if (sink == nullptr) output.Write(outcome.text);
    return kExitSuccess;
  };
  const EachMessage each = [&](Message& message, MessageDone& done, Format format, Layout layout) {
    const MacroOutcome outcome =
        message.oversized() ? MacroOutcome{false, Oversized()} : run(message);
    AppendResultRecord(done.record, format, layout, message, outcome);
    done.failed = !outcome.ok;
  };
  int status = OverMessages(options, Format::kTsv, one, each);
  if (!plugin.HasMacro(options.macro)) {
    Text name;
    AppendEscapedName(name, Shortened(options.macro));
    WriteError("lintrel: " + name + " is not a macro of this plug-in; lintrel list shows them\n");
    status = std::max(status, kExitFailed);
  }
  return status;
}

int ReportCommand(const Options& options, const Plugin& plugin) {
  const BodyChoice body = BodyChoiceOf(options);
  const auto report = [&](Message& message) {
    MessageItems items(message, body);
    return MakeReport(plugin, items);
  };
  const OneMessage one = [&](Message& message, bool sample, Output& output) {
    const Format format = options.format.value_or(Format::kText);
    Text record = sample && format == Format::kText ? "==> the built-in sample message <==\n" : "";
    AppendReportRecord(record, format, Layout::kOneMessage, message, report(message));
    output.Write(record);
    return kExitSuccess;
  };
  const EachMessage each = [&](Message& message, MessageDone& done, Format format, Layout layout) {
    if (message.oversized()) {
      done.note = "lintrel: " + OriginLabel(message.origin()) + ": " + Oversized() + "\n";
      done.failed = true;
      return;
    }
    AppendReportRecord(done.record, format, layout, message, report(message));
  };
  return OverMessages(options, Format::kText, one, each);
}

int ListCommand(const Plugin& plugin) {
  Text out;
  ForEachLine(plugin.identity().macro_list, [&](std::string_view name) {
    out += name;
    if (const MacroReference* macro = FindMacroReference(name)) {
      out.append(std::max<size_t>(name.size() + 2, 21) - name.size(), ' ');
      out += macro->summary;
    }
    out += '\n';
  });
  Output(std::nullopt).Write(out);
  return kExitSuccess;
}

int HelpCommand(const Options& options) {
  if (options.macro.empty()) {
    Output(std::nullopt).Write(HelpText());
    return kExitSuccess;
  }
  const MacroReference* macro = FindMacroReference(options.macro);
  if (macro == nullptr) {
    Text name;
    AppendEscapedName(name, Shortened(options.macro));
    throw UsageError(name + " is not a macro of this plug-in; lintrel list shows them");
  }
  Output(std::nullopt).Write(MacroHelp(*macro));
  return kExitSuccess;
}

}  // namespace lintrel::cli
