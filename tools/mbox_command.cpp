#include <unistd.h>

#include <chrono>
#include <cstdio>

#include "text/integer.h"
#include "tools/commands.h"
#include "tools/input_file.h"
#include "tools/inputs.h"
#include "tools/mbox_reader.h"
#include "tools/output.h"
#include "tools/output_format.h"

namespace lintrel::cli {
namespace {

// Results are written in pieces of about this size.
constexpr size_t kOutputPiece = size_t{1} << 16;

// "lintrel: N messages, X MB/s" on standard error, rewritten in place at
// most twice a second; only when standard error is a terminal.
class Progress {
 public:
  Progress() : shown_(::isatty(STDERR_FILENO) == 1) {}

  void Update(int64_t messages, uint64_t bytes) {
    if (!shown_) return;
    const auto now = std::chrono::steady_clock::now();
    if (now - last_ < std::chrono::milliseconds(500)) return;
    last_ = now;
    Show(messages, bytes, now);
  }

  void Finish(int64_t messages, uint64_t bytes) {
    if (!shown_) return;
    Show(messages, bytes, std::chrono::steady_clock::now());
    WriteError("\n");
  }

 private:
  void Show(int64_t messages, uint64_t bytes, std::chrono::steady_clock::time_point now) {
    const double seconds = std::chrono::duration<double>(now - start_).count();
    const double rate = seconds > 0 ? static_cast<double>(bytes) / 1e6 / seconds : 0;
    char line[96];
    std::snprintf(line, sizeof line, "\rlintrel: %lld messages, %.1f MB/s",
                  static_cast<long long>(messages), rate);
    WriteError(line);
  }

  bool shown_;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  std::chrono::steady_clock::time_point last_ = start_;
};

}  // namespace

int RunOnMailbox(const Options& options, const MacroEnvironment& environment) {
  ParameterInput parameters;
  ReadParameterInput(options, parameters);
  InputFile file(*options.mbox);
  MboxReader reader([&file](char* buffer, size_t capacity) { return file.Read(buffer, capacity); });
  Progress progress;
  Text out;
  int64_t number = 0;
  bool all_succeeded = true;
  while (const std::optional<MboxMessage> message = reader.Next()) {
    ++number;
    out += IntText(number);
    out += '\t';
    if (message->oversized) {
      out += "ERROR: message larger than " + IntText(kMaxInputBytes) + " bytes";
      all_succeeded = false;
    } else {
      const MacroOutcome outcome =
          RunMacro(options.macro, SplitMessage(message->bytes), parameters.parameters, environment);
      if (!outcome.ok) {
        out += "ERROR: ";
        all_succeeded = false;
      }
      AppendEscaped(out, outcome.text);
    }
    out += '\n';
    if (out.size() >= kOutputPiece) {
      WriteOut(out);
      out.clear();
    }
    progress.Update(number, reader.bytes_read());
  }
  WriteOut(out);
  progress.Finish(number, reader.bytes_read());
  return all_succeeded ? kExitSuccess : kExitMacroFailed;
}

}  // namespace lintrel::cli
