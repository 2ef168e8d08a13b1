// The progress line of a run over several messages.
#ifndef LINTREL_TOOLS_PROGRESS_H_
#define LINTREL_TOOLS_PROGRESS_H_

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lintrel::cli {

// "lintrel: N messages, X.X MB, Y.Y MB/s" on standard error, and ", P%,
// M:SS left" when the total size is known; rewritten in place at most twice
// a second, and only when standard error is a terminal.
class Progress {
 public:
  // `total_bytes`: the size of everything the run reads, when known.
  explicit Progress(std::optional<uint64_t> total_bytes);

  // `messages` done so far, `bytes` of the input read.
  void Update(int64_t messages, uint64_t bytes);

  // The last reading, followed by a line break.
  void Finish(int64_t messages, uint64_t bytes);

  // Writes `line` (which ends in a line break) to standard error in place
  // of the progress line, which the next update draws again below it.
  void Note(std::string_view line);

 private:
  using Clock = std::chrono::steady_clock;
  void Show(int64_t messages, uint64_t bytes, Clock::time_point now, bool finished);

  bool shown_;
  std::optional<uint64_t> total_bytes_;
  Clock::time_point start_ = Clock::now();
  Clock::time_point last_ = start_;
};

// "M:SS", or "H:MM:SS" from an hour on, for a count of whole seconds.
std::string FormatDuration(int64_t seconds);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_PROGRESS_H_
