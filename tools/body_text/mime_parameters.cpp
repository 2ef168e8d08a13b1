#include "tools/body_text/mime_parameters.h"

#include <algorithm>
#include <array>
#include <unordered_map>
#include <vector>

#include "text/text.h"
#include "tools/body_text/encoded_words.h"
#include "tools/body_text/mime_bytes.h"

namespace lintrel::cli {
namespace {

// The classes of bytes that Python's header value parser stops at. Each
// function below is named after the parser function it follows.
using ByteClass = std::array<bool, 256>;

constexpr ByteClass With(ByteClass base, std::string_view add, std::string_view remove = {}) {
  for (const char c : add) base[static_cast<unsigned char>(c)] = true;
  for (const char c : remove) base[static_cast<unsigned char>(c)] = false;
  return base;
}

// The delimiters of RFC 5322, which no atom holds.
constexpr std::string_view kDelimiters = "()<>@,:;.\\\"[]";
constexpr ByteClass kCommentOrBlank = With({}, " \t(");
constexpr ByteClass kDelimiterBytes = With({}, kDelimiters);
constexpr ByteClass kAtomEnds = With(kDelimiterBytes, " \t");
constexpr ByteClass kPhraseEnds = With(kDelimiterBytes, {}, ".\"(");
constexpr ByteClass kTokenEnds = With(kDelimiterBytes, "/?= \t", ".");
constexpr ByteClass kAttributeEnds = With(kTokenEnds, "*'%");
constexpr ByteClass kExtendedAttributeEnds = With(kAttributeEnds, {}, "%");

bool StartsWithAny(std::string_view v, const ByteClass& bytes) {
  return !v.empty() && bytes[static_cast<unsigned char>(v[0])];
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// The run of bytes at the front of `v` that are not in `ends`, taken off.
std::string_view TakeRun(std::string_view& v, const ByteClass& ends) {
  size_t n = 0;
  while (n < v.size() && !ends[static_cast<unsigned char>(v[n])]) ++n;
  const std::string_view run = v.substr(0, n);
  v.remove_prefix(n);
  return run;
}

// Python's str.replace: every `from`, left to right, not overlapping.
std::string Replaced(std::string_view text, std::string_view from, std::string_view to) {
  std::string out;
  for (size_t at = 0;;) {
    const size_t found = text.find(from, at);
    out += text.substr(at, found - at);
    if (found == std::string_view::npos) return out;
    out += to;
    at = found + from.size();
  }
}

// email.utils.quote and unquote.
std::string Quote(std::string_view text) {
  return Replaced(Replaced(text, "\\", "\\\\"), "\"", "\\\"");
}

// The parser functions below take what they read off the front of `v`. Where
// `out` is given, they add to it the text that Python's str() gives for the
// tokens they read: comments and quoted strings written again, unclosed
// ones closed, encoded-words in phrases decoded.
void Put(std::string* out, std::string_view text) {
  if (out) out->append(text);
}

// get_fws: a blank and every space after it.
std::string_view TakeFws(std::string_view& v, std::string* out = nullptr) {
  size_t n = 1;
  while (n < v.size() && IsPythonSpace(v[n])) ++n;
  const std::string_view fws = v.substr(0, n);
  v.remove_prefix(n);
  Put(out, fws);
  return fws;
}

// get_comment, at "(": to the ")" that closes it, or the end; nested
// comments inside, and quoted pairs, written again with "\", "(" and ")"
// alone quoted. Counted, not recursed into, so that no depth of nesting
// can exhaust the stack.
void TakeComment(std::string_view& v, std::string* out) {
  size_t depth = 0;
  size_t i = 0;
  while (i < v.size()) {
    const char c = v[i];
    if (c == '(' || c == ')') {
      Put(out, std::string_view(&c, 1));
      ++i;
      if (c == '(') {
        ++depth;
      } else if (--depth == 0) {
        break;
      }
    } else if (IsBlank(c)) {
      std::string_view rest = v.substr(i);
      i += TakeFws(rest, out).size();
    } else if (c != '\\') {
      Put(out, std::string_view(&c, 1));
      ++i;
    } else if (i + 1 < v.size() && !IsBlank(v[i + 1])) {
      // A quoted pair; a backslash before a blank or the end is dropped.
      const char quoted = v[i + 1];
      if (quoted == '\\' || quoted == '(' || quoted == ')') Put(out, "\\");
      Put(out, std::string_view(&quoted, 1));
      i += 2;
    } else {
      ++i;
    }
  }
  if (i == v.size()) {
    for (; depth > 0; --depth) Put(out, ")");
  }
  v.remove_prefix(i);
}

// get_cfws: blanks and comments.
void TakeCfws(std::string_view& v, std::string* out = nullptr) {
  while (StartsWithAny(v, kCommentOrBlank)) {
    if (v[0] == '(') {
      TakeComment(v, out);
    } else {
      TakeFws(v, out);
    }
  }
}

// _get_ptext_to_endchars(v, end): up to an unquoted `end` or a blank, with
// quoted pairs undone; a backslash before the blank is dropped.
std::string TakePtext(std::string_view& v, char end) {
  std::string text;
  size_t i = 0;
  bool escaped = false;
  for (; i < v.size() && !IsBlank(v[i]); ++i) {
    if (v[i] == '\\' && !escaped) {
      escaped = true;
      continue;
    }
    if (!escaped && v[i] == end) break;
    escaped = false;
    text += v[i];
  }
  v.remove_prefix(i);
  return text;
}

// get_quoted_string on `v`, which starts with '"', and the blanks and
// comments after it: the text between the quotes, quoted pairs undone,
// encoded-words decoded and the blanks between two of them dropped. A
// quote that is never closed runs to the end.
std::string TakeQuotedString(std::string_view& v, std::string* out = nullptr) {
  enum class Kind { kText, kBlanks, kWord };
  std::vector<std::pair<Kind, std::string>> tokens;
  v.remove_prefix(1);
  if (!v.empty() && v[0] == '"') tokens.emplace_back(Kind::kText, std::string());
  while (!v.empty() && v[0] != '"') {
    if (IsBlank(v[0])) {
      tokens.emplace_back(Kind::kBlanks, std::string(TakeFws(v)));
      continue;
    }
    if (v.starts_with("=?")) {
      EncodedWord word = ReadEncodedWord(v);
      if (word.decoded) {
        const size_t n = tokens.size();
        if (n > 1 && tokens[n - 1].first == Kind::kBlanks && tokens[n - 2].first == Kind::kWord) {
          tokens[n - 1].second.clear();
        }
        tokens.emplace_back(Kind::kWord, std::move(word.bytes));
        v.remove_prefix(word.length);
        continue;
      }
    }
    tokens.emplace_back(Kind::kText, TakePtext(v, '"'));
  }
  if (!v.empty()) v.remove_prefix(1);
  std::string text;
  for (const auto& token : tokens) text += token.second;
  Put(out, "\"" + Quote(text) + "\"");
  TakeCfws(v, out);
  return text;
}

// get_token: blanks and comments, one or more bytes that end no token,
// blanks and comments; false, and nothing taken, when there is no such run.
bool TakeToken(std::string_view& v, std::string* out) {
  std::string_view rest = v;
  std::string written;
  TakeCfws(rest, &written);
  if (rest.empty() || StartsWithAny(rest, kTokenEnds)) return false;
  written += TakeRun(rest, kTokenEnds);
  TakeCfws(rest, &written);
  v = rest;
  Put(out, written);
  return true;
}

// get_attrtext and get_extended_attrtext: the run alone, no blanks or
// comments around it; nullopt when there is none.
std::optional<std::string_view> TakeAttrText(std::string_view& v, const ByteClass& ends) {
  if (v.empty() || StartsWithAny(v, ends)) return std::nullopt;
  return TakeRun(v, ends);
}

// get_attribute: the run with the blanks and comments around it.
std::optional<std::string_view> TakeAttribute(std::string_view& v, const ByteClass& ends) {
  TakeCfws(v);
  const auto run = TakeAttrText(v, ends);
  if (run) TakeCfws(v);
  return run;
}

// get_value: a quoted string, or a run of extended attribute bytes (which
// may hold "%"); nullopt when there is neither.
std::optional<std::string> TakeValue(std::string_view& v) {
  TakeCfws(v);
  if (v.empty()) return std::nullopt;
  if (v[0] == '"') return TakeQuotedString(v);
  const auto run = TakeAttribute(v, kExtendedAttributeEnds);
  if (!run) return std::nullopt;
  return std::string(*run);
}

// get_word: an atom (an encoded-word among them, which may hold anything
// up to its "?=") or a quoted string, with blanks and comments; false, and
// nothing taken, when neither is there.
bool TakeWord(std::string_view& v, std::string* out) {
  std::string_view rest = v;
  std::string written;
  TakeCfws(rest, &written);
  if (rest.empty()) return false;
  if (rest[0] == '"') {
    TakeQuotedString(rest, &written);
  } else if (StartsWithAny(rest, kDelimiterBytes)) {
    return false;
  } else {
    const EncodedWord word = rest.starts_with("=?") ? ReadEncodedWord(rest) : EncodedWord{};
    if (word.decoded) {
      written += word.bytes;
      rest.remove_prefix(word.length);
    } else {
      written += TakeRun(rest, kAtomEnds);
    }
    TakeCfws(rest, &written);
  }
  v = rest;
  Put(out, written);
  return true;
}

// get_phrase: words, dots, blanks and comments, up to a byte that ends a
// phrase.
void TakePhrase(std::string_view& v, std::string* out) {
  TakeWord(v, out);
  while (!v.empty() && !StartsWithAny(v, kPhraseEnds)) {
    if (v[0] == '.') {
      Put(out, ".");
      v.remove_prefix(1);
    } else if (!TakeWord(v, out)) {
      TakeCfws(v, out);
    }
  }
}

// get_invalid_parameter, and _find_mime_parameters: phrases and misplaced
// delimiters up to the next ";" outside quotes, comments and encoded-words.
void TakeToSemicolon(std::string_view& v, std::string* out = nullptr) {
  while (!v.empty() && v[0] != ';') {
    if (StartsWithAny(v, kPhraseEnds)) {
      Put(out, v.substr(0, 1));
      v.remove_prefix(1);
    } else {
      TakePhrase(v, out);
    }
  }
}

// RFC 2231 section numbers as their digits, compared as numbers of any
// size.
int CompareSections(std::string_view a, std::string_view b) {
  a.remove_prefix(std::min(a.find_first_not_of('0'), a.size()));
  b.remove_prefix(std::min(b.find_first_not_of('0'), b.size()));
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  return a.compare(b);
}

bool SectionIs(std::string_view digits, size_t n) {
  return CompareSections(digits, std::to_string(n)) == 0;
}

// One parameter as get_parameter reads it.
struct ParsedParameter {
  std::string_view name;
  std::string section = "0";  // its digits; "0" when it has no section
  bool extended = false;      // "name*=" or "name*N*=": percent-escapes to undo
  std::string value;
};

// get_parameter: nullopt where Python raises, which drops the parameter
// (or, where Python fails with another error, makes it fail altogether).
std::optional<ParsedParameter> TakeParameter(std::string_view& v) {
  ParsedParameter p;
  const auto name = TakeAttribute(v, kAttributeEnds);
  if (!name) return std::nullopt;
  p.name = PythonStrip(*name);
  if (v.empty() || v[0] == ';') return p;
  if (v[0] == '*') {
    size_t digits = 1;
    while (digits < v.size() && IsAsciiDigit(v[digits])) ++digits;
    if (digits > 1) {
      p.section = std::string(v.substr(1, digits - 1));
      v.remove_prefix(digits);
    }
    if (!v.empty() && v[0] == '*') {
      p.extended = true;
      v.remove_prefix(1);
    }
  }
  if (v.empty() || v[0] != '=') return std::nullopt;
  v.remove_prefix(1);
  TakeCfws(v);
  const bool first_section = SectionIs(p.section, 0);
  // A quoted extended value that looks encoded is read as if unquoted: its
  // text, then what followed the quotes.
  std::string inner;
  std::optional<std::string_view> after_quotes;
  if (p.extended && !v.empty() && v[0] == '"') {
    std::string_view quoted = v;
    inner = TakeQuotedString(quoted);
    std::string_view rest = inner;
    bool looks_encoded = false;
    if (first_section) {
      if (!inner.empty() && inner[0] == '\'') {
        looks_encoded = true;
      } else {
        if (!TakeAttrText(rest, kAttributeEnds)) return std::nullopt;
        looks_encoded = !rest.empty() && rest[0] == '\'';
      }
    } else {
      looks_encoded = TakeAttrText(rest, kExtendedAttributeEnds) && rest.empty();
    }
    if (looks_encoded) {
      after_quotes = quoted;
      v = inner;
    }
  }
  std::optional<std::string> value;
  if (v.empty() || v[0] != '\'') {
    value = TakeValue(v);
    if (!value) return std::nullopt;
    if (!p.extended || !first_section) {
      if (v.empty() || v[0] != '\'') {
        p.value = std::move(*value);
        if (after_quotes) v = *after_quotes;
        return p;
      }
    }
    if (v.empty()) {
      p.value = std::move(*value);
      if (after_quotes) v = *after_quotes;
      return p;
    }
  }
  // charset'language'text; the charset read is not needed, since every
  // charset is taken to keep ASCII as it is.
  if (v[0] != '\'') return std::nullopt;
  v.remove_prefix(1);
  if (!v.empty() && v[0] != '\'') {
    if (!TakeAttrText(v, kAttributeEnds) || v.empty() || v[0] != '\'') return std::nullopt;
  }
  v.remove_prefix(std::min<size_t>(1, v.size()));
  if (after_quotes) {
    // The rest of the quoted text, read again as quoted text: blanks as one
    // space each, quoted pairs undone a second time. Python fails on an
    // empty rest.
    if (v.empty()) return std::nullopt;
    while (!v.empty()) {
      if (IsBlank(v[0])) {
        TakeFws(v);
        p.value += ' ';
      } else if (v[0] == '"') {
        p.value += '"';
        v.remove_prefix(1);
      } else {
        p.value += TakePtext(v, '"');
      }
    }
    v = *after_quotes;
    return p;
  }
  value = TakeValue(v);
  if (!value) return std::nullopt;
  p.value = std::move(*value);
  return p;
}

// urllib.parse.unquote_to_bytes: "%XX" is the byte XX, any other "%" stays.
std::string PercentDecoded(std::string_view text) {
  return HexEscapesDecoded(text, '%');
}

// parse_mime_parameters, then MimeParameters.params: each name once, in
// the order names first appear, its sections joined in the order of their
// numbers. A second unsectioned parameter of a name is left out, and so is
// a section that comes out of turn, unless it is extended.
std::vector<std::pair<std::string_view, std::string>> ReadParameters(std::string_view v) {
  std::vector<ParsedParameter> read;
  while (!v.empty()) {
    const std::string_view before = v;
    if (std::optional<ParsedParameter> p = TakeParameter(v)) {
      read.push_back(std::move(*p));
      // Text after a parameter's value makes it invalid, value and all kept.
      if (!v.empty() && v[0] != ';') TakeToSemicolon(v);
    } else {
      v = before;
      TakeCfws(v);
      TakeToSemicolon(v);
    }
    if (!v.empty()) v.remove_prefix(1);
  }
  std::vector<std::vector<const ParsedParameter*>> names;
  std::unordered_map<std::string_view, size_t> index;
  for (const ParsedParameter& p : read) {
    const auto [at, added] = index.try_emplace(p.name, names.size());
    if (added) names.emplace_back();
    names[at->second].push_back(&p);
  }
  std::vector<std::pair<std::string_view, std::string>> params;
  for (std::vector<const ParsedParameter*>& parts : names) {
    std::stable_sort(parts.begin(), parts.end(),
                     [](const ParsedParameter* a, const ParsedParameter* b) {
                       return CompareSections(a->section, b->section) < 0;
                     });
    if (!parts[0]->extended && parts.size() > 1 && SectionIs(parts[1]->section, 0)) {
      parts.erase(parts.begin() + 1, parts.end());
    }
    std::string value;
    size_t next = 0;
    for (const ParsedParameter* part : parts) {
      if (!SectionIs(part->section, next) && !part->extended) continue;
      ++next;
      value += part->extended ? PercentDecoded(part->value) : part->value;
    }
    params.emplace_back(parts[0]->name, std::move(value));
  }
  return params;
}

std::string Unquote(std::string_view text) {
  if (text.size() > 1) {
    if (text.front() == '"' && text.back() == '"') {
      return Replaced(Replaced(text.substr(1, text.size() - 2), "\\\\", "\\"), "\\\"", "\"");
    }
    if (text.front() == '<' && text.back() == '>')
      return std::string(text.substr(1, text.size() - 2));
  }
  return std::string(text);
}

std::string AsciiLower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), AsciiLowerByte);
  return lower;
}

