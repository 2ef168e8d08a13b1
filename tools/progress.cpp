#include "tools/progress.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "tools/output.h"
#include "tools/system_files.h"

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

Progress::Progress(std::optional<uint64_t> total_bytes)
    : shown_(::isatty(STDERR_FILENO) == 1), total_bytes_(total_bytes) {}

void Progress::Update(int64_t messages, uint64_t bytes) {
  if (!shown_) return;
  const Clock::time_point now = Clock::now();
  if (now - last_ < std::chrono::milliseconds(500)) return;
  last_ = now;
  Show(messages, bytes, now, false);
}

void Progress::Finish(int64_t messages, uint64_t bytes) {
  if (!shown_) return;
  Show(messages, bytes, Clock::now(), true);
  WriteError("\n");
}

void Progress::Note(std::string_view line) {
  if (shown_) WriteError(kClearLine);
  WriteError(line);
}

void Progress::Show(int64_t messages, uint64_t bytes, Clock::time_point now, bool finished) {
  const double seconds = std::chrono::duration<double>(now - start_).count();
  const double megabytes = static_cast<double>(bytes) / 1e6;
  char text[160];
  int n = std::snprintf(text, sizeof text, "lintrel: %lld message%s, %.1f MB, %.1f MB/s",
                        static_cast<long long>(messages), messages == 1 ? "" : "s", megabytes,
                        seconds > 0 ? megabytes / seconds : 0.0);
  if (total_bytes_ && *total_bytes_ > 0 && n > 0) {
    const double done =
        std::min(1.0, static_cast<double>(bytes) / static_cast<double>(*total_bytes_));
    n += std::snprintf(text + n, sizeof text - static_cast<size_t>(n), ", %.0f%%", done * 100);
    if (!finished && done > 0) {
      const auto left = static_cast<int64_t>(seconds / done - seconds + 0.5);
      std::snprintf(text + n, sizeof text - static_cast<size_t>(n), ", %s left",
                    FormatDuration(left).c_str());
    }
  }
  WriteError(std::string(kClearLine) + text);
}

}  // namespace lintrel::cli
