// strftime formats read for the date-time format engine: a locale's date
// format translated into the engine's letters, and the clock of its time
// format.
#include <string>
#include <string_view>
#include <vector>

#include "text/text.h"
#include "tools/posix/posix_locale.h"

namespace lintrel::cli {
namespace {

// A strftime format cut into literal text and conversions.
struct Piece {
  bool is_conversion = false;
  char conversion = '\0';
  bool unpadded = false;  // "%-d" or "%_d"
  std::string literal;
};

void AppendLiteral(std::vector<Piece>& pieces, std::string_view bytes) {
  if (pieces.empty() || pieces.back().is_conversion) pieces.push_back(Piece{});
  pieces.back().literal.append(bytes);
}

// Splits `format`; the composite conversions %D, %F, %T, %R and %r are
// replaced by what they stand for (%r by `twelve_hour_format`, once).
std::vector<Piece> SplitStrftime(std::string_view format, std::string_view twelve_hour_format) {
  constexpr std::string_view kFlags = "-_0^#";
  std::vector<Piece> pieces;
  size_t i = 0;
  while (i < format.size()) {
    if (format[i] != '%') {
      AppendLiteral(pieces, format.substr(i, 1));
      ++i;
      continue;
    }
    size_t j = i + 1;
    bool unpadded = false;
    while (j < format.size() && kFlags.find(format[j]) != std::string_view::npos) {
      unpadded = unpadded || format[j] == '-' || format[j] == '_';
      ++j;
    }
    while (j < format.size() && IsAsciiDigit(static_cast<unsigned char>(format[j]))) ++j;
    if (j < format.size() && (format[j] == 'E' || format[j] == 'O')) ++j;
    if (j >= format.size()) {
      AppendLiteral(pieces, format.substr(i));
      break;
    }
    std::string_view expansion;
    switch (format[j]) {
      case '%':
        AppendLiteral(pieces, "%");
        break;
      case 'n':
        AppendLiteral(pieces, "\n");
        break;
      case 't':
        AppendLiteral(pieces, "\t");
        break;
      case 'D':
        expansion = "%m/%d/%y";
        break;
      case 'F':
        expansion = "%Y-%m-%d";
        break;
      case 'T':
        expansion = "%H:%M:%S";
        break;
      case 'R':
        expansion = "%H:%M";
        break;
      case 'r':
        expansion = twelve_hour_format;
        break;
      default:
        pieces.push_back(Piece{true, format[j], unpadded, {}});
    }
    for (Piece& piece : SplitStrftime(expansion, "")) {
      if (piece.is_conversion) {
        pieces.push_back(std::move(piece));
      } else {
        AppendLiteral(pieces, piece.literal);
      }
    }
    i = j + 1;
  }
  return pieces;
}

// The engine's letters for a date conversion; empty for the others.
std::string_view DateLetters(const Piece& piece) {
  switch (piece.conversion) {
    case 'a':
      return "ddd";
    case 'A':
      return "dddd";
    case 'b':
    case 'h':
      return "MMM";
    case 'B':
      return "MMMM";
    case 'd':
      return piece.unpadded ? "d" : "dd";
    case 'e':
      return "d";
    case 'm':
      return piece.unpadded ? "M" : "MM";
    case 'y':
      return "yy";
    case 'Y':
      return "yyyy";
    default:
      return "";
  }
}

// Literal text that prints as itself: the separator becomes "/", and the
// bytes the engine would read as letters, quotes or separators are quoted.
void AppendQuotedLiteral(std::string_view literal, char separator, Text& out) {
  bool open = false;
  const auto close = [&] {
    if (open) out += '"';
    open = false;
  };
  for (const char b : literal) {
    if (separator != '\0' && b == separator) {
      close();
      out += '/';
    } else if (b == '"') {
      close();
      out += "'\"'";
    } else if (IsAsciiLetter(static_cast<unsigned char>(b)) || b == '/' || b == ':' || b == '\'') {
      if (!open) out += '"';
      open = true;
      out += b;
    } else {
      out += b;
    }
  }
  close();
}

bool CanSeparate(char b) {
  const auto u = static_cast<unsigned char>(b);
  return !IsAsciiLetter(u) && !IsAsciiDigit(u) && b != '"' && b != '\'';
}

// The single byte between the conversion at `k` and the next one, if any.
char SingleByteAfter(const std::vector<Piece>& pieces, size_t k) {
  if (k + 2 >= pieces.size() || !pieces[k + 2].is_conversion) return '\0';
  const Piece& between = pieces[k + 1];
  return between.literal.size() == 1 && CanSeparate(between.literal[0]) ? between.literal[0] : '\0';
}

}  // namespace

PosixDateFormat TranslatePosixDateFormat(std::string_view d_fmt) {
  const std::vector<Piece> pieces = SplitStrftime(d_fmt, "");
  PosixDateFormat result;
  for (size_t k = 0; k < pieces.size(); ++k) {
    if (pieces[k].is_conversion) {
      result.separator = SingleByteAfter(pieces, k);
      break;
    }
  }
  for (const Piece& piece : pieces) {
    if (!piece.is_conversion) {
      AppendQuotedLiteral(piece.literal, result.separator, result.format);
      continue;
    }
    const std::string_view letters = DateLetters(piece);
    // Two fields of the same letter must not merge into one run.
    if (!letters.empty() && !result.format.empty() && result.format.back() == letters[0]) {
      result.format += "\"\"";
    }
    result.format += letters;
  }
  return result;
}

PosixClock ReadPosixClock(std::string_view t_fmt, std::string_view t_fmt_ampm) {
  const std::vector<Piece> pieces = SplitStrftime(t_fmt, t_fmt_ampm);
  PosixClock clock;
  bool marker_seen = false;
  for (size_t k = 0; k < pieces.size(); ++k) {
    const char c = pieces[k].is_conversion ? pieces[k].conversion : '\0';
    if (c == 'p' || c == 'P') marker_seen = true;
    if (c != 'H' && c != 'k' && c != 'I' && c != 'l') continue;
    clock.found = true;
    clock.twelve_hour = c == 'I' || c == 'l';
    clock.leading_zero = (c == 'H' || c == 'I') && !pieces[k].unpadded;
    clock.marker_first = marker_seen;
    clock.separator = SingleByteAfter(pieces, k);
    break;
  }
  return clock;
}

}  // namespace lintrel::cli
