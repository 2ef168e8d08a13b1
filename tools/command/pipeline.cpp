#include "tools/command/pipeline.h"

#include <algorithm>
#include <deque>
#include <exception>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "tools/base/threads.h"
#include "tools/command/ordered_output.h"
#include "tools/output/escaping.h"

namespace lintrel::cli {
namespace {

// A piece of a job's output is handed on at about this many bytes of
// records.
constexpr size_t kPieceBytes = size_t{1} << 16;

// Files read by one job, and messages (or bytes of them) run by one job of
// a file that the reader splits itself: enough to make handing work over
// rare, few enough to share it out evenly.
constexpr size_t kFilesPerJob = 32;
constexpr size_t kMessagesPerJob = 64;
constexpr uint64_t kMessageBytesPerJob = uint64_t{1} << 20;

// Jobs handed out ahead of the oldest one not yet written, per thread.
constexpr uint64_t kJobsAheadPerThread = 4;

// Output of a job that must wait for the jobs before it, beyond which its
// thread waits too, so that one large mbox file among many files cannot
// pile its records up.
constexpr size_t kWaitingOutputBytes = size_t{16} << 20;

// A stretch of an mbox file (see ReadMboxStretch), the number-th of its file.
struct Stretch {
  std::shared_ptr<InputFile> file;
  std::string_view path;
  uint64_t begin = 0;
  uint64_t end = 0;
  size_t number = 0;
};

// Stretches of an mbox file that workers split side by side.
constexpr uint64_t kStretchBytes = uint64_t{1} << 20;

// A listed file to read, or what the listing reports in its place.
struct JobEntry {
  ListedFile file;
  std::optional<InputError> report;
  bool failure = false;  // a report that counts against the exit status
};

// A unit of work: listed files to read, a stretch of an mbox file to split,
// or messages the reader split already.
struct Job {
  std::vector<JobEntry> entries;
  // The entries' paths, which the job keeps while the listing moves on.
  PathStore paths{size_t{1} << 12};
  std::optional<Stretch> stretch;
  std::vector<Message> messages;
  // The reader's file could not be read on.
  std::optional<InputError> error;
  // Input bytes the messages stand for, for the progress line.
  uint64_t bytes = 0;
};

// What a worker thread keeps from one job to the next.
struct Worker {
  // The folder of its last listed file, held open for the next files.
  std::optional<OpenFolder> folder;
  // How much of a file it reads first: a header block's worth until a
  // macro reads a body past it, and then most messages' whole.
  size_t front_read = kHeaderFrontRead;
};

class Run {
 public:
  // A regular mbox file is split by the workers, a stretch each; listed
  // files are read by them, some at a time; only a stream is split by a
  // reader of its own, which hands its messages out.
  Run(InputLister* lister, std::optional<OpenInput> first, Output& output, unsigned jobs,
      const MessageWork& work, const StretchSplit& split)
      : lister_(lister),
        threads_(jobs),
        work_(work),
        split_(split),
        total_bytes_(first ? first->file->RegularSize() : std::nullopt),
        output_(output, total_bytes_) {
    if (total_bytes_) {
      job_count_ = (*total_bytes_ + kStretchBytes - 1) / kStretchBytes;
      mbox_ = std::move(first);
    } else if (first) {
      stream_ = std::move(first);
    }
  }

  bool Over() {
    if (threads_ > 1) {
      try {
        if (stream_) {
          RunOnThreads(
              threads_, [this] { Work(); },
              [&] {
                Read(*stream_);
                MutexLock lock(mutex_);
                reading_ = false;
                changed_.WakeAll();
              });
        } else {
          RunOnThreads(
              threads_ - 1, [this] { Work(); }, [this] { Work(); });
        }
      } catch (const std::runtime_error&) {
        // No thread could be had: the run goes on in this one.
        threads_ = 1;
      }
    }
    if (threads_ <= 1) {
      if (stream_) {
        Read(*stream_);
      } else {
        Work();
      }
    }
    if (failure_) std::rethrow_exception(failure_);
    return output_.Finish();
  }

