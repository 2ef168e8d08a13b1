#include "tools/command/pipeline.h"

#include <algorithm>
#include <deque>
#include <exception>
#include <utility>

#include "tools/base/threads.h"
#include "tools/output/escaping.h"

namespace lintrel::cli {
namespace {

// Records are written out in pieces of about this size.
constexpr size_t kOutputPiece = size_t{1} << 16;

// Messages read ahead of the next record to be written, per thread: enough
// to keep every thread busy, few enough to bound memory.
constexpr uint64_t kAheadPerThread = 4;

// One step of the run, in input order: a message, or a file that could not
// be read.
struct Step {
  std::optional<Message> message;
  std::optional<InputError> error;
  // For the progress line, once this step is written.
  uint64_t bytes_done = 0;
  std::optional<double> share_done;
};

struct Finished {
  MessageDone done;
  bool message = false;  // the step was a message, which the progress counts
  uint64_t bytes_done = 0;
  std::optional<double> share_done;
};

// Thrown from the reader's message sink to leave a file when the run stops.
struct Stopped {};

class Run {
 public:
  Run(Output& output, unsigned jobs, const MessageWork& work)
      : output_(output), jobs_(jobs), work_(work) {}

  // Reads `listing`'s files (the first already open when given) and runs
  // their messages; answers whether all went well.
  bool Over(const InputListing& listing, std::optional<OpenInput> first) {
    all_succeeded_ = listing.problems.empty();
    if (jobs_ > 1) {
      try {
        RunOnThreads(
            jobs_, [this] { Work(); },
            [&] {
              Read(listing, std::move(first));
              MutexLock lock(mutex_);
              reading_ = false;
              changed_.WakeAll();
            });
      } catch (const std::runtime_error&) {
        // No thread could be had: the run goes on in this one.
        jobs_ = 1;
      }
    }
    if (jobs_ <= 1) Read(listing, std::move(first));
    if (failure_) std::rethrow_exception(failure_);
    Flush();
    progress_.Finish(messages_, bytes_written_);
    return all_succeeded_;
  }

 private:
  // The reader: each file in turn, each message a step.
  void Read(const InputListing& listing, std::optional<OpenInput> first) {
    const double files = static_cast<double>(listing.files.size());
    uint64_t bytes_done = 0;
    for (size_t n = 0; n < listing.files.size(); ++n) {
      uint64_t bytes_read = 0;
      try {
        OpenInput input = first ? std::move(*first) : OpenListedFile(listing.files[n]);
        first.reset();
        const std::optional<uint64_t> size = input.file->RegularSize();
        ReadMessages(input, [&](Message message, uint64_t read) {
          bytes_read = read;
          const double file_share = size && *size > 0 ? static_cast<double>(read) / *size : 0;
          Step step{std::move(message), std::nullopt, bytes_done + read,
                    files > 1 || size ? std::optional((n + file_share) / files) : std::nullopt};
          if (!Add(std::move(step))) throw Stopped();
        });
      } catch (const InputError& error) {
        if (!Add(Step{std::nullopt, error, bytes_done + bytes_read, std::nullopt})) return;
      } catch (const Stopped&) {
        return;
      } catch (...) {
        Fail(std::current_exception());
        return;
      }
      bytes_done += bytes_read;
    }
  }

  // Hands `step` on; false when the run has stopped.
  bool Add(Step step) {
    if (jobs_ <= 1) {
      const uint64_t sequence = next_step_++;
      Finish(sequence, Perform(step), step);
      return !stopped_;
    }
    MutexLock lock(mutex_);
    while (!stopped_ && next_step_ - next_written_ >= kAheadPerThread * jobs_) {
      changed_.Wait(lock);
    }
    if (stopped_) return false;
    waiting_.emplace_back(next_step_++, std::move(step));
    changed_.WakeAll();
    return true;
  }

  // A worker thread: performs steps until there are no more.
  void Work() {
    for (;;) {
      std::pair<uint64_t, Step> taken;
      {
        MutexLock lock(mutex_);
        while (!stopped_ && waiting_.empty() && reading_) changed_.Wait(lock);
        if (stopped_ || waiting_.empty()) return;
        taken = std::move(waiting_.front());
        waiting_.pop_front();
      }
      MessageDone done;
      try {
        done = Perform(taken.second);
      } catch (...) {
        Fail(std::current_exception());
        return;
      }
      MutexLock lock(mutex_);
      Finish(taken.first, std::move(done), taken.second);
    }
  }

  // The work on one step. An input that cannot be read while its message
  // runs (a file cut short meanwhile) fails that message alone.
  MessageDone Perform(Step& step) {
    MessageDone done;
    if (step.error) {
      done.note = InputErrorLine(*step.error);
      done.failed = true;
      return done;
    }
    try {
      work_(*step.message, done);
    } catch (const InputError& error) {
      done = {{}, InputErrorLine(error), true};
    }
    // The message's bytes are let go before its record waits its turn.
    step.message.reset();
    return done;
  }

  // Keeps `done` until every step before it is written, then writes it and
  // whatever followed it and is done. Called with the mutex held when there
  // are worker threads.
  void Finish(uint64_t sequence, MessageDone done, const Step& step) {
    finished_.resize(std::max<size_t>(finished_.size(), sequence - next_written_ + 1));
    finished_[sequence - next_written_] =
        Finished{std::move(done), !step.error, step.bytes_done, step.share_done};
    try {
      while (!finished_.empty() && finished_.front()) {
        Write(*finished_.front());
        finished_.pop_front();
        ++next_written_;
      }
    } catch (...) {
      stopped_ = true;
      if (!failure_) failure_ = std::current_exception();
    }
    changed_.WakeAll();
  }

  void Write(const Finished& finished) {
    records_ += finished.done.record;
    if (records_.size() >= kOutputPiece) Flush();
    if (!finished.done.note.empty()) {
      Flush();
      progress_.Note(finished.done.note);
    }
    if (finished.done.failed) all_succeeded_ = false;
    bytes_written_ = finished.bytes_done;
    if (finished.message) progress_.Update(++messages_, bytes_written_, finished.share_done);
  }

  void Flush() {
    if (records_.empty()) return;
    progress_.BeforeOutput();
    output_.Write(records_);
    records_.clear();
  }

  void Fail(std::exception_ptr failure) {
    MutexLock lock(mutex_);
    if (!failure_) failure_ = std::move(failure);
    stopped_ = true;
    changed_.WakeAll();
  }

  Output& output_;
  unsigned jobs_;
  const MessageWork& work_;
  Progress progress_;

  Mutex mutex_;
  Condition changed_;
  // Everything below is guarded by the mutex when there are worker threads.
  std::deque<std::pair<uint64_t, Step>> waiting_;
  std::deque<std::optional<Finished>> finished_;  // from next_written_ on
  uint64_t next_step_ = 0;
  uint64_t next_written_ = 0;
  bool reading_ = true;
  bool stopped_ = false;
  std::exception_ptr failure_;
  bool all_succeeded_ = true;
  Text records_;
  int64_t messages_ = 0;
  uint64_t bytes_written_ = 0;
};

}  // namespace

bool RunOverFiles(const InputListing& listing, std::optional<OpenInput> first, Output& output,
                  unsigned jobs, const MessageWork& work) {
  return Run(output, jobs, work).Over(listing, std::move(first));
}

}  // namespace lintrel::cli
