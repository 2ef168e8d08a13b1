#include "tools/command/pipeline.h"

#include <utility>

#include "tools/output/escaping.h"

namespace lintrel::cli {
namespace {

// Records are written out in pieces of about this size.
constexpr size_t kOutputPiece = size_t{1} << 16;

class RecordStream {
 public:
  RecordStream(Output& output, Progress& progress) : output_(output), progress_(progress) {}

  void Add(const Text& record) {
    pending_ += record;
    if (pending_.size() >= kOutputPiece) Flush();
  }

  void Flush() {
    if (pending_.empty()) return;
    progress_.BeforeOutput();
    output_.Write(pending_);
    pending_.clear();
  }

  // Standard error gets `line` after every record before it.
  void Note(std::string_view line) {
    Flush();
    progress_.Note(line);
  }

 private:
  Output& output_;
  Progress& progress_;
  Text pending_;
};

}  // namespace

bool RunOverFiles(const InputListing& listing, std::optional<OpenInput> first, Output& output,
                  const MessageWork& work) {
  Progress progress;
  RecordStream records(output, progress);
  bool all_succeeded = listing.problems.empty();
  int64_t messages = 0;
  uint64_t bytes_done = 0;
  const double files = static_cast<double>(listing.files.size());
  for (size_t n = 0; n < listing.files.size(); ++n) {
    uint64_t bytes_read = 0;
    try {
      OpenInput input = first ? std::move(*first) : OpenListedFile(listing.files[n]);
      first.reset();
      const std::optional<uint64_t> size = input.file->RegularSize();
      ReadMessages(input, [&](Message message, uint64_t read) {
        MessageDone done;
        work(message, done);
        records.Add(done.record);
        if (!done.note.empty()) records.Note(done.note);
        if (done.failed) all_succeeded = false;
        bytes_read = read;
        const double file_share = size && *size > 0 ? static_cast<double>(read) / *size : 0;
        progress.Update(++messages, bytes_done + bytes_read,
                        files > 1 || size ? std::optional((n + file_share) / files) : std::nullopt);
      });
    } catch (const InputError& error) {
      records.Note(InputErrorLine(error));
      all_succeeded = false;
    }
    bytes_done += bytes_read;
  }
  records.Flush();
  progress.Finish(messages, bytes_done);
  return all_succeeded;
}

}  // namespace lintrel::cli
