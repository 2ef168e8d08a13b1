#include "tools/output/progress.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "tools/base/system.h"
#include "tools/output/writer.h"

namespace lintrel::cli {
namespace {

// Carriage return and "erase to the end of the line": the next text
// replaces the progress line.
constexpr std::string_view kClearLine = "\r\x1b[K";

}  // namespace

std::string FormatDuration(int64_t seconds) {
  char text[32];
  const long long s = std::max<int64_t>(seconds, 0);
  if (s >= 3600) {
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60);
  } else {
    std::snprintf(text, sizeof text, "%lld:%02lld", s / 60, s % 60);
  }
  return text;
}

Progress::Progress()
    : enabled_(IsTerminal(STDERR_FILENO)), shares_terminal_(enabled_ && OutputSharesTerminal()) {}

void Progress::Update(int64_t messages, uint64_t bytes, std::optional<double> done) {
  if (!enabled_) return;
  done_ = done;
  const Clock::time_point now = Clock::now();
  if (now - last_ < std::chrono::milliseconds(500)) return;
  last_ = now;
  Show(messages, bytes, done, false);
}

void Progress::BeforeOutput() {
  if (shares_terminal_) Clear();
}

void Progress::Note(std::string_view line) {
  Clear();
  WriteError(line);
}

void Progress::Finish(int64_t messages, uint64_t bytes) {
  if (!ever_drawn_) return;
  Show(messages, bytes, done_ ? std::optional(1.0) : std::nullopt, true);
  WriteError("\n");
  drawn_ = false;
}

void Progress::Clear() {
  if (!drawn_) return;
  WriteError(kClearLine);
  drawn_ = false;
}

void Progress::Show(int64_t messages, uint64_t bytes, std::optional<double> done, bool finished) {
  const double seconds = std::chrono::duration<double>(Clock::now() - start_).count();
  const double megabytes = static_cast<double>(bytes) / 1e6;
  char text[160];
  int n = std::snprintf(text, sizeof text, "lintrel: %lld message%s, %.1f MB, %.1f MB/s",
                        static_cast<long long>(messages), messages == 1 ? "" : "s", megabytes,
                        seconds > 0 ? megabytes / seconds : 0.0);
  if (done && n > 0) {
    const double share = std::clamp(*done, 0.0, 1.0);
    n += std::snprintf(text + n, sizeof text - static_cast<size_t>(n), ", %.0f%%", share * 100);
    if (!finished && share > 0) {
      const auto left = static_cast<int64_t>(seconds / share - seconds + 0.5);
      std::snprintf(text + n, sizeof text - static_cast<size_t>(n), ", %s left",
                    FormatDuration(left).c_str());
    }
  }
  WriteError(std::string(kClearLine) + text);
  drawn_ = ever_drawn_ = true;
}

}  // namespace lintrel::cli
