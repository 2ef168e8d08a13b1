#include "tools/command/messages.h"

#include <algorithm>
#include <utility>

#include "tools/base/errors.h"
#include "tools/base/system.h"
#include "tools/inputs/given_items.h"
#include "tools/inputs/listing.h"
#include "tools/inputs/message_reader.h"
#include "tools/output/escaping.h"

namespace lintrel::cli {

namespace {

// Opens --output (or standard output), which must be none of the files that
// the command line names, nor standard input where that is read; files
// found in folders or lists are left out where they are met.
void OpenOutput(const Options& options, std::optional<Output>& output) {
  std::vector<std::string> paths;
  for (const Input& input : options.inputs) paths.push_back(input.path);
  for (const auto* path : {&options.headers, &options.body, &options.files_from}) {
    if (*path) paths.push_back(**path);
  }
  for (const auto& path : options.parameter_files) {
    if (path) paths.push_back(*path);
  }
  std::vector<FileId> named;
  bool reads_standard_input = false;
  for (const std::string& path : paths) {
    if (path == "-") {
      reads_standard_input = true;
    } else if (const std::optional<FileId> id = FileIdOf(path)) {
      named.push_back(*id);
    }
  }
  output.emplace(options.output, named,
                 reads_standard_input ? FileIdOfDescriptor(STDIN_FILENO) : std::nullopt);
}

int OverListing(const Options& options, Format several_format, const OneMessage& one,
                const EachMessage& each, std::optional<Output>& output) {
  Options named = options;
  if (named.inputs.empty() && !named.files_from) {
    named.inputs.push_back({InputKind::kDetect, "-", "standard input"});
  }
  InputLister lister(named);
  std::optional<OpenInput> first;
  Layout layout = Layout::kSeveral;
  if (lister.one_named_file()) {
    ListingEntry entry;
    lister.Next(entry);
    if (entry.report) throw *entry.report;
    first = OpenListedFile(entry.file);
    if (first->kind == InputKind::kMessage) {
      OpenOutput(named, output);
      int status = kExitSuccess;
      ReadMessages(*first,
                   [&](Message message, uint64_t) { status = one(message, false, *output); });
      return status;
    }
    layout = Layout::kOneMailbox;
  }
  const Format format = options.format.value_or(several_format);
  OpenOutput(named, output);
  lister.LeaveOut(output->file_id());
  const unsigned jobs = options.jobs > 0 ? options.jobs : ProcessorCount();
  const bool succeeded = RunOverFiles(
      first ? nullptr : &lister, std::move(first), *output, jobs,
      [&](Message& message, MessageDone& done) { each(message, done, format, layout); });
  return succeeded ? kExitSuccess : kExitFailed;
}

}  // namespace

int OverMessages(const Options& options, Format several_format, const OneMessage& one,
                 const EachMessage& each) {
  const bool nothing_named = options.inputs.empty() && !options.files_from;
  const bool stdin_taken = std::find(options.parameter_files.begin(), options.parameter_files.end(),
                                     "-") != options.parameter_files.end();
  std::optional<Output> output;
  int status = kExitSuccess;
  if (options.sample || (nothing_named && !options.headers && !options.body &&
                         (stdin_taken || IsTerminal(STDIN_FILENO)))) {
    Message sample = SampleMessage();
    OpenOutput(options, output);
    status = one(sample, true, *output);
  } else if (options.headers || options.body) {
    Message message = HeadersAndBodyMessage(options);
    OpenOutput(options, output);
    status = one(message, false, *output);
  } else {
    status = OverListing(options, several_format, one, each, output);
  }
  output->Close();
  return status;
}

}  // namespace lintrel::cli
