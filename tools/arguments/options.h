// What a command line asks `lintrel` to do.
#ifndef LINTREL_TOOLS_ARGUMENTS_OPTIONS_H_
#define LINTREL_TOOLS_ARGUMENTS_OPTIONS_H_

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "text/calendar.h"

namespace lintrel::cli {

enum class Command { kRun, kReport, kList, kLocales, kHelp, kVersion };

// What an input holds: found out from the input itself, or forced by the
// option that named it.
enum class InputKind { kDetect, kMessage, kMbox };

// One input of `run` or `report`, in command-line order.
struct Input {
  InputKind kind = InputKind::kDetect;
  // A file or folder; "-" is standard input.
  std::string path;
  // The option that named it, for messages ("--input", "-i", ...).
  std::string option;
};

enum class Format { kText, kTsv, kJsonl };

// What the texts of --locale's regional settings are written in: the
// locale's ANSI code page, as the plug-in stores them on Windows, or UTF-8.
enum class OutputEncoding { kAnsi, kUtf8 };

struct Options {
  Command command = Command::kHelp;
  std::vector<Input> inputs;
  // A file that lists input paths, one a line, or NUL-separated with -0;
  // "-" is standard input.
  std::optional<std::string> files_from;
  bool nul_separated = false;
  // Run on the built-in sample message.
  bool sample = false;
  // The header block and body verbatim, by file name ("-" is standard
  // input); they exclude the inputs above.
  std::optional<std::string> headers;
  std::optional<std::string> body;
  // The body item is every byte after the header block, as it stands in
  // the file, not the message's text part decoded.
  bool raw_body = false;
  bool recursive = false;
  // The output format; nullopt leaves the choice to the command.
  std::optional<Format> format;
  std::array<std::optional<std::string>, 4> parameter_files;
  std::optional<DateTimeParts> now;
  // A locale name; "" for the environment's.
  std::optional<std::string> locale;
  std::optional<OutputEncoding> output_encoding;
  // The plug-in's DLL (Windows).
  std::optional<std::string> dll;
  // A file that the command creates (or empties) and writes its output to.
  std::optional<std::string> output;
  // Threads that read and run messages; 0 for one per processor.
  unsigned jobs = 0;
  // run: the macro and P0 and on, at most four; help: the macro asked about.
  std::string macro;
  std::vector<std::string> parameters;
};

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_ARGUMENTS_OPTIONS_H_
