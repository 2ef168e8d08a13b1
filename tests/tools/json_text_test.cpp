#include "tools/output/json_text.h"

#include <gtest/gtest.h>

#include <string>

namespace lintrel::cli {
namespace {

TEST(JsonTextTest, WritesAnyBytesAsAJsonString) {
  struct Case {
    std::string bytes;
    std::string json;
  };
  const Case cases[] = {
      {"", R"("")"},
      {"plain text", R"("plain text")"},
      {"say \"hi\" \\ bye", R"("say \"hi\" \\ bye")"},
      {"\r\n-- \t\b\f", R"("\r\n-- \t\b\f")"},
      {std::string("\0\x01\x1f\x7f", 4), "\"\\u0000\\u0001\\u001f\x7f\""},
      // Valid UTF-8 of two, three and four bytes is copied.
      {"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x93\xa7",
       "\"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x93\xa7\""},
      {"\xed\x9f\xbf\xee\x80\x80\xf4\x8f\xbf\xbf", "\"\xed\x9f\xbf\xee\x80\x80\xf4\x8f\xbf\xbf\""},
      // Each byte outside a valid sequence is U+DC00 plus the byte.
      {"caf\xe9", R"("caf\udce9")"},
      {"\x80\xff", R"("\udc80\udcff")"},
      // Overlong forms, surrogates and code points above U+10FFFF.
      {"\xc0\xaf", R"("\udcc0\udcaf")"},
      {"\xe0\x80\xaf", R"("\udce0\udc80\udcaf")"},
      {"\xed\xa0\x80", R"("\udced\udca0\udc80")"},
      {"\xf4\x90\x80\x80", R"("\udcf4\udc90\udc80\udc80")"},
      {"\xf8\x88\x80\x80\x80", R"("\udcf8\udc88\udc80\udc80\udc80")"},
      // A sequence cut short, at the end and before an ASCII byte.
      {"\xe2\x82", R"("\udce2\udc82")"},
      {"\xe2\x82x\xc3", R"("\udce2\udc82x\udcc3")"},
      // An escaped byte inside valid text keeps the text around it.
      {"\xc3\xa9\xe9\xc3\xa9", "\"\xc3\xa9\\udce9\xc3\xa9\""},
  };
  for (const Case& c : cases) {
    Text out = "{";
    AppendJsonString(out, c.bytes);
    EXPECT_EQ(out, "{" + c.json) << c.bytes;
  }
}

}  // namespace
}  // namespace lintrel::cli