// Message._parseparam: the written value split at each ";" after which the
// quotes since the last split, less the escaped ones, are even; each piece
// stripped, its name in lower case. Counted as it goes, where Python counts
// afresh at every ";".
std::vector<std::string> SplitParams(std::string_view written) {
  std::vector<std::string> pieces;
  size_t start = 0;
  while (true) {
    size_t end = start;
    size_t quotes = 0;
    size_t escaped = 0;
    for (; end < written.size(); ++end) {
      if (written[end] == '"') {
        ++quotes;
        if (end > start && written[end - 1] == '\\') ++escaped;
      } else if (written[end] == ';' && (end == start || (quotes - escaped) % 2 == 0)) {
        break;
      }
    }
    std::string_view piece = written.substr(start, end - start);
    const size_t equals = piece.find('=');
    std::string f = equals == std::string_view::npos
                        ? std::string(piece)
                        : AsciiLower(PythonStrip(piece.substr(0, equals))) + "=" +
                              std::string(PythonStrip(piece.substr(equals + 1)));
    pieces.emplace_back(PythonStrip(f));
    if (end == written.size()) return pieces;
    start = end + 1;
  }
}

// A parameter as Message.get_param finds it: the text of an RFC 2231 value
// that utils.decode_params read, or a value to unquote.
struct FoundParam {
  std::string name;
  std::string value;
  bool rfc2231 = false;
  bool charset_known = true;  // Python knows every charset but the empty one here
};

