// The progress line of a run over several messages.
#ifndef LINTREL_TOOLS_OUTPUT_PROGRESS_H_
#define LINTREL_TOOLS_OUTPUT_PROGRESS_H_

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lintrel::cli {

// "lintrel: N messages, X.X MB, Y.Y MB/s" on standard error, and ", P%,
// M:SS left" when the share done is known; drawn in place at most twice a
// second, and only when standard error is a terminal.
class Progress {
 public:
  Progress();

  // `messages` done so far, `bytes` of the input read, and the share of the
  // whole run done (0 to 1) when it is known.
  void Update(int64_t messages, uint64_t bytes, std::optional<double> done);

  // Called before output goes to standard output: when that is the
  // terminal of the progress line, the line is taken away first, and drawn
  // again at the next update.
  void BeforeOutput();

  // Writes `line` (which ends in a line break) to standard error in place
  // of the progress line.
  void Note(std::string_view line);

  // The last reading, followed by a line break, when a line was drawn at
  // all.
  void Finish(int64_t messages, uint64_t bytes);

 private:
  using Clock = std::chrono::steady_clock;
  void Show(int64_t messages, uint64_t bytes, std::optional<double> done, bool finished);
  void Clear();

  bool enabled_;
  bool shares_terminal_;
  bool drawn_ = false;  // the line stands on the terminal now
  bool ever_drawn_ = false;
  std::optional<double> done_;
  Clock::time_point start_ = Clock::now();
  Clock::time_point last_ = start_;
};

// "M:SS", or "H:MM:SS" from an hour on, for a count of whole seconds.
std::string FormatDuration(int64_t seconds);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_OUTPUT_PROGRESS_H_
