#include "text/date_time_format.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "text/calendar.h"
#include "text/errors.h"
#include "text/integer.h"

namespace lintrel {
namespace {

// The first format is level 1; a format applied from within a format is one
// level deeper, and beyond this level nothing is applied.
constexpr int kDeepestLevel = 2;

bool IsQuote(char c) {
  return c == '"' || c == '\'';
}

// The letters whose repeats are counted as one run.
bool TakesRun(char letter) {
  constexpr std::string_view kRunLetters = "CDEGHMNSTYZ";
  return kRunLetters.find(letter) != std::string_view::npos;
}

class Renderer {
 public:
  Renderer(double v, const RegionalSettings& settings) : settings_(settings) {
    const std::optional<int64_t> m = WholeMilliseconds(v);
    if (!m) throw EConvertError("Invalid date-time value");
    // Truncating division: the day's sign is the value's, and the time is
    // read forward from the start of that day either way.
    const int64_t day = *m / kMillisecondsPerDay;
    parts_ = PartsOf(day, std::abs(*m % kMillisecondsPerDay));
    day_of_week_ = DayOfWeek(day);
  }

  // Reads `format` from left to right. The last letter seen (which turns
  // "m" after "h" into minutes) and the 12-hour flag belong to this
  // application alone.
  void Apply(std::string_view format, int level) {
    if (level > kDeepestLevel) return;
    char last_letter = ' ';
    bool twelve_hour = false;
    size_t i = 0;
    while (i < format.size() && output_.size() < kMaxDateTimeText) {
      const std::string_view rest = format.substr(i);
      const char c = rest[0];
      if (IsLeadByte(c)) {
        // A double-byte character outside quotes shows nothing.
        i += CharacterWidth(rest);
        last_letter = ' ';
        continue;
      }
      char letter = AsciiUpperByte(c);
      if (IsAsciiLetter(static_cast<unsigned char>(c))) {
        if (letter == 'M' && last_letter == 'H') letter = 'N';
        last_letter = letter;
      }
      if (letter == 'A') {
        i += AppendMarkerOrDayName(rest, twelve_hour);
      } else if (TakesRun(letter)) {
        const size_t run = RunLength(rest);
        AppendField(letter, run, rest.substr(run), twelve_hour, level);
        i += run;
      } else if (IsQuote(c)) {
        i += AppendQuoted(rest);
      } else {
        if (c == '/') {
          AppendSeparator(settings_.date_separator);
        } else if (c == ':') {
          AppendSeparator(settings_.time_separator);
        } else {
          Append(std::string_view(&c, 1));
        }
        ++i;
      }
    }
  }

  // The short date, and the long time unless the time is 0:00:00.
  void ApplyDateAndTime(int level) {
    Apply(settings_.short_date_format, level);
    if (parts_.hour != 0 || parts_.minute != 0 || parts_.second != 0) {
      Append(" ");
      Apply(settings_.long_time_format, level);
    }
  }

  Text Take() { return std::move(output_); }

 private:
  void Append(std::string_view bytes) {
    const size_t room = kMaxDateTimeText - output_.size();
    output_.append(bytes.substr(0, room));
  }

  void AppendSeparator(char separator) {
    if (separator != '\0') Append(std::string_view(&separator, 1));
  }

  // `value` in decimal, zero-padded on the left to `digits`, never cut.
  void AppendNumber(int64_t value, size_t digits) {
    Text text = IntText(value < 0 ? -value : value);
    if (text.size() < digits) text.insert(0, digits - text.size(), '0');
    if (value < 0) text.insert(0, 1, '-');
    Append(text);
  }

  bool IsLeadByte(char c) const { return settings_.lead_bytes[static_cast<unsigned char>(c)]; }

  // Two bytes for a double-byte character, one otherwise or at the end.
  size_t CharacterWidth(std::string_view rest) const {
    return IsLeadByte(rest[0]) && rest.size() >= 2 ? 2 : 1;
  }

  // How often the first byte repeats itself, compared exactly.
  static size_t RunLength(std::string_view rest) {
    size_t run = 1;
    while (run < rest.size() && rest[run] == rest[0]) ++run;
    return run;
  }

  // Copies the text after the opening quote up to the matching quote (or to
  // the end) and answers the bytes consumed, the closing quote included.
  size_t AppendQuoted(std::string_view rest) {
    size_t i = 1;
    while (i < rest.size() && rest[i] != rest[0]) {
      const size_t width = CharacterWidth(rest.substr(i));
      Append(rest.substr(i, width));
      i += width;
    }
    return i < rest.size() ? i + 1 : i;
  }

