// The errors a macro call can end with. Each carries the message text that
// reaches the host unchanged, so the texts here are part of the interface.
#ifndef LINTREL_TEXT_ERRORS_H_
#define LINTREL_TEXT_ERRORS_H_

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

namespace lintrel {

struct DateTimeParts;
struct RegionalSettings;

// The root of every error the plug-in raises.
class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  const std::string& Message() const noexcept { return message_; }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

// A text that had to be a number, a date or a time was not one.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

// A line or token was read beyond the end of its list.
class EStringListError : public Exception {
 public:
  using Exception::Exception;
};

// An allocation could not be satisfied.
class EOutOfMemory : public Exception {
 public:
  EOutOfMemory() : Exception("Out of memory") {}
};

// "'TEXT' is not a valid integer value", with the text exactly as given.
EConvertError InvalidIntegerError(std::string_view text);

// "List index out of bounds (INDEX)".
EStringListError ListIndexError(int32_t index);

// "''Y/M/D h:m:s.ms'' is not a valid date and time": the parts in decimal,
// joined by the date, time and decimal separators of `settings` (a byte 0
// separator is left out).
EConvertError InvalidDateTimeError(const DateTimeParts& t, const RegionalSettings& settings);

}  // namespace lintrel

#endif  // LINTREL_TEXT_ERRORS_H_