// email.utils.decode_params over the pieces, whose first is kept as it
// stands. It reads a piece named like "name*", "name*0" or "name*0*" as an
// RFC 2231 section; the written value has none, but a piece of a comment
// before the first ";" may.
std::vector<FoundParam> DecodeParams(const std::vector<std::string>& pieces) {
  std::vector<FoundParam> found;
  struct Section {
    std::optional<std::string> number;
    std::string value;
    bool encoded;
  };
  std::vector<std::pair<std::string, std::vector<Section>>> sections;
  std::unordered_map<std::string, size_t> section_index;
  for (size_t i = 0; i < pieces.size(); ++i) {
    const std::string_view piece = pieces[i];
    const size_t equals = piece.find('=');
    std::string name(PythonStrip(piece.substr(0, equals)));
    const std::string_view raw = equals == std::string_view::npos
                                     ? std::string_view()
                                     : PythonStrip(piece.substr(equals + 1));
    if (i == 0) {
      found.push_back({std::move(name), std::string(raw)});
      continue;
    }
    const std::string value = Unquote(raw);
    const size_t star = name.find('*');
    const std::string_view base = std::string_view(name).substr(0, star);
    const std::string_view tail =
        star == std::string::npos ? std::string_view() : std::string_view(name).substr(star + 1);
    const std::string_view number = tail.substr(0, tail.find_first_not_of("0123456789"));
    const bool word = !base.empty() && std::all_of(base.begin(), base.end(), [](char c) {
      return IsAsciiLetter(c) || IsAsciiDigit(c) || c == '_';
    });
    const bool rfc2231 = star != std::string::npos && word &&
                         (tail.empty() || (!number.empty() &&
                                           (tail == number || tail.substr(number.size()) == "*")));
    if (!rfc2231) {
      found.push_back({std::move(name), "\"" + Quote(value) + "\""});
      continue;
    }
    const auto [at, added] = section_index.try_emplace(std::string(base), sections.size());
    if (added) sections.emplace_back(std::string(base), std::vector<Section>());
    sections[at->second].second.push_back(
        {number.empty() ? std::nullopt : std::optional(std::string(number)), value,
         name.back() == '*'});
  }
  for (auto& [name, parts] : sections) {
    // Python fails to sort numbered and unnumbered sections together; here
    // the unnumbered come first.
    std::stable_sort(parts.begin(), parts.end(), [](const Section& a, const Section& b) {
      if (a.number.has_value() != b.number.has_value()) return !a.number.has_value();
      if (a.number && *a.number != *b.number) return CompareSections(*a.number, *b.number) < 0;
      if (a.value != b.value) return a.value < b.value;
      return a.encoded < b.encoded;
    });
    std::string joined;
    bool extended = false;
    for (const Section& s : parts) {
      joined += s.encoded ? PercentDecoded(s.value) : s.value;
      extended = extended || s.encoded;
    }
    const std::string quoted = Quote(joined);
    if (!extended) {
      found.push_back({name, "\"" + quoted + "\""});
      continue;
    }
    // charset'language'text, when it has two quotes.
    const size_t first = quoted.find('\'');
    const size_t second = first == std::string::npos ? first : quoted.find('\'', first + 1);
    FoundParam param{name, "\"" + quoted + "\"", true};
    if (second != std::string::npos) {
      param.value = "\"" + quoted.substr(second + 1) + "\"";
      param.charset_known = first > 0;
    }
    found.push_back(std::move(param));
  }
  return found;
}

}  // namespace