  // "AM/PM", "A/P", "AMPM", "AAAA" or "AAA" at the start of `rest`, any case;
  // a lone "A" is copied. Answers the bytes consumed.
  size_t AppendMarkerOrDayName(std::string_view rest, bool& twelve_hour) {
    const bool morning = parts_.hour < 12;
    if (StartsWithIgnoringCase(rest, "AM/PM")) {
      Append(rest.substr(morning ? 0 : 3, 2));
      twelve_hour = true;
      return 5;
    }
    if (StartsWithIgnoringCase(rest, "A/P")) {
      Append(rest.substr(morning ? 0 : 2, 1));
      twelve_hour = true;
      return 3;
    }
    if (StartsWithIgnoringCase(rest, "AMPM")) {
      Append(morning ? settings_.am_text : settings_.pm_text);
      twelve_hour = true;
      return 4;
    }
    if (StartsWithIgnoringCase(rest, "AAAA")) {
      Append(LongDayName());
      return 4;
    }
    if (StartsWithIgnoringCase(rest, "AAA")) {
      Append(ShortDayName());
      return 3;
    }
    Append(rest.substr(0, 1));
    return 1;
  }

  // Whether a marker later in the format puts the hour on the 12-hour
  // clock: the first "A" outside quotes decides, unless another hour comes
  // first.
  bool MarkerFollows(std::string_view rest) const {
    bool in_quotes = false;
    size_t i = 0;
    while (i < rest.size()) {
      const char c = rest[i];
      if (IsLeadByte(c)) {
        i += CharacterWidth(rest.substr(i));
        continue;
      }
      if (c == 'H' || c == 'h') return false;
      if ((c == 'A' || c == 'a') && !in_quotes) {
        const std::string_view word = rest.substr(i);
        return StartsWithIgnoringCase(word, "AM/PM") || StartsWithIgnoringCase(word, "A/P") ||
               StartsWithIgnoringCase(word, "AMPM");
      }
      if (IsQuote(c)) in_quotes = !in_quotes;
      ++i;
    }
    return false;
  }

  void AppendField(char letter, size_t run, std::string_view after, bool& twelve_hour, int level) {
    switch (letter) {
      case 'D':
        if (run <= 2) {
          AppendNumber(parts_.day, run);
        } else if (run == 3) {
          Append(ShortDayName());
        } else if (run == 4) {
          Append(LongDayName());
        } else {
          Apply(run == 5 ? settings_.short_date_format : settings_.long_date_format, level + 1);
        }
        break;
      case 'M':
        if (run <= 2) {
          AppendNumber(parts_.month, run);
        } else {
          Append((run == 3 ? settings_.short_month_names
                           : settings_.long_month_names)[parts_.month - 1]);
        }
        break;
      case 'Y':
        if (run <= 2) {
          AppendNumber(((parts_.year % 100) + 100) % 100, 2);
        } else {
          AppendNumber(parts_.year, 4);
        }
        break;
      case 'H': {
        if (!twelve_hour) twelve_hour = MarkerFollows(after);
        unsigned hour = parts_.hour;
        if (twelve_hour) {
          if (hour == 0) hour = 12;
          if (hour > 12) hour -= 12;
        }
        AppendNumber(hour, std::min<size_t>(run, 2));
        break;
      }
      case 'N':
        AppendNumber(parts_.minute, std::min<size_t>(run, 2));
        break;
      case 'S':
        AppendNumber(parts_.second, std::min<size_t>(run, 2));
        break;
      case 'Z':
        AppendNumber(parts_.millisecond, std::min<size_t>(run, 3));
        break;
      case 'T':
        Apply(run == 1 ? settings_.short_time_format : settings_.long_time_format, level + 1);
        break;
      case 'C':
        ApplyDateAndTime(level + 1);
        break;
      case 'E': {
        Text year = AltDate(run > 2 ? "yyyy" : "yy");
        if (run == 1 && !year.empty() && year[0] == '0') year.erase(0, 1);
        Append(year);
        break;
      }
      case 'G':
        Append(AltDate("gg"));
        break;
    }
  }

  const Text& ShortDayName() const { return settings_.short_day_names[day_of_week_ - 1]; }
  const Text& LongDayName() const { return settings_.long_day_names[day_of_week_ - 1]; }

  Text AltDate(std::string_view picture) const {
    if (!settings_.format_alt_date) return Text();
    return settings_.format_alt_date(parts_.year, parts_.month, parts_.day, picture);
  }

  const RegionalSettings& settings_;
  DateTimeParts parts_;
  int day_of_week_ = 0;  // 1 (Sunday) to 7 (Saturday)
  Text output_;
};

}  // namespace

Text FormatDateTime(std::string_view format, double v, const RegionalSettings& settings) {
  Renderer renderer(v, settings);
  renderer.Apply(format, 1);
  return renderer.Take();
}

Text DateTimeText(double v, const RegionalSettings& settings) {
  Renderer renderer(v, settings);
  renderer.ApplyDateAndTime(2);
  return renderer.Take();
}

}  // namespace lintrel
