// The values of a part's Content-Type, Content-Disposition and
// Content-Transfer-Encoding fields, read as Python's email package reads
// them under policy.default, whose choice of the text part this stage
// follows.
#ifndef LINTREL_TOOLS_BODY_TEXT_MIME_PARAMETERS_H_
#define LINTREL_TOOLS_BODY_TEXT_MIME_PARAMETERS_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/body_text/transfer_encodings.h"

namespace lintrel::cli {

// A Content-Type field's value (unfolded). Python's header class parses it
// and writes it again, every parameter as name="value" with RFC 2231
// sections joined and percent-escapes undone, leaving out what it cannot
// parse (an unquoted value stops at the first "=", "/", "?" and the like);
// Message.get_content_type and get_param then read what it wrote, with
// their own simpler splitting at ";". This class does the same.
//
// Where Python reads bytes above 127 as UTF-8 characters, they are kept
// here as they stand: no type, boundary or charset label with such a byte
// is one that this stage knows. The charset of an RFC 2231 value is taken
// for one that keeps ASCII as it is.
class ContentTypeValue {
 public:
  explicit ContentTypeValue(std::string_view value);

  // The value read the long way, written again as Python writes it and
  // read from that, which the constructor does for all but the plainest
  // values; for tests that hold both ways to the same answers.
  static ContentTypeValue ReadAsPythonWritesIt(std::string_view value);
  bool operator==(const ContentTypeValue&) const = default;

  // get_content_type(): the text before the first ";", stripped and in
  // lower case, or "text/plain" when it does not hold exactly one "/".
  const std::string& type() const { return type_; }

  // get_param(name): the value of the first parameter called `name` in any
  // letter case, unquoted; nullopt when there is none. A parameter given
  // without "=" has the empty value.
  std::optional<std::string> Param(std::string_view name) const;

  // get_boundary(): the "boundary" parameter unquoted once more and with
  // the spaces at its end stripped.
  std::optional<std::string> Boundary() const;

 private:
  // A parameter as get_param finds it: its name in lower case, its value
  // unquoted, and whether get_boundary unquotes it once more.
  struct Parameter {
    std::string name;
    std::string value;
    bool unquote_again;
    bool operator==(const Parameter&) const = default;
  };

  ContentTypeValue() = default;
  void ReadAsWritten(std::string_view value);

  std::string type_;
  std::vector<Parameter> params_;
};

// is_attachment() for a Content-Disposition value: whether its first token,
// after any comments, is "attachment" in any letter case.
bool IsAttachment(std::string_view disposition);

// What a Content-Transfer-Encoding value asks to undo: only "base64" and
// "quoted-printable" in any letter case, with nothing before or after
// them, not even a blank, as Python compares them.
TransferEncoding TransferEncodingOf(std::string_view value);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_BODY_TEXT_MIME_PARAMETERS_H_