// A value as most mail writes it, "type/subtype" and "; name=value" pairs
// of plain tokens or quoted strings without escapes, comments, encoded
// words or other bytes, read into `type` and `params` (the type first, as
// Python lists it, then each parameter but a later one of a name written
// before); false for any other value. Read as Python reads it, such a value gives
// the same type and parameters without being written again.
template <typename Parameter>
bool ReadPlainValue(std::string_view v, std::string& type, std::vector<Parameter>& params) {
  const auto token = [&](const ByteClass& ends) {
    size_t n = 0;
    while (n < v.size() && !ends[static_cast<unsigned char>(v[n])] &&
           static_cast<unsigned char>(v[n]) > 0x20 && static_cast<unsigned char>(v[n]) < 0x7F) {
      ++n;
    }
    const std::string_view run = v.substr(0, n);
    v.remove_prefix(n);
    return run;
  };
  const auto blanks = [&] {
    while (!v.empty() && IsBlank(v[0])) v.remove_prefix(1);
  };
  // The names as written, of the few parameters a plain value has.
  std::array<std::string_view, 8> written;
  size_t count = 0;
  const std::string_view main_type = token(kTokenEnds);
  if (main_type.empty() || !v.starts_with('/')) return false;
  v.remove_prefix(1);
  if (token(kTokenEnds).empty()) return false;
  type = AsciiLower(
      std::string_view(main_type.data(), static_cast<size_t>(v.data() - main_type.data())));
  params.reserve(4);
  params.push_back({type, std::string(), true});
  for (;;) {
    blanks();
    if (v.empty()) return true;
    if (v[0] != ';') return false;
    v.remove_prefix(1);
    blanks();
    const std::string_view name = token(kAttributeEnds);
    if (name.empty() || !v.starts_with('=')) return false;
    v.remove_prefix(1);
    std::string_view value;
    if (v.starts_with('"')) {
      const size_t close = v.find('"', 1);
      if (close == std::string_view::npos || close == 1) return false;
      value = v.substr(1, close - 1);
      const bool plain = std::all_of(value.begin(), value.end(), [](char c) {
        return c >= 0x20 && c < 0x7F && c != '\\' && c != ';';
      });
      if (!plain || value.find("=?") != std::string_view::npos) return false;
      v.remove_prefix(close + 1);
    } else {
      // Python reads a value with "'" or "%" as an RFC 2231 one.
      value = token(kAttributeEnds);
      if (value.empty()) return false;
    }
    // Python keeps the first of parameters written with the same name.
    if (std::find(written.begin(), written.begin() + count, name) != written.begin() + count) {
      continue;
    }
    if (count == written.size()) return false;
    written[count++] = name;
    params.push_back({AsciiLower(name), std::string(value), true});
  }
}