 private:
  // The reader of a stream: it splits it, handing its messages out in jobs.
  void Read(OpenInput& input) {
    try {
      Job job;
      try {
        ReadMessages(input, [&](Message message, uint64_t read) {
          job.messages.push_back(std::move(message));
          job.bytes = read - split_bytes_;
          if (job.messages.size() == kMessagesPerJob || job.bytes >= kMessageBytesPerJob) {
            split_bytes_ = read;
            if (!Add(std::exchange(job, {}))) throw Stopped();
          }
        });
      } catch (const InputError& error) {
        job.error = error;
      }
      Add(std::move(job));
    } catch (const Stopped&) {
    } catch (...) {
      Fail(std::current_exception());
    }
  }

  // The job-th job of a regular mbox file, or the next of the listed files
  // (none when the listing has ended).
  Job MakeJob(uint64_t number) {
    Job job;
    if (mbox_) {
      const uint64_t begin = number * kStretchBytes;
      job.stretch =
          Stretch{mbox_->file, mbox_->path, begin, std::min(*total_bytes_, begin + kStretchBytes),
                  static_cast<size_t>(number)};
      return job;
    }
    ListingEntry listed;
    while (job.entries.size() < kFilesPerJob && lister_->Next(listed)) {
      JobEntry& entry = job.entries.emplace_back();
      if (listed.what == ListingEntry::What::kFile) {
        entry.file = listed.file;
        entry.file.path = job.paths.Keep(listed.file.path);
      } else {
        entry.report = std::move(listed.report);
        entry.failure = listed.what == ListingEntry::What::kProblem;
      }
    }
    return job;
  }

  // Lists job `number` with the run's mutex let go, so that workers hand
  // their output on while the listing reads a folder or waits for a list
  // that comes through a pipe. One thread lists at a time, so that the jobs
  // keep the listing's order.
  Job ListUnlocked(uint64_t number, MutexLock& lock) {
    listing_ = true;
    lock.mutex().Unlock();
    std::optional<Job> job;
    std::exception_ptr failure;
    try {
      job = MakeJob(number);
    } catch (...) {
      failure = std::current_exception();
    }
    lock.mutex().Lock();
    listing_ = false;
    if (waiters_ > 0) changed_.WakeAll();
    if (failure) std::rethrow_exception(failure);
    return std::move(*job);
  }

  // Thrown out of a file's reading when the run has stopped.
  struct Stopped {};

  // Hands a job of the stream's reader on; false when the run has stopped.
  bool Add(Job job) {
    if (threads_ <= 1) {
      const uint64_t sequence = next_job_++;
      output_.Open();
      // A stream's jobs hold messages, never listed files.
      Worker reader;
      Perform(sequence, job, reader);
      return !stopped_;
    }
    MutexLock lock(mutex_);
    while (!stopped_ && next_job_ - output_.first_unwritten() >= kJobsAheadPerThread * threads_) {
      Wait(lock);
    }
    if (stopped_) return false;
    output_.Open();
    waiting_.emplace_back(next_job_++, std::move(job));
    changed_.WakeAll();
    return true;
  }

  // Takes the next job: the reader's, or the next of the file or listing,
  // once fewer than the most are ahead of the oldest one not yet written.
  // nullopt when there are no more, or the run has stopped.
  std::optional<std::pair<uint64_t, Job>> Take() {
    std::optional<MutexLock> lock;
    if (threads_ > 1) lock.emplace(mutex_);
    for (;;) {
      if (stopped_) return std::nullopt;
      if (stream_) {
        if (!waiting_.empty()) {
          std::pair<uint64_t, Job> taken = std::move(waiting_.front());
          waiting_.pop_front();
          return taken;
        }
        if (!reading_) return std::nullopt;
      } else if (job_count_ ? next_job_ == *job_count_ : listed_all_) {
        return std::nullopt;
      } else if (listing_) {
        // The files of the job being listed come before any other.
      } else if (next_job_ - output_.first_unwritten() < kJobsAheadPerThread * threads_) {
        output_.Open();
        const uint64_t number = next_job_++;
        if (mbox_) return std::pair(number, MakeJob(number));
        Job job = lock ? ListUnlocked(number, *lock) : MakeJob(number);
        if (job.entries.empty()) listed_all_ = true;
        return std::pair(number, std::move(job));
      }
      Wait(*lock);
    }
  }

  // Waits for a change, counted so that a change wakes only when someone
  // waits for one.
  void Wait(MutexLock& lock) {
    ++waiters_;
    changed_.Wait(lock);
    --waiters_;
  }

