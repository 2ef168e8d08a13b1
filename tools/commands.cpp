#include "tools/commands.h"

#include <functional>
#include <optional>
#include <string>

#include "text/integer.h"
#include "tools/cli_error.h"
#include "tools/input_file.h"
#include "tools/input_list.h"
#include "tools/inputs.h"
#include "tools/message_source.h"
#include "tools/output.h"
#include "tools/progress.h"
#include "tools/records.h"
#include "tools/report.h"

namespace lintrel::cli {
namespace {

// What a command does with one message of a run over several; answers
// whether it succeeded.
using EachMessage = std::function<bool(FoundMessage& message, const MessageEvent& event,
                                       RecordWriter& out, Progress& progress)>;

// What a command does with its only message; answers the exit status.
using OneMessage = std::function<int(FoundMessage& message, const MessageOrigin& origin)>;

// What stands for a message of an mbox file that is too large to be read.
std::string Oversized() {
  return "message larger than " + IntText(static_cast<int64_t>(kMaxInputBytes)) + " bytes";
}

std::optional<uint64_t> TotalSize(const InputListing& listing) {
  uint64_t total = 0;
  for (const SourceFile& file : listing.files) {
    if (!file.size) return std::nullopt;
    total += *file.size;
  }
  return total;
}

// Runs over the messages of the listed files: each file that cannot be read
// is named on standard error and the run goes on.
int OverSeveral(const InputListing& listing, std::optional<OpenSource> first, Layout layout,
                Format format, const EachMessage& each) {
  RecordWriter out(format, layout);
  Progress progress(TotalSize(listing));
  bool all_succeeded = listing.problems.empty();
  int64_t messages = 0;
  uint64_t bytes_done = 0;
  for (const SourceFile& file : listing.files) {
    uint64_t bytes_read = 0;
    try {
      OpenSource source = first ? std::move(*first) : OpenSourceFile(file);
      first.reset();
      ForEachMessage(source, file.path, [&](FoundMessage& message, const MessageEvent& event) {
        if (!each(message, event, out, progress)) all_succeeded = false;
        bytes_read = event.bytes_read;
        progress.Update(++messages, bytes_done + bytes_read);
      });
    } catch (const InputError& error) {
      out.Flush();
      progress.Note("lintrel: " + std::string(error.what()) + "\n");
      all_succeeded = false;
    }
    bytes_done += file.size.value_or(bytes_read);
  }
  out.Flush();
  progress.Finish(messages, bytes_done);
  return all_succeeded ? kExitSuccess : kExitMacroFailed;
}

// Finds the messages of the command line and hands them on: a single message
// to `one`, or each of several to `each`.
int OverMessages(const Options& options, Format several_format, const OneMessage& one,
                 const EachMessage& each) {
  if (options.inputs.empty()) {
    HeadersAndBody input;
    ReadHeadersAndBody(options, input);
    FoundMessage message(input.parts);
    return one(message, {});
  }
  const InputListing listing = ListInputs(options.inputs, options.recursive);
  for (const std::string& note : listing.notes) WriteError("lintrel: " + note + "\n");
  for (const std::string& problem : listing.problems) WriteError("lintrel: " + problem + "\n");
  const Format format = options.format.value_or(several_format);
  if (listing.files.size() != 1 || listing.from_folders) {
    return OverSeveral(listing, std::nullopt, Layout::kSeveral, format, each);
  }
  const SourceFile& only = listing.files.front();
  OpenSource source = OpenSourceFile(only);
  if (source.kind == InputKind::kMbox) {
    return OverSeveral(listing, std::move(source), Layout::kOneMailbox, format, each);
  }
  MessageFile file(*source.file, std::move(source.front));
  FoundMessage message(file);
  return one(message, {only.path, std::nullopt});
}

}  // namespace

int RunCommand(const Options& options, const Plugin& plugin) {
  ParameterInput parameters;
  ReadParameterInput(options, parameters);
  const auto run = [&](const MessageItems& items, ResultFile* result_file = nullptr) {
    return RunMacro(plugin, options.macro, items, parameters.parameters, result_file);
  };
  const OneMessage one = [&](FoundMessage& message, const MessageOrigin& origin) {
    const bool raw = options.format.value_or(Format::kText) == Format::kText;
    // A raw result bound for a file goes there as the plug-in stores it.
    std::optional<ResultFile> result_file = raw ? ResultFile::ForStandardOutput() : std::nullopt;
    const MacroOutcome outcome = run(message.items(), result_file ? &*result_file : nullptr);
    if (!raw) {
      RecordWriter out(*options.format, Layout::kOneMessage);
      out.AddResult(origin, message.headers(), outcome);
      out.Flush();
    } else if (outcome.ok) {
      if (!result_file) WriteOut(outcome.text);
    } else {
      WriteError("lintrel: " + outcome.text + "\n");
    }
    return outcome.ok ? kExitSuccess : kExitMacroFailed;
  };
  const EachMessage each = [&](FoundMessage& message, const MessageEvent& event, RecordWriter& out,
                               Progress&) {
    if (event.oversized) {
      out.AddResult(event.origin, {}, {false, Oversized()});
      return false;
    }
    const MacroOutcome outcome = run(message.items());
    out.AddResult(event.origin, message.headers(), outcome);
    return outcome.ok;
  };
  return OverMessages(options, Format::kTsv, one, each);
}

int ReportCommand(const Options& options, const Plugin& plugin) {
  const OneMessage one = [&](FoundMessage& message, const MessageOrigin& origin) {
    const Report report = MakeReport(plugin, message.Whole());
    RecordWriter out(options.format.value_or(Format::kText), Layout::kOneMessage);
    out.AddReport(origin, message.headers(), report);
    out.Flush();
    return report.all_succeeded ? kExitSuccess : kExitMacroFailed;
  };
  const EachMessage each = [&](FoundMessage& message, const MessageEvent& event, RecordWriter& out,
                               Progress& progress) {
    if (event.oversized) {
      out.Flush();
      progress.Note("lintrel: " + OriginLabel(event.origin) + ": " + Oversized() + "\n");
      return false;
    }
    const Report report = MakeReport(plugin, message.Whole());
    out.AddReport(event.origin, message.headers(), report);
    return report.all_succeeded;
  };
  return OverMessages(options, Format::kText, one, each);
}

}  // namespace lintrel::cli
