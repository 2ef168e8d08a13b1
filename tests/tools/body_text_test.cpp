#include "tools/body_text/body_text.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tools/inputs/listing.h"
#include "tools/inputs/message_reader.h"
#include "tools/scratch_folder.h"

namespace lintrel::cli {
namespace {

std::string Bytes(const ItemBytes& item) {
  std::string bytes(item.size(), '\0');
  item.CopyFront(bytes.data(), bytes.size());
  return bytes;
}

std::string BodyText(std::string_view message, TextTarget target) {
  Message parsed = Message::FromBytes({}, nullptr, message);
  std::shared_ptr<const void> storage;
  return Bytes(MakeBodyText(parsed, target, storage));
}

constexpr TextTarget k1252{1252, false};
constexpr TextTarget k1251{1251, false};
constexpr TextTarget k932{932, false};
constexpr TextTarget kUtf8{1252, true};

// The part a mail reader shows, decoded and in the code page; what has no
// charset (or one nobody knows) as it stands.
TEST(BodyTextTest, TheTextPartDecodedIntoTheCodePage) {
  struct Case {
    const char* what;
    std::string message;
    TextTarget target;
    std::string text;
  };
  const std::string alternative =
      "Content-Type: multipart/alternative; boundary=b\r\n\r\npreamble\r\n--b\r\n"
      "Content-Type: text/html\r\n\r\n<p>html</p>\r\n--b\r\nContent-Type: text/plain\r\n\r\n"
      "plain\r\n--b--\r\n";
  const Case cases[] = {
      {"no MIME", "Subject: s\r\n\r\nplain \xe9 text\r\n", k1252, "plain \xe9 text\r\n"},
      {"utf-8", "Content-Type: text/plain; charset=utf-8\n\ncaf\xc3\xa9 \xe2\x82\xac\n", k1252,
       "caf\xe9 \x80\n"},
      {"utf-8 into 932", "Content-Type: text/plain; charset=utf-8\n\ncaf\xc3\xa9\n", k932,
       "caf?\n"},
      {"quoted-printable link",
       "Content-Type: text/plain; charset=us-ascii\nContent-Transfer-Encoding: quoted-printable\n\n"
       "see http://example.org/a?b=3Dc&=\r\nd=3de\r\n",
       k1252, "see http://example.org/a?b=c&d=e\r\n"},
      {"base64 koi8-r",
       "Content-Type: text/plain; charset=koi8-r\nContent-Transfer-Encoding: base64\n\n8NLJ18XU\n",
       k1251, "\xcf\xf0\xe8\xe2\xe5\xf2"},
      {"plain after html", alternative, k1252, "plain"},
      {"html only", "Content-Type: text/html; charset=utf-8\n\n<p>caf\xc3\xa9</p>", k1252,
       "<p>caf\xe9</p>"},
      {"unknown label", "Content-Type: text/plain; charset=x-nobody\n\ncaf\xe9", k1252, "caf\xe9"},
      {"unknown label in UTF-8", "Content-Type: text/plain; charset=x-nobody\n\ncaf\xe9", kUtf8,
       "caf\xc3\xa9"},
      {"no label in 932", "Subject: s\n\n\x82\xa0 \x82", k932, "\x82\xa0 \x82"},
      {"utf-16 with a mark",
       "Content-Type: text/plain; charset=utf-16\n\n" + std::string("\xff\xfeh\0i\0", 6), k1252,
       "hi"},
      {"a mark over the label",
       "Content-Type: text/plain; charset=windows-1252\n\n\xef\xbb\xbf\xc3\xa9", k1252, "\xe9"},
      {"x-user-defined",
       "Content-Type: text/plain; charset=x-user-defined\n\na\xe9\x80"
       "b",
       k1252, "a??b"},
      {"iso-2022-jp", "Content-Type: text/plain; charset=iso-2022-jp\n\n\x1b$B$3$s\x1b(B!", k932,
       "\x82\xb1\x82\xf1!"},
      {"an attachment", "Content-Type: text/plain\nContent-Disposition: attachment\n\ntext", k1252,
       ""},
      {"no text part", "Content-Type: image/png\n\n\x89PNG", k1252, ""},
      {"a line that is no header line", "Subject: s\r\nnot a header\r\nX-After: a\r\n\r\nbody\r\n",
       k1252, "not a header\r\nX-After: a\r\n\r\nbody\r\n"},
      {"utf-8 written in UTF-8",
       "Content-Type: text/plain; charset=utf-8\n\n\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80", kUtf8,
       "\xc3\xa9\xe2\x82\xac?"},
  };
  for (const Case& c : cases) EXPECT_EQ(BodyText(c.message, c.target), c.text) << c.what;
}

// A large body that is one text and needs nothing done stays in its file;
// one that needs converting is read.
TEST(BodyTextTest, ABodyThatNeedsNothingStaysInItsFile) {
  const ScratchFolder folder;
  ASSERT_FALSE(folder.path().empty());
  const std::string ascii(200000, 'a');
  struct Case {
    std::string message;
    bool in_file;
    std::string text;
  };
  const Case cases[] = {
      {"Content-Type: text/plain; charset=utf-8\n\n" + ascii, true, ascii},
      {"Subject: none\n\n" + ascii + "\xe9", true, ascii + "\xe9"},
      {"Content-Type: text/plain; charset=iso-8859-1\n\n" + ascii + "\xe9", true, ascii + "\xe9"},
      {"Content-Type: text/plain; charset=utf-8\n\n" + ascii + "\xc3\xa9", false, ascii + "\xe9"},
  };
  for (const Case& c : cases) {
    PathStore paths;
    const std::string path = folder.Write("m.eml", c.message);
    OpenInput input = OpenListedFile({paths.Keep(path), InputKind::kMessage, Listed::kRegularFile});
    std::vector<Message> read;
    ReadMessages(input, [&](Message message, uint64_t) { read.push_back(std::move(message)); });
    std::shared_ptr<const void> storage;
    const ItemBytes text = MakeBodyText(read[0], k1252, storage);
    EXPECT_EQ(text.in_file(), c.in_file) << c.message.substr(0, 40);
    EXPECT_EQ(Bytes(text), c.text) << c.message.substr(0, 40);
  }
}

// The subject as a mail reader shows it: encoded-words decoded, the bytes
// of the field itself read as UTF-8, all of it in the code page.
TEST(BodyTextTest, TheSubjectDecodedIntoTheCodePage) {
  struct Case {
    std::string headers;
    TextTarget target;
    std::string subject;
  };
  const Case cases[] = {
      {"Subject: =?utf-8?q?Caf=C3=A9?= =?iso-8859-1?q?_=E0_midi?=\r\n", k1252, "Caf\xe9 \xe0 midi"},
      {"Subject: Re: plain\r\n folded\r\n", k1252, "Re: plain folded"},
      {"Subject: Gr\xc3\xbc\xc3\x9f"
       "e =?koi8-r?b?8NLJ18XU?=\n",
       k1251, "Gr??e \xcf\xf0\xe8\xe2\xe5\xf2"},
      {"Subject: =?x-nobody?q?caf=C3=A9?=\n", k1252, "caf\xe9"},
      {"To: x\n", k1252, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(SubjectText(c.headers, c.target), c.subject) << c.headers;
}

}  // namespace
}  // namespace lintrel::cli