  // A worker thread: performs jobs until there are no more.
  void Work() {
    Worker worker;
    for (;;) {
      std::optional<std::pair<uint64_t, Job>> taken;
      try {
        taken = Take();
      } catch (...) {
        Fail(std::current_exception());
        return;
      }
      if (!taken) return;
      try {
        Perform(taken->first, taken->second, worker);
      } catch (...) {
        Fail(std::current_exception());
        return;
      }
    }
  }

  // Runs the job's messages, or reads its files and runs theirs, handing
  // the output on in pieces.
  void Perform(uint64_t sequence, Job& job, Worker& worker) {
    Piece piece;
    if (job.stretch) Split(*job.stretch, job);
    for (Message& message : job.messages) {
      // After a message whose file failed, the file says no more.
      if (!Run1(sequence, message, piece, true)) break;
    }
    piece.bytes += job.bytes;
    job.messages.clear();
    if (job.error) Note(sequence, InputErrorLine(*job.error), piece, true, true);
    for (const JobEntry& entry : job.entries) {
      if (entry.report) {
        Note(sequence, InputErrorLine(*entry.report), piece, entry.failure, false);
      } else {
        ReadListed(sequence, entry.file, piece, worker);
      }
    }
    Hand(sequence, std::move(piece), true);
  }

  // Reads a listed file and runs its messages, which end with the first
  // that fails to be read. Files found in one folder are opened by name
  // within it.
  void ReadListed(uint64_t sequence, const ListedFile& file, Piece& piece, Worker& worker) {
    // Thrown out of the reading of a file when one of its messages failed.
    struct FileFailed {};
    uint64_t bytes_read = 0;
    try {
      const std::string_view in(file.path.data(), file.name_at);
      std::optional<OpenFolder>& folder = worker.folder;
      if (file.name_at > 0 && (!folder || folder->path() != in)) folder.emplace(std::string(in));
      OpenInput input =
          OpenListedFile(file, file.name_at > 0 ? &*folder : nullptr, worker.front_read);
      ReadMessages(input, [&](Message message, uint64_t read) {
        piece.bytes += read - bytes_read;
        bytes_read = read;
        const uint64_t reads = input.file->reads();
        if (!Run1(sequence, message, piece, false)) throw FileFailed();
        if (input.file->reads() != reads) worker.front_read = kFrontRead;
      });
    } catch (const InputError& error) {
      Note(sequence, InputErrorLine(error), piece, true, false);
    } catch (const FileFailed&) {
    }
  }

  // Splits the stretch into the job's messages and numbers them on from
  // the stretches before it, once those are split. After a stretch that
  // could not be read, the later ones give nothing: their messages could
  // not be numbered, and their file has been named already.
  void Split(const Stretch& stretch, Job& job) {
    try {
      job.messages = split_(stretch.file, stretch.path, stretch.begin, stretch.end, blocks_);
    } catch (const InputError& error) {
      job.error = error;
    }
    job.bytes = stretch.end - stretch.begin;
    std::optional<MutexLock> lock;
    if (threads_ > 1) {
      lock.emplace(mutex_);
      while (!stopped_ && numbered_stretches_ < stretch.number) Wait(*lock);
    }
    if (input_failed_) {
      job.messages.clear();
      job.error.reset();
    } else if (job.error) {
      input_failed_ = true;
    }
    const int64_t before = messages_numbered_;
    messages_numbered_ += static_cast<int64_t>(job.messages.size());
    ++numbered_stretches_;
    if (waiters_ > 0) changed_.WakeAll();
    for (size_t n = 0; n < job.messages.size(); ++n) {
      job.messages[n].Renumber(before + static_cast<int64_t>(n) + 1);
    }
  }

  // One message. An input that cannot be read while it runs (a file cut
  // short meanwhile) fails that message, and answers false: the file it
  // belongs to is not read on. `whole_run` says that the file is the run's
  // only input, split into several jobs: then no record of a later job
  // follows the failure.
  bool Run1(uint64_t sequence, Message& message, Piece& piece, bool whole_run) {
    // The record is appended to the piece's records where they stand.
    MessageDone done;
    std::swap(done.record, piece.records);
    const size_t records_before = done.record.size();
    bool input_failed = false;
    try {
      work_(message, done);
    } catch (const InputError& error) {
      done.record.resize(records_before);
      done.note = InputErrorLine(error);
      done.failed = true;
      input_failed = true;
    }
    std::swap(done.record, piece.records);
    ++piece.messages;
    if (done.failed) piece.failed = true;
    if (!done.note.empty()) {
      Note(sequence, std::move(done.note), piece, true, input_failed && whole_run);
    } else if (piece.records.size() >= kPieceBytes) {
      Hand(sequence, std::exchange(piece, {}), false);
    }
    return !input_failed;
  }

