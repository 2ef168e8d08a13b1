// Shared by the fuzz targets: reading structured values out of the fuzzer's
// bytes, and the check that an error is one the system documents.
#ifndef LINTREL_FUZZ_FUZZ_SUPPORT_H_
#define LINTREL_FUZZ_FUZZ_SUPPORT_H_

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "text/calendar.h"
#include "text/errors.h"

namespace lintrel::fuzz {

// Stops the run with a message; libFuzzer records the input as a crash.
[[noreturn]] inline void Fail(const char* what, std::string_view detail = {}) {
  std::fprintf(stderr, "invariant broken: %s: %.*s\n", what, static_cast<int>(detail.size()),
               detail.data());
  std::abort();
}

inline void Check(bool holds, const char* what, std::string_view detail = {}) {
  if (!holds) Fail(what, detail);
}

// Every error a macro can end with has one of these shapes.
inline void CheckDocumentedError(const Exception& error) {
  const std::string_view m = error.Message();
  const bool integer = m.starts_with("'") && m.ends_with("' is not a valid integer value");
  const bool date = m.starts_with("'") && m.ends_with("' is not a valid date and time");
  constexpr std::string_view kIndexError = "List index out of bounds (";
  bool index = m.starts_with(kIndexError) && m.ends_with(")");
  if (index) {
    const std::string_view number = m.substr(kIndexError.size(), m.size() - kIndexError.size() - 1);
    index = !number.empty() && number.find_first_not_of("-0123456789") == std::string_view::npos;
  }
  const bool memory = m == "Out of memory";
  Check(integer || date || index || memory, "undocumented error", m);
}

// Reads values from the front of the fuzzer's bytes; past the end, zeros.
class FuzzReader {
 public:
  FuzzReader(const uint8_t* data, size_t size)
      : bytes_(reinterpret_cast<const char*>(data), size) {}

  uint8_t Byte() {
    if (bytes_.empty()) return 0;
    const auto b = static_cast<uint8_t>(bytes_[0]);
    bytes_.remove_prefix(1);
    return b;
  }

  int32_t Integer() {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value = value << 8 | Byte();
    return static_cast<int32_t>(value);
  }

  // An integer biased towards the values where off-by-one faults live.
  int32_t InterestingInteger() {
    static constexpr int32_t kEdges[] = {
        0, 1, -1, 2, 3, 10, INT32_MAX, INT32_MIN, INT32_MAX - 1, INT32_MIN + 1, 255, 256, 65536};
    const uint8_t choice = Byte();
    if (choice < 128) return kEdges[choice % (sizeof kEdges / sizeof kEdges[0])];
    return Integer();
  }

  // A text whose length comes first (two bytes), cut to what is left.
  std::string Text() {
    const size_t length = static_cast<size_t>(Byte()) << 8 | Byte();
    const std::string_view text = bytes_.substr(0, length);
    bytes_.remove_prefix(text.size());
    return std::string(text);
  }

  // A clock reading the system could give: every field within its range.
  DateTimeParts ClockReading() {
    DateTimeParts now;
    now.year = 1980 + Byte() % 120;
    now.month = 1 + Byte() % 12u;
    now.day = 1 + Byte() % 28u;
    now.hour = Byte() % 24u;
    now.minute = Byte() % 60u;
    now.second = Byte() % 60u;
    now.millisecond = Integer() % 1000u;
    return now;
  }

  // Everything not read yet.
  std::string Rest() {
    std::string rest(bytes_);
    bytes_ = {};
    return rest;
  }

 private:
  std::string_view bytes_;
};

}  // namespace lintrel::fuzz

#endif  // LINTREL_FUZZ_FUZZ_SUPPORT_H_
