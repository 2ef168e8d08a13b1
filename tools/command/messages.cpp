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

int OverMessages(const Options& options, Format several_format, const OneMessage& one,
                 const EachMessage& each) {
  const bool nothing_named = options.inputs.empty() && !options.files_from;
  const bool stdin_taken = std::find(options.parameter_files.begin(), options.parameter_files.end(),
                                     "-") != options.parameter_files.end();
  if (options.sample || (nothing_named && !options.headers && !options.body &&
                         (stdin_taken || IsTerminal(STDIN_FILENO)))) {
    Message sample = SampleMessage();
    Output output(options.output);
    return one(sample, true, output);
  }
  if (options.headers || options.body) {
    Message message = HeadersAndBodyMessage(options);
    Output output(options.output);
    return one(message, false, output);
  }
  Options named = options;
  if (nothing_named) named.inputs.push_back({InputKind::kDetect, "-", "standard input"});
  const InputListing listing = ListInputs(named);
  for (const InputError& note : listing.notes) WriteError(InputErrorLine(note));
  for (const InputError& problem : listing.problems) WriteError(InputErrorLine(problem));
  std::optional<OpenInput> first;
  Layout layout = Layout::kSeveral;
  if (listing.files.size() == 1 && !listing.from_folders) {
    first = OpenListedFile(listing.files.front());
    if (first->kind == InputKind::kMessage) {
      Output output(options.output);
      int status = kExitSuccess;
      ReadMessages(*first,
                   [&](Message message, uint64_t) { status = one(message, false, output); });
      return status;
    }
    layout = Layout::kOneMailbox;
  }
  const Format format = options.format.value_or(several_format);
  Output output(options.output);
  const unsigned jobs = options.jobs > 0 ? options.jobs : ProcessorCount();
  const bool succeeded = RunOverFiles(
      listing, std::move(first), output, jobs,
      [&](Message& message, MessageDone& done) { each(message, done, format, layout); });
  return succeeded ? kExitSuccess : kExitFailed;
}

}  // namespace lintrel::cli