  // Hands the piece on with `note` for standard error after its records;
  // `failure` when the note counts against the exit status, `ends_input`
  // when it tells that the run's only input failed.
  void Note(uint64_t sequence, Text note, Piece& piece, bool failure, bool ends_input) {
    piece.note = std::move(note);
    if (failure) piece.failed = true;
    piece.ends_input = ends_input;
    if (ends_input) {
      std::optional<MutexLock> lock;
      if (threads_ > 1) lock.emplace(mutex_);
      input_failed_ = true;
    }
    Hand(sequence, std::exchange(piece, {}), false);
  }

  // Hands a piece of job `sequence`'s output on, to be written once every
  // job before it is; a job far ahead of the written ones waits with its
  // output.
  void Hand(uint64_t sequence, Piece piece, bool last) {
    std::optional<MutexLock> lock;
    if (threads_ > 1) lock.emplace(mutex_);
    try {
      output_.Add(sequence, std::move(piece), last);
    } catch (...) {
      stopped_ = true;
      if (!failure_) failure_ = std::current_exception();
    }
    if (threads_ <= 1) return;
    if (waiters_ > 0) changed_.WakeAll();
    while (!stopped_ && sequence > output_.first_unwritten() &&
           output_.waiting_bytes(sequence) > kWaitingOutputBytes) {
      Wait(*lock);
    }
  }

  void Fail(std::exception_ptr failure) {
    MutexLock lock(mutex_);
    if (!failure_) failure_ = std::move(failure);
    stopped_ = true;
    changed_.WakeAll();
  }

  InputLister* const lister_;
  unsigned threads_;
  const MessageWork& work_;
  const StretchSplit& split_;
  const std::optional<uint64_t> total_bytes_;  // of a regular mbox file
  // The regular mbox file that the workers split, or the stream that the
  // reader splits, if that is the run.
  std::optional<OpenInput> mbox_;
  std::optional<OpenInput> stream_;
  // The jobs of a regular mbox file; none for the listed files, whose
  // jobs are made until the listing ends, or for a stream, whose reader
  // makes them.
  std::optional<uint64_t> job_count_;
  // The blocks that stretches of an mbox file are read into, reused.
  const std::shared_ptr<BlockPool> blocks_ = std::make_shared<BlockPool>();
  uint64_t split_bytes_ = 0;  // of the reader's own file, handed out in jobs

  Mutex mutex_;
  Condition changed_;
  // Guarded by the mutex when there are worker threads.
  std::deque<std::pair<uint64_t, Job>> waiting_;
  OrderedOutput output_;
  uint64_t next_job_ = 0;
  size_t numbered_stretches_ = 0;
  int64_t messages_numbered_ = 0;
  bool reading_ = true;
  bool listed_all_ = false;
  bool listing_ = false;  // a thread lists the next job, the mutex let go
  // The run's only input failed while it was read: later stretches of it
  // give nothing.
  bool input_failed_ = false;
  int waiters_ = 0;
  bool stopped_ = false;
  std::exception_ptr failure_;
};

// The threads a run may use, `jobs` at most: each thread keeps a folder and
// a file open, and the command a few more (the standard descriptors, the
// output, a list, a folder being listed), so that a run with a low limit on
// open files reads with fewer threads what it reads with one, instead of
// losing files at random to "Too many open files".
unsigned ThreadsWithinFileLimit(unsigned jobs) {
  constexpr uint64_t kCommandFiles = 8;
  const uint64_t limit = OpenFileLimit();
  const uint64_t room = limit > kCommandFiles ? (limit - kCommandFiles) / 2 : 0;
  return static_cast<unsigned>(std::clamp<uint64_t>(room, 1, jobs));
}

}  // namespace

bool RunOverFiles(InputLister* lister, std::optional<OpenInput> first, Output& output,
                  unsigned jobs, const MessageWork& work, const StretchSplit& split) {
  return Run(lister, std::move(first), output, ThreadsWithinFileLimit(jobs), work, split).Over();
}

}  // namespace lintrel::cli
