// The table of the plug-in's macros. Every example's output is checked
// against the plug-in itself by the tests, and the documents are made from
// this table by lintrel_macro_docs.
#include "tools/arguments/macro_reference.h"

namespace lintrel::cli {
namespace {

// The unit labels of the two span macros.
std::vector<MacroParameter> SpanLabelParameters() {
  return {
      {.position = 0,
       .name = "seconds",
       .meaning = "The label written after the number of seconds.",
       .when_empty = "\"sec\"."},
      {.position = 1,
       .name = "minutes",
       .meaning = "The label written after the number of minutes.",
       .when_empty = "\"m\"."},
      {.position = 2,
       .name = "hours",
       .meaning = "The label written after the number of hours.",
       .when_empty = "\"h\"."},
      {.position = 3,
       .name = "days",
       .meaning = "The label written after the number of days.",
       .when_empty = "\"d\"."},
  };
}

constexpr std::string_view kNoReceivedDate =
    "No header line begins with \"Received:\", or the field holds no date after its last "
    "\";\".";
constexpr std::string_view kNoDateFieldDate =
    "No header line begins with \"Date:\", or the field holds no date.";

// What a date macro does with a date that reads but names no moment.
enum class InvalidDate { kRaises, kGivesFallback };

// The errors of reading a header date; `missing` says when there is none.
std::vector<MacroError> DateErrors(std::string_view missing, InvalidDate invalid_date) {
  std::vector<MacroError> errors = {
      {.text = "List index out of bounds (0)", .when = missing},
      {.text = "List index out of bounds (N)",
       .when = "A date has fewer than its seven parts; N, counted from 0, is the first part "
               "missing: 6 for a date without a zone or a time without seconds."},
      {.text = "'WORD' is not a valid integer value",
       .when = "A part that must be a number is not one; WORD is that part: the day, the year, "
               "the hours, the minutes, the seconds, or a zone that is neither a number nor "
               "one of the zone names that are read (a zone EET gives 'EET' is not a valid "
               "integer value)."},
  };
  if (invalid_date == InvalidDate::kRaises) {
    errors.push_back(
        {.text = "''Y/M/D h:m:s.0'' is not a valid date and time",
         .when = "The parts read but name no moment: a month that is not recognised (read as "
                 "0), a day that the month does not have, an hour above 23. Y, M, D, h, m and s "
                 "are the numbers read, joined by the separators of the regional settings: "
                 "''2002/4/31 10:0:0.0'' for 31 April 2002."});
  }
  return errors;
}

std::vector<MacroReference> MakeTable() {
  return {
      {
          .name = "KOR_LN_VER",
          .summary = "The plug-in's version banner",
          .computes = "The plug-in's name and version as one line. It reads no parameter and "
                      "nothing of the message.",
          .result = "The text \"Korvale: Lintrel ver.\" followed by the version number, with no "
                    "line break.",
          .example = {.output = "Korvale: Lintrel ver.1.0.292"},
      },
      {
          .name = "KORDELIVERYTIME",
          .summary = "Time in transit: topmost to lowest Received: field",
          .computes =
              "How long the message was on its way: the time between the date of its topmost "
              "\"Received:\" field, which the server that delivered it added, and the date of "
              "the lowest one, which the first server added. A field is a header line that "
              "begins with \"Received:\", in exactly this letter case, with the folded lines "
              "that follow it (those that begin with a blank or a tab). Its date is what "
              "follows its last \";\" and, within that, its last \",\", so that a weekday is "
              "passed over: the day, the month, the year, hours:minutes:seconds and the zone, "
              "in this order; anything after the zone, such as \"(UTC)\", is not read. A month "
              "is the first three letters of its English name in any letter case (written out, "
              "only February and September to December are read). A year below 50 is taken as "
              "20xx, and one from 50 to 999 as counted from 1900. The zone is \"+hhmm\" or "
              "\"-hhmm\", or one of \"GMT\", \"UT\", \"UTC\", \"UMC\", \"EST\", \"EDT\", "
              "\"CST\", \"CDT\", \"MST\", \"MDT\", \"PST\" and \"PDT\". Which of the two dates "
              "is the later does not matter, fractions of a second are dropped, and a message "
              "with a single \"Received:\" field gives \"0 sec\".",
          .parameters = SpanLabelParameters(),
          .result = "The span as text, from the largest unit that it reaches down to the "
                    "seconds: days, hours, minutes and seconds, each number followed by a blank "
                    "and its label, the parts separated by blanks. Every smaller unit is "
                    "written, even when it is 0: with the default labels 90061 seconds read "
                    "\"1 d 1 h 1 m 1 sec\" and 60 seconds read \"1 m 0 sec\". Days are not "
                    "counted up into larger units.",
          .errors = DateErrors(kNoReceivedDate, InvalidDate::kRaises),
          .example = {.parameters = {"s", "min"}, .output = "11 min 15 s"},
      },
      {
          .name = "KORDELIVERYFROMDATE",
          .summary = "Listed only: gives \"Bad result KORDELIVERYFROMDATE\"",
          .computes = "Nothing. The name stands in the plug-in's list of macros, but the plug-in "
                      "does not make this macro, so it answers as it answers every name that it "
                      "does not know. It reads no parameter and nothing of the message. The "
                      "date on which the message was delivered is KORDELIVERYTODATE.",
          .result = "The text \"Bad result KORDELIVERYFROMDATE\".",
          .example = {.output = "Bad result KORDELIVERYFROMDATE"},
      },
      {
          .name = "KORDELIVERYTODATE",
          .summary = "Delivery date, from the topmost Received: field",
          .computes =
              "When the message was delivered: the date of its topmost \"Received:\" field, "
              "which the server that delivered it added, read as KORDELIVERYTIME reads its "
              "dates. The date and time are in UTC, the field's own time moved by its zone, and "
              "not in local time. They are written with the short date format of the regional "
              "settings and then, unless the time is exactly midnight, a blank and the long "
              "time format. In the e-mail client these are the settings of the Windows user; "
              "lintrel uses \"m/d/yy\" and \"h:mm:ss\" followed by \"am\" or \"pm\", unless "
              "\"--locale\" names a locale.",
          .parameters = {{.position = 0,
                          .name = "fallback",
                          .meaning = "The text given instead when the date reads but names no "
                                     "moment, such as 31 April or an hour of 24.",
                          .when_empty = "\"n/a\"."}},
          .result = "The date and time as text, such as \"3/14/24 8:26:15 am\", or P0.",
          .errors = DateErrors(kNoReceivedDate, InvalidDate::kGivesFallback),
          .example = {.output = "3/14/24 8:26:15 am"},
      },
      {
          .name = "KORCHARSET",
          .summary = "Character set named in the Content-Type field",
          .computes =
              "The message's character set: the value after \"charset=\" in the first header "
              "line that begins with \"Content-Type\" in any letter case, with the folded lines "
              "that follow it joined to it by blanks. Only that first field is looked at, and "
              "\"charset\" must be followed directly by \"=\": \"charset = utf-8\" is not "
              "found. The value ends before the first \";\" or blank, loses one double quote "
              "and then one single quote at each end, and is lower-cased, the letters of the "
              "code page beyond ASCII included.",
          .result = "The name of the character set in lower case, such as \"utf-8\"; "
                    "\"<unknown>\" when there is no such field, no \"charset=\" in it or no "
                    "value after it.",
          .example = {.output = "utf-8"},
      },
      {
          .name = "KORMAILER",
          .summary = "Mail program named in the X-Mailer: field",
          .computes =
              "The mail program that wrote the message: the value of the first header line "
              "that begins with \"X-Mailer:\", in exactly this letter case (\"x-mailer:\" is not "
              "found), with the folded lines that follow it joined to it by blanks, and "
              "without the blanks and control characters at its ends.",
          .parameters = {{.position = 0,
                          .name = "fallback",
                          .meaning = "The text given instead when no header line begins with "
                                     "\"X-Mailer:\".",
                          .when_empty = "\"<unknown>\"."}},
          .result = "The field's value, such as \"Wrenfield Mail 3.8.2\"; empty when the field "
                    "has no value; P0 when there is no such field.",
          .example = {.output = "Wrenfield Mail 3.8.2"},
      },
      {
          .name = "KORREPLYTIME",
          .summary = "Age of the message: from its Date: field to now",
          .computes =
              "How long ago the message was written: the time between the date of its first "
              "\"Date:\" field (a header line that begins with \"Date:\", in this letter case, "
              "with the folded lines that follow it) and the present moment, which the system "
              "clock gives in UTC to the millisecond. The date is read as KORDELIVERYTIME "
              "reads its dates; a \"Date:\" field without a weekday is read as well. A date in "
              "the future gives a span all the same. With lintrel, \"--now\" sets the present "
              "moment, so that the result does not change with the clock.",
          .parameters = SpanLabelParameters(),
          .result = "The span as text, written as KORDELIVERYTIME writes it: days, hours, "
                    "minutes and seconds from the largest unit that it reaches, each number "
                    "followed by a blank and its label, such as \"1 d 2 h 15 m 8 sec\".",
          .errors = DateErrors(kNoDateFieldDate, InvalidDate::kRaises),
          .example = {.options = {"--now", "2024-03-15T10:30:00.500Z"},
                      .output = "1 d 2 h 15 m 8 sec"},
      },
      {
          .name = "KORGETLINKS",
          .summary = "The http: and ftp: links of a text or of the body",
          .computes =
              "Every link in P0, or in the message body when P0 is empty, that begins with "
              "\"http:\" or \"ftp:\". These words are found in any letter case, also at the "
              "end of a longer word, and each link is copied as it is written. A link runs on "
              "through the letters, the digits, the double quote and the characters "
              "\"!#$%&'()*+,-./:@_~\", and ends before any other byte, such as a blank, a line "
              "break, "
              "\"?\", \"=\", \";\", \"<\", \">\", a square or curly bracket, a letter beyond "
              "ASCII. So a query after \"?\" is left out, and a full stop or a comma right "
              "after a link stays in it. Links that begin with \"https:\" are not found, and a "
              "second \"http:\" inside a link starts no link of its own.",
          .parameters = {{.position = 0,
                          .name = "text",
                          .meaning = "The text to search.",
                          .when_empty = "the message body is searched."}},
          .result = "The links in the order in which they stand, separated by CR LF, with no "
                    "line break after the last; empty when there is none.",
          .example = {.output = "http://intranet.example.com/reports/2024-q1.pdf\r\n"
                                "ftp://ftp.example.org/pub/figures/q1-raw.csv\r\n"
                                "http://www.example.net/review/agenda"},
      },
      {
          .name = "KORCUTHERE",
          .summary = "The signature separator: a line break and \"-- \"",
          .computes = "The line that separates a signature from the text above it, after a line "
                      "break. It reads no parameter and nothing of the message.",
          .result = "CR LF followed by \"-- \", two hyphens and a blank: five bytes.",
          .example = {.output = "\r\n-- "},
      },
      {
          .name = "KORKILLCITE",
          .summary = "A text without its lines quoted at a given depth",
          .computes =
              "Takes the deeper levels out of a quote: every line of P0 that holds P1 \">\" "
              "characters in a row, anywhere in the line and not only at its start, is left "
              "out, and every other line is kept. With the default depth 2, lines that begin "
              "with \">\" stay and lines that begin with \">>\" go; quote marks separated by "
              "blanks, as in \"> >\", are not in a row. Lines end at CR, LF or CR LF. "
              "KORKILLCITE works on P0 alone and never reads the message body: without P0 its "
              "result is empty, which is why \"lintrel run -i reply.eml KORKILLCITE\" prints "
              "nothing. Give the quote as P0, or from a file with \"--param-file 0 FILE\".",
          .parameters = {{.position = 0,
                          .name = "text",
                          .meaning = "The quoted text.",
                          .when_empty = "the result is empty; the message body is not read."},
                         {.position = 1,
                          .name = "depth",
                          .meaning = "How many \">\" in a row mark a line to leave out. A "
                                     "depth that is given is used as it is: 0 or less gives P0 "
                                     "back unchanged.",
                          .when_empty = "depth 2.",
                          .number = true}},
          .result = "The kept lines, each followed by CR LF, whatever line breaks P0 had; "
                    "empty when no line is kept. With a depth of 0 or less, P0 unchanged.",
          .example = {.parameters = {"Yes.\n> Lunch on Friday?\n>> Or Monday?"},
                      .output = "Yes.\r\n> Lunch on Friday?\r\n"},
      },
      {
          .name = "KORMKLINK",
          .summary = "A text escaped to stand inside a link",
          .computes =
              "Makes P0 fit to stand inside a link, such as the subject of a \"mailto:\" link: "
              "every byte other than an ASCII letter or digit is written as \"%\" and its value "
              "in two hexadecimal digits with capital letters, so a blank becomes \"%20\", "
              "\"-\" becomes \"%2D\" and CR LF becomes \"%0D%0A\". Letters and digits stay as "
              "they are. Each byte is escaped on its own, as it stands in the message's "
              "character set: nothing is converted to UTF-8. KORMKLINK works on P0 alone and "
              "never reads the message body.",
          .parameters = {{.position = 0,
                          .name = "text",
                          .meaning = "The text to escape.",
                          .when_empty = "the result is empty."}},
          .result = "The escaped text, at most three times as long as P0.",
          .example = {.parameters = {"Q1 report: Lisbon"}, .output = "Q1%20report%3A%20Lisbon"},
      },
      {
          .name = "KORCITE",
          .summary = "A long quote cut to its first and last lines",
          .computes =
              "Shortens a long quote to P2 lines: half of them, rounded down, from its start "
              "and the rest from its end, with P1 on a line of its own in place of the lines "
              "left out. The text is P0, or the message body when P0 is empty; its lines end "
              "at CR, LF or CR LF. A text of no more than P2 lines comes back exactly as it "
              "was given. Otherwise every piece of the result, P1 included, is followed by CR "
              "LF.",
          .parameters = {{.position = 0,
                          .name = "text",
                          .meaning = "The text to shorten.",
                          .when_empty = "the message body is shortened."},
                         {.position = 1,
                          .name = "insert",
                          .meaning =
                              "The line put in place of the lines left out, such as \"[...]\".",
                          .when_empty = "nothing is put there, not even an empty line."},
                         {.position = 2,
                          .name = "count",
                          .meaning =
                              "How many lines to keep. A count of 0 or less keeps no line of a "
                              "text that has lines: the result is then P1 followed by CR LF, or "
                              "empty without P1.",
                          .when_empty = "0, so no line is kept.",
                          .number = true}},
          .result = "The lines kept, with P1 between them, each followed by CR LF; or the text "
                    "unchanged.",
          .example = {.parameters = {"", "[...]", "4"},
                      .output = "Hi Jonas,\r\n"
                                "\r\n"
                                "[...]\r\n"
                                "Marta Kovac\r\n"
                                "Regional accounts, Lisbon office\r\n"},
      },
      {
          .name = "KORGETHEADER",
          .summary = "The value of a header field that you name",
          .computes =
              "The value of any header field: the first header line that begins with P0, "
              "compared byte for byte (the letter case counts, and no colon is added), with "
              "the folded lines that follow it joined to it by blanks. The byte right after "
              "the name is skipped, the colon after \"Subject\" or the blank after "
              "\"Subject:\", and the rest loses the blanks and control characters at its "
              "ends. P0 only has to begin the line: \"Sub\" finds the \"Subject:\" line too, "
              "and gives its text from \"ect:\" on.",
          .parameters = {{.position = 0,
                          .name = "name",
                          .meaning = "The field's name, with or without its colon.",
                          .when_empty = "the result is empty."}},
          .result = "The field's value; empty when no header line begins with P0.",
          .example = {.parameters = {"Subject"},
                      .output = "Re: Quarterly figures for the Lisbon office"},
      },
  };
}

bool SameNameIgnoringAsciiCase(std::string_view name, std::string_view upper) {
  if (name.size() != upper.size()) return false;
  for (size_t i = 0; i < name.size(); ++i) {
    const char c = name[i] >= 'a' && name[i] <= 'z' ? static_cast<char>(name[i] - 32) : name[i];
    if (c != upper[i]) return false;
  }
  return true;
}

}  // namespace

std::span<const MacroReference> MacroReferences() {
  static const std::vector<MacroReference> table = MakeTable();
  return table;
}

const MacroReference* FindMacroReference(std::string_view name) {
  for (const MacroReference& macro : MacroReferences()) {
    if (SameNameIgnoringAsciiCase(name, macro.name)) return &macro;
  }
  return nullptr;
}

}  // namespace lintrel::cli
