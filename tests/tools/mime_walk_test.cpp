#include "tools/body_text/mime_walk.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tools/inputs/message_split.h"

namespace lintrel::cli {
namespace {

using namespace std::string_literals;

constexpr TextPartStatus kFound = TextPartStatus::kFound;
constexpr TextPartStatus kNone = TextPartStatus::kNone;
constexpr TextPartStatus kNeedMore = TextPartStatus::kNeedMore;

std::string Decoded(const TextPart& part) {
  std::string out(part.bytes.size(), '\0');
  out.resize(DecodeTransferEncoding(part.encoding, part.bytes, out.data()));
  return out;
}

// Every shorter prefix of the body gives kNeedMore or the whole body's
// answer, part for part.
void ExpectPrefixesAgree(const MessageParts& parts, const TextPartAnswer& whole) {
  for (size_t n = 0; n < parts.body.size(); ++n) {
    const TextPartAnswer answer = FindTextPart(parts.headers, parts.body.substr(0, n), false);
    if (answer.status == kNeedMore) continue;
    ASSERT_EQ(answer.status, whole.status) << n;
    EXPECT_EQ(answer.part.bytes.data(), whole.part.bytes.data()) << n;
    EXPECT_EQ(answer.part.bytes.size(), whole.part.bytes.size()) << n;
  }
}

// The part that Python 3.11 picks with get_body(preferencelist=('plain',
// 'html')) under policy.default, and its get_payload(decode=True) and
// get_param('charset').
TEST(TextPartTest, PicksThePartPythonPicks) {
  struct Case {
    std::string message;
    TextPartStatus status;
    std::string text;
    std::optional<std::string> charset;
    bool html;
  };
  const Case cases[] = {
      // no Content-Type: the body is the text.
      {"Subject: a\n\nline one\nline two\n", kFound, "line one\nline two\n", std::nullopt, false},
      // text/html alone.
      {"Content-Type: text/html; charset=utf-8\n\n<p>hi</p>\n", kFound, "<p>hi</p>\n", "utf-8",
       true},
      // plain before html.
      {"Content-Type: multipart/alternative; boundary=b1\n\n--b1\nContent-Type: "
       "text/plain\n\nplain\n--b1\nContent-Type: text/html\n\n<p>html</p>\n--b1--\n",
       kFound, "plain", std::nullopt, false},
      // html before plain: plain wins.
      {"Content-Type: multipart/alternative; boundary=b1\r\n\r\n--b1\r\nContent-Type: "
       "text/html\r\n\r\n<p>html</p>\r\n--b1\r\nContent-Type: text/plain; "
       "charset=\"koi8-r\"\r\n\r\nplain\r\n\r\n--b1--\r\n",
       kFound, "plain\r\n", "koi8-r", false},
      // an attachment first, then html.
      {"Content-Type: multipart/mixed; boundary=b1\n\n--b1\nContent-Type: "
       "text/plain\nContent-Disposition: attachment; "
       "filename=a.txt\n\nattached\n--b1\nContent-Type: text/html\n\nshown\n--b1--\n",
       kFound, "shown", std::nullopt, true},
      // mixed, alternative, related.
      {"Content-Type: multipart/mixed; boundary=m\n\n--m\nContent-Type: multipart/alternative; "
       "boundary=a\n\n--a\nContent-Type: multipart/related; boundary=r\n\n--r\nContent-Type: "
       "text/html\n\n<img src=cid:i>\n--r\nContent-Type: image/png\nContent-ID: "
       "<i>\n\nPNG\n--r--\n--a--\n--m\nContent-Type: application/pdf\n\nPDF\n--m--\n",
       kFound, "<img src=cid:i>", std::nullopt, true},
      // related with its start part second.
      {"Content-Type: multipart/related; boundary=r; start=\"<two>\"\n\n--r\nContent-Type: "
       "text/plain\nContent-ID: <one>\n\nfirst\n--r\nContent-Type: text/plain\nContent-ID: "
       "<two>\n\nsecond\n--r--\n",
       kFound, "second", std::nullopt, false},
      // related whose start matches nothing: its first part.
      {"Content-Type: multipart/related; boundary=r; start=\"<none>\"\n\n--r\nContent-Type: "
       "text/html\n\nfirst\n--r\nContent-Type: text/plain\n\nsecond\n--r--\n",
       kFound, "first", std::nullopt, true},
      // a related's other parts are not searched.
      {"Content-Type: multipart/mixed; boundary=m\n\n--m\nContent-Type: multipart/related; "
       "boundary=r\n\n--r\nContent-Type: text/html\n\nstart\n--r\nContent-Type: "
       "text/plain\n\nother\n--r--\n--m--\n",
       kFound, "start", std::nullopt, true},
      // the same boundary nested: the outer multipart takes the lines.
      {"Content-Type: multipart/mixed; boundary=b\n\n--b\nContent-Type: multipart/alternative; "
       "boundary=b\n\n--b\nContent-Type: text/plain\n\ninner\n--b--\n",
       kFound, "inner", std::nullopt, false},
      // no last boundary: the part runs to the end, less its last break.
      {"Content-Type: multipart/mixed; boundary=b\n\n--b\nContent-Type: text/plain\n\nto the "
       "end\n\n",
       kFound, "to the end\n", std::nullopt, false},
      // a line that only starts like a boundary is text.
      {"Content-Type: multipart/mixed; boundary=b\n\n--b\n\n--bx\n--b x\n-- b\n--b\n", kFound,
       "--bx\n--b x\n-- b", std::nullopt, false},
      // an outer boundary ends an inner part.
      {"Content-Type: multipart/mixed; boundary=o\n\n--o\nContent-Type: multipart/alternative; "
       "boundary=i\n\n--i\nContent-Type: text/html\n\nhtml\n--o\nContent-Type: "
       "text/plain\n\nplain\n--o--\n",
       kFound, "plain", std::nullopt, false},
      // no first boundary: no parts.
      {"Content-Type: multipart/mixed; boundary=b\n\nno boundary here\n--c\n", kNone, "",
       std::nullopt, false},
      // a last boundary before any first: no parts.
      {"Content-Type: multipart/mixed; boundary=b\n\n--b--\n--b\n\ntext\n", kNone, "", std::nullopt,
       false},
      // a boundary and the last at once: an empty text/plain part.
      {"Content-Type: multipart/mixed; boundary=b\n\n--b\n--b--\n", kFound, "", std::nullopt,
       false},
      // the last boundary right after a boundary is skipped: the epilogue is a part.
      {"Content-Type: multipart/mixed; boundary=b\n\n--b\n--b--\nepilogue\n", kFound, "epilogue",
       std::nullopt, false},
      // boundary lines in a row make one.
      {"Content-Type: multipart/mixed; boundary=b\n\n--b\n--b\n--b \nContent-Type: "
       "text/plain\n\none\n--b--\n",
       kFound, "one", std::nullopt, false},
      // a digest's parts are messages unless they say otherwise.
      {"Content-Type: multipart/digest; boundary=d\n\n--d\n\nSubject: x\n\nnot a part of its "
       "own\n--d\nContent-Type: text/plain\n\nsaid so\n--d--\n",
       kFound, "said so", std::nullopt, false},
      // a message/rfc822 part is not looked into.
      {"Content-Type: multipart/mixed; boundary=m\n\n--m\nContent-Type: "
       "message/rfc822\n\nContent-Type: text/plain\n\nforwarded\n--m\nContent-Type: "
       "text/html\n\nown\n--m--\n",
       kFound, "own", std::nullopt, true},
      // a part's header block ends at its first other line.
      {"Content-Type: multipart/mixed; boundary=m\n\n--m\nContent-Type: text/plain\nno colon "
       "here\nX-Not: header\n--m--\n",
       kFound, "no colon here\nX-Not: header", std::nullopt, false},
      // a part's last header line starting "From " is its body's first.
      {"Content-Type: multipart/mixed; boundary=m\n\n--m\nContent-Type: text/plain\nFrom "
       "someone\n--m--\n",
       kFound, "From someone", std::nullopt, false},
      // a multipart without a boundary has no parts.
      {"Content-Type: multipart/mixed\n\n--b\nContent-Type: text/plain\n\nx\n--b--\n", kNone, "",
       std::nullopt, false},
      // base64.
      {"Content-Type: multipart/mixed; boundary=m\n\n--m\nContent-Type: text/plain; "
       "charset=utf-8\nContent-Transfer-Encoding: BASE64\n\nY2Fmw6kg\nYXUgbGFpdA==\n--m--\n",
       kFound, "caf\xc3\xa9 au lait", "utf-8", false},
      // quoted-printable with soft breaks.
      {"Content-Type: text/plain; charset=iso-8859-1\nContent-Transfer-Encoding: "
       "quoted-printable\n\nhttp://example.org/\?a=3D1&b=\n=3D2 caf=E9\n",
       kFound, "http://example.org/\?a=1&b=2 caf\xe9\n", "iso-8859-1", false},
      // a transfer encoding with a blank after it is none.
      {"Content-Type: text/plain\nContent-Transfer-Encoding: base64 \n\nYWJj\n", kFound, "YWJj\n",
       std::nullopt, false},
      // blanks after a boundary line.
      {"Content-Type: multipart/mixed; boundary=b\r\n\r\n--b \t\r\nContent-Type: "
       "text/plain\r\n\r\nx\r\n--b-- \r\n",
       kFound, "x", std::nullopt, false},
      // an unquoted boundary ends at "=": no line matches it.
      {"Content-Type: multipart/alternative; "
       "boundary=----=_NextPart_000_0001\n\n------=_NextPart_000_0001\nContent-Type: "
       "text/plain\n\nplain\n------=_NextPart_000_0001--\n",
       kNone, "", std::nullopt, false},
      // the same boundary quoted.
      {"Content-Type: multipart/alternative; "
       "boundary=\"----=_NextPart_000_0001\"\n\n------=_NextPart_000_0001\nContent-Type: "
       "text/plain\n\nplain\n------=_NextPart_000_0001--\n",
       kFound, "plain", std::nullopt, false},
      // an RFC 2231 charset.
      {"Content-Type: multipart/mixed; boundary=m\n\n--m\nContent-Type: text/plain; "
       "charset*=us-ascii'en'windows-1251\n\nx\n--m--\n",
       kFound, "x", "windows-1251", false},
      // the message an attachment.
      {"Content-Type: text/plain\nContent-Disposition: attachment\n\nx\n", kNone, "", std::nullopt,
       false},
      // lone CRs end lines.
      {"Content-Type: multipart/mixed; boundary=b\r\r--b\rContent-Type: "
       "text/plain\r\rone\rtwo\r--b--\r",
       kFound, "one\rtwo", std::nullopt, false},
      // an empty boundary.
      {"Content-Type: multipart/mixed; boundary=\"\"\n\n--\nContent-Type: text/plain\n\nx\n----\n",
       kFound, "x", std::nullopt, false},
      // a boundary with a byte above 127 matches nothing.
      {"Content-Type: multipart/mixed; boundary=\"b\xe9\"\n\n--b\xe9\nContent-Type: "
       "text/plain\n\nx\n--b\xe9--\n",
       kNone, "", std::nullopt, false},
      // an invalid Content-Type is text/plain.
      {"Content-Type: multipart/mixed; boundary=m\n\n--m\nContent-Type: garbage; "
       "charset=utf-8\n\nx\n--m--\n",
       kFound, "x", "utf-8", false},
      // text/calendar is no text part.
      {"Content-Type: multipart/mixed; boundary=m\n\n--m\nContent-Type: "
       "text/calendar\n\nx\n--m--\n",
       kNone, "", std::nullopt, false},
      // an attached multipart is not searched.
      {"Content-Type: multipart/mixed; boundary=m\n\n--m\nContent-Type: multipart/alternative; "
       "boundary=a\nContent-Disposition: attachment\n\n--a\nContent-Type: "
       "text/plain\n\nhidden\n--a--\n--m\nContent-Type: text/html\n\nseen\n--m--\n",
       kFound, "seen", std::nullopt, true},
      // the first Content-Type counts.
      {"Content-Type: text/html\nContent-Type: multipart/mixed; boundary=m\n\n--m\n\nx\n--m--\n",
       kFound, "--m\n\nx\n--m--\n", std::nullopt, true},
  };
  for (const Case& c : cases) {
    const MessageParts parts = SplitMessage(c.message);
    const TextPartAnswer answer = FindTextPart(parts.headers, parts.body, true);
    ASSERT_EQ(answer.status, c.status) << c.message;
    if (c.status == kFound) {
      EXPECT_EQ(Decoded(answer.part), c.text) << c.message;
      EXPECT_EQ(answer.part.charset, c.charset) << c.message;
      EXPECT_EQ(answer.part.html, c.html) << c.message;
    }
    ExpectPrefixesAgree(parts, answer);
  }
}

// A text part before a large attachment is found without the attachment:
// the answer comes as soon as its boundary line is whole.
TEST(TextPartTest, AnswersBeforeTheEndWhenItCan) {
  const std::string body =
      "--m\r\nContent-Type: text/plain\r\n\r\nhello\r\n--m\r\n"
      "Content-Type: application/octet-stream\r\nContent-Transfer-Encoding: base64\r\n\r\n" +
      std::string(1 << 20, 'A') + "\r\n--m--\r\n";
  const std::string headers = "Content-Type: multipart/mixed; boundary=m\r\n";
  const std::string_view whole = body;
  const size_t boundary_line_end = whole.find("--m\r\n", 10) + 5;
  EXPECT_EQ(FindTextPart(headers, whole.substr(0, boundary_line_end - 2), false).status, kNeedMore);
  // A CR at the end may be the first half of CR LF.
  EXPECT_EQ(FindTextPart(headers, whole.substr(0, boundary_line_end - 1), false).status, kNeedMore);
  const TextPartAnswer answer = FindTextPart(headers, whole.substr(0, boundary_line_end), false);
  ASSERT_EQ(answer.status, kFound);
  EXPECT_EQ(answer.part.bytes, "hello");
  // Without a plain part, an html part is the answer only at the end.
  const std::string html = "--m\nContent-Type: text/html\n\nhi\n--m\nContent-Type: image/png\n\n" +
                           std::string(1000, 'x');
  EXPECT_EQ(FindTextPart(headers, html, false).status, kNeedMore);
  EXPECT_EQ(FindTextPart(headers, html, true).part.bytes, "hi");
  const std::string closed = html + "\n--m--\n";
  EXPECT_EQ(FindTextPart(headers, closed, false).part.bytes, "hi");
  // A message that is its own text part needs all of its body.
  EXPECT_EQ(FindTextPart("Subject: x\n", "text", false).status, kNeedMore);
  EXPECT_EQ(FindTextPart("Content-Type: image/png\n", "", false).status, kNone);
}

// Multiparts nested past the limit are read as parts of no type: deep
// nesting costs no more state, and takes no stack.
TEST(TextPartTest, NestingIsBounded) {
  for (const size_t depth : {kMaxMultipartDepth - 1, kMaxMultipartDepth, size_t{200000}}) {
    std::string body;
    for (size_t i = 0; i < depth; ++i) {
      body += "--b" + std::to_string(i) + "\nContent-Type: multipart/mixed; boundary=b" +
              std::to_string(i + 1) + "\n\n";
    }
    body += "--b" + std::to_string(depth) + "\nContent-Type: text/plain\n\ndeep\n";
    const TextPartAnswer answer =
        FindTextPart("Content-Type: multipart/mixed; boundary=b0\n", body, true);
    if (depth < kMaxMultipartDepth) {
      ASSERT_EQ(answer.status, kFound);
      EXPECT_EQ(answer.part.bytes, "deep");
    } else {
      EXPECT_EQ(answer.status, kNone);
    }
  }
}

}  // namespace
}  // namespace lintrel::cli