ContentTypeValue::ContentTypeValue(std::string_view value) {
  if (ReadPlainValue(value, type_, params_)) return;
  type_.clear();
  params_.clear();
  ReadAsWritten(value);
}

ContentTypeValue ContentTypeValue::ReadAsPythonWritesIt(std::string_view value) {
  ContentTypeValue read;
  read.ReadAsWritten(value);
  return read;
}

void ContentTypeValue::ReadAsWritten(std::string_view value) {
  // parse_content_type_header: type "/" subtype ";" parameters; where that
  // fails, whatever stands before the next ";" takes the place of the type.
  std::string written;
  std::string_view v = value;
  if (TakeToken(v, &written)) {
    if (!v.empty() && v[0] == '/') {
      written += '/';
      v.remove_prefix(1);
      if (!TakeToken(v, &written) || (!v.empty() && v[0] != ';')) TakeToSemicolon(v, &written);
    } else {
      TakeToSemicolon(v, &written);
    }
  } else {
    TakeToSemicolon(v, &written);
  }
  if (!v.empty()) {
    written += ';';
    const auto params = ReadParameters(v.substr(1));
    for (size_t i = 0; i < params.size(); ++i) {
      written += i == 0 ? " " : "; ";
      written += params[i].first;
      if (!params[i].second.empty()) written += "=\"" + Quote(params[i].second) + '"';
    }
  }
  const std::string_view type =
      PythonStrip(std::string_view(written).substr(0, std::min(written.find(';'), written.size())));
  type_ = std::count(type.begin(), type.end(), '/') == 1 ? AsciiLower(type) : "text/plain";
  // collapse_rfc2231_value in get_boundary unquotes a plain value again,
  // and the text of an RFC 2231 value in a charset Python does not know.
  for (const FoundParam& param : DecodeParams(SplitParams(written))) {
    params_.push_back(
        {AsciiLower(param.name), Unquote(param.value), !param.rfc2231 || !param.charset_known});
  }
}

std::optional<std::string> ContentTypeValue::Param(std::string_view name) const {
  for (const Parameter& param : params_) {
    if (EqualsIgnoringCase(param.name, name)) return param.value;
  }
  return std::nullopt;
}

std::optional<std::string> ContentTypeValue::Boundary() const {
  for (const Parameter& param : params_) {
    if (param.name != "boundary") continue;
    std::string boundary = param.unquote_again ? Unquote(param.value) : param.value;
    while (!boundary.empty() && IsPythonSpace(boundary.back())) boundary.pop_back();
    return boundary;
  }
  return std::nullopt;
}

bool IsAttachment(std::string_view disposition) {
  std::string_view v = disposition;
  TakeCfws(v);
  if (v.empty() || StartsWithAny(v, kTokenEnds)) return false;
  return EqualsIgnoringCase(PythonStrip(TakeRun(v, kTokenEnds)), "attachment");
}

TransferEncoding TransferEncodingOf(std::string_view value) {
  std::string_view name = value;
  // Python decodes a value that is one encoded-word as a whole.
  EncodedWord word;
  if (value.starts_with("=?")) {
    word = ReadEncodedWord(value);
    if (word.decoded && word.length == value.size()) name = word.bytes;
  }
  if (EqualsIgnoringCase(name, "base64")) return TransferEncoding::kBase64;
  if (EqualsIgnoringCase(name, "quoted-printable")) return TransferEncoding::kQuotedPrintable;
  return TransferEncoding::kNone;
}

}  // namespace lintrel::cli
