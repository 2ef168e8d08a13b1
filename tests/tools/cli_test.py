#!/usr/bin/env python3
"""Runs the built `lintrel` as a user would and checks its exact output.

Usage: cli_test.py PATH_TO_LINTREL [TestClass ...]
"""

import os
import subprocess
import sys
import tempfile
import unittest

LINTREL = None

USAGE_START = b"usage: lintrel run "

SAMPLE_REPORT = (
    b"KORDELIVERYTIME: 11 m 15 sec\n"
    b"KORDELIVERYTODATE: 3/14/24 8:26:15 am\n"
    b"KORCHARSET: utf-8\n"
    b"KORMAILER: Wrenfield Mail 3.8.2\n"
    b"KORREPLYTIME: 1 d 2 h 15 m 8 sec\n"
    b"KORGETLINKS: http://intranet.example.com/reports/2024-q1.pdf\n"
    b"  ftp://ftp.example.org/pub/figures/q1-raw.csv\n"
    b"  http://www.example.net/review/agenda\n"
    b"KORCITE: \n"
    b"KORGETHEADER: Re: Quarterly figures for the Lisbon office\n"
)

REPORT_MACROS = [
    b"KORDELIVERYTIME", b"KORDELIVERYTODATE", b"KORCHARSET", b"KORMAILER",
    b"KORREPLYTIME", b"KORGETLINKS", b"KORCITE", b"KORGETHEADER",
]


def lintrel(*args, stdin=b""):
    """Runs lintrel; answers (exit status, stdout bytes, stderr bytes)."""
    done = subprocess.run([LINTREL, *args], input=stdin, capture_output=True, timeout=60)
    return done.returncode, done.stdout, done.stderr


class FileCase(unittest.TestCase):
    """A test with a scratch folder for the files it hands to lintrel."""

    def setUp(self):
        self._folder = tempfile.TemporaryDirectory()
        self.addCleanup(self._folder.cleanup)

    def file(self, name, data):
        path = os.path.join(self._folder.name, name)
        with open(path, "wb") as f:
            f.write(data)
        return path

    def assertRuns(self, args, stdout, stdin=b""):
        self.assertEqual(lintrel(*args, stdin=stdin), (0, stdout, b""), args)


class RunTest(FileCase):
    def test_prints_exactly_the_result_bytes(self):
        cases = [
            (["KOR_LN_VER"], b"Korvale: Lintrel ver.1.0.292"),
            (["kor_ln_ver", "ignored", "parameters"], b"Korvale: Lintrel ver.1.0.292"),
            (["KORCUTHERE"], b"\r\n-- "),
            (["korDeliveryFromDate"], b"Bad result KORDELIVERYFROMDATE"),
            (["no such macro"], b"Bad result NO SUCH MACRO"),
            (["KOR_LN_VER "], b"Bad result KOR_LN_VER "),
            (["--", "-x"], b"Bad result -X"),
        ]
        for args, stdout in cases:
            self.assertRuns(["run", *args], stdout)

    def test_message_options_are_accepted_with_any_macro(self):
        message = self.file("m.eml", b"Subject: s\r\n\r\nbody\r\n")
        self.assertRuns(["run", "--message", message, "KOR_LN_VER"], b"Korvale: Lintrel ver.1.0.292")
        self.assertRuns(["run", "--message", "-", "KORCUTHERE"], b"\r\n-- ", stdin=b"S: x\n\nbody")
        self.assertRuns(["run", "--headers", message, "KORCUTHERE"], b"\r\n-- ")
        self.assertRuns(["run", "--body", message, "--param-file", "3", message, "KORCUTHERE"],
                        b"\r\n-- ")

    def test_list_version_and_help(self):
        names = (b"KOR_LN_VER\nKORDELIVERYTIME\nKORDELIVERYFROMDATE\nKORDELIVERYTODATE\n"
                 b"KORCHARSET\nKORMAILER\nKORREPLYTIME\nKORGETLINKS\nKORCUTHERE\nKORKILLCITE\n"
                 b"KORMKLINK\nKORCITE\nKORGETHEADER\n")
        self.assertRuns(["list"], names)
        self.assertRuns(["--version"], b"1.0.292\n")
        status, out, err = lintrel("--help")
        self.assertEqual((status, err), (0, b""))
        self.assertTrue(out.startswith(USAGE_START))
        for name in REPORT_MACROS:
            self.assertIn(name, out)


class ExitStatusTest(FileCase):
    def assertUsageError(self, args, message):
        status, out, err = lintrel(*args)
        self.assertEqual((status, out), (2, b""), args)
        self.assertEqual(err.split(b"\n")[0], b"lintrel: " + message, args)
        self.assertIn(b"\n" + USAGE_START, err, args)

    def test_usage_errors_exit_2_with_the_usage(self):
        cases = [
            ([], b"no command given"),
            (["launch"], b"unknown command 'launch'"),
            (["run"], b"no macro name given"),
            (["run", "--colour", "KOR_LN_VER"], b"unknown option --colour"),
            (["run", "--message"], b"--message needs a value"),
            (["run", "KOR_LN_VER", "a", "b", "c", "d", "e"], b"at most four parameters, P0 to P3"),
            (["run", "--now", "2024-03-15 10:30:00", "KOR_LN_VER"],
             b"--now takes a UTC time YYYY-MM-DDTHH:MM:SS[.mmm]Z, not '2024-03-15 10:30:00'"),
            (["run", "--now", "2023-02-29T00:00:00Z", "KOR_LN_VER"],
             b"--now takes a UTC time YYYY-MM-DDTHH:MM:SS[.mmm]Z, not '2023-02-29T00:00:00Z'"),
            (["run", "--message", "a", "--headers", "b", "KOR_LN_VER"],
             b"--message cannot be combined with --headers or --body"),
            (["run", "--param-file", "9", "f", "KOR_LN_VER"],
             b"--param-file takes a parameter number from 0 to 3, not '9'"),
            (["run", "--mbox", "-", "--param-file", "0", "-", "KOR_LN_VER"],
             b"standard input (-) can be read only once"),
            (["report", "KORCITE"], b"unexpected argument 'KORCITE'"),
        ]
        for args, message in cases:
            self.assertUsageError(args, message)

    def test_unreadable_files_exit_2_naming_the_file(self):
        missing = os.path.join(tempfile.gettempdir(), "lintrel-no-such-file.eml")
        folder = os.path.dirname(self.file("x", b""))
        cases = [
            (["run", "--message", missing, "KOR_LN_VER"], missing.encode() + b": No such file or directory"),
            (["run", "--body", folder, "KOR_LN_VER"], folder.encode() + b": Is a directory"),
            (["run", "--param-file", "0", missing, "KOR_LN_VER"],
             missing.encode() + b": No such file or directory"),
            (["run", "--mbox", missing, "KOR_LN_VER"], missing.encode() + b": No such file or directory"),
            (["report", "--message", missing], missing.encode() + b": No such file or directory"),
        ]
        for args, message in cases:
            self.assertEqual(lintrel(*args), (2, b"", b"lintrel: " + message + b"\n"), args)

    def test_a_locale_that_is_not_installed(self):
        self.assertEqual(lintrel("run", "--locale", "xx_NOWHERE.UTF-8", "KOR_LN_VER"),
                         (2, b"", b"lintrel: locale 'xx_NOWHERE.UTF-8' is not installed\n"))

    def test_a_full_output_is_a_failure(self):
        if not os.path.exists("/dev/full"):
            self.skipTest("no /dev/full")
        with open("/dev/full", "wb") as full:
            done = subprocess.run([LINTREL, "run", "KOR_LN_VER"], stdout=full,
                                  stderr=subprocess.PIPE, timeout=60)
        self.assertEqual(done.returncode, 2)
        self.assertEqual(done.stderr, b"lintrel: standard output: No space left on device\n")


class MboxTest(FileCase):
    MBOX = (b"From alice@example.org Thu Mar 14 08:00:00 2024\n"
            b"Subject: one\n\nfirst\n\n"
            b"From bob@example.org Thu Mar 14 09:00:00 2024\n"
            b"Subject: two\n\nsecond\nFrom here on the line stays\n>From too\n\n"
            b"From carol@example.org Thu Mar 14 10:00:00 2024\n"
            b"Subject: three\n\nthird\n")

    def test_one_line_per_message(self):
        path = self.file("box.mbox", self.MBOX)
        banner = b"Korvale: Lintrel ver.1.0.292"
        self.assertRuns(["run", "--mbox", path, "KOR_LN_VER"],
                        b"1\t" + banner + b"\n2\t" + banner + b"\n3\t" + banner + b"\n")
        self.assertRuns(["run", "--mbox", "-", "korcuthere"],
                        b"1\t\\r\\n-- \n2\t\\r\\n-- \n3\t\\r\\n-- \n", stdin=self.MBOX)
        crlf = self.MBOX.replace(b"\n", b"\r\n")
        self.assertRuns(["run", "--mbox", "-", "UNKNOWN"],
                        b"1\tBad result UNKNOWN\n2\tBad result UNKNOWN\n3\tBad result UNKNOWN\n",
                        stdin=crlf)

    def test_an_empty_mailbox_gives_no_lines(self):
        self.assertRuns(["run", "--mbox", self.file("empty.mbox", b""), "KOR_LN_VER"], b"")


class ReportTest(FileCase):
    def test_reports_the_message_macros_in_list_order(self):
        # The plain message has no date fields, so its report may hold errors.
        plain = self.file("m.eml", b"Subject: s\n\nb\n")
        for args, statuses in ((["report"], (0,)), (["report", "--message", plain], (0, 1))):
            status, out, err = lintrel(*args, "--now", "2024-03-15T10:30:00Z")
            self.assertIn(status, statuses, args)
            self.assertEqual(err, b"", args)
            names = [line.split(b":")[0] for line in out.split(b"\n") if line and line[0:1] != b" "]
            self.assertEqual(names, REPORT_MACROS, args)


class SplittingTest(FileCase):
    """KORCITE with a large count gives the body back byte for byte; KORMAILER
    shows that the header block ends where it should."""

    def check(self, message, body, mailer):
        path = self.file("m.eml", message)
        self.assertRuns(["run", "--message", path, "KORCITE", "", "", "1000"], body)
        self.assertRuns(["run", "--message", path, "KORMAILER"], mailer)
        self.assertRuns(["run", "--message", "-", "KORCITE", "", "", "1000"], body, stdin=message)

    def test_message_files(self):
        self.check(b"Subject: s\r\nX-Mailer: M1\r\n\r\nbody one\r\n\r\nbody two\r\n",
                   b"body one\r\n\r\nbody two\r\n", b"M1")
        self.check(b"Subject: s\nX-Mailer: M2\n\nbody one\n\nbody two", b"body one\n\nbody two", b"M2")
        self.check(b"Subject: s\r\nX-Mailer: M3\r\n", b"", b"M3")
        self.check(b"X-Mailer: M4\r\n\r\n", b"", b"M4")
        self.check(b"\r\nX-Mailer: not a header\r\n", b"X-Mailer: not a header\r\n", b"<unknown>")

    def test_headers_and_body_files_and_parameter_files(self):
        headers = self.file("h", b"Subject: from file\r\n")
        body = self.file("b", b"no empty line here\r\nX-Mailer: body\r\n")
        self.assertRuns(["run", "--headers", headers, "--body", body, "KORCITE", "", "", "9"],
                        b"no empty line here\r\nX-Mailer: body\r\n")
        self.assertRuns(["run", "--headers", headers, "KORGETHEADER", "Subject"], b"from file")
        self.assertRuns(["run", "--body", body, "KORGETHEADER", "Subject"], b"")
        text = self.file("p", b"a b\r\n\xe9\x00z")
        self.assertRuns(["run", "--param-file", "0", text, "KORMKLINK", "ignored"], b"a%20b%0D%0A%E9")
        self.assertRuns(["run", "KORMKLINK", "50% off"], b"50%25%20off")


class NowTest(FileCase):
    def test_now_is_the_clock_of_the_reply_time(self):
        headers = self.file("h", b"Date: Tue, 01 Jan 2002 10:00:00 +0300\r\n")
        cases = [
            ("2002-01-01T07:01:30.250Z", b"1 m 30 sec"),
            ("2002-01-01T08:00:00.999Z", b"1 h 0 m 0 sec"),
            ("2002-01-03T09:33:20Z", b"2 d 2 h 33 m 20 sec"),
            # A date in the future gives a span all the same.
            ("2002-01-01T06:58:29.500Z", b"1 m 30 sec"),
        ]
        for now, span in cases:
            self.assertRuns(["run", "--headers", headers, "--now", now, "KORREPLYTIME"], span)
        self.assertRuns(["run", "--headers", headers, "--now", "2002-01-01T07:01:30Z",
                         "KORREPLYTIME", "s", "min"], b"1 min 30 s")


class SampleReportTest(unittest.TestCase):
    def test_report_on_the_built_in_sample(self):
        self.assertEqual(lintrel("report", "--now", "2024-03-15T10:30:00.500Z"),
                         (0, SAMPLE_REPORT, b""))


class RaisingTest(FileCase):
    def test_a_raising_macro_exits_1_with_its_message(self):
        headers = self.file("h", b"Subject: no received field\r\n")
        for args in (["--now", "2024-01-01T00:00:00Z", "KORREPLYTIME"], ["KORDELIVERYTIME"],
                     ["KORDELIVERYTODATE"]):
            self.assertEqual(lintrel("run", "--headers", headers, *args),
                             (1, b"", b"lintrel: List index out of bounds (0)\n"), args)

    def test_a_mailbox_with_one_failing_message(self):
        mbox = (b"From a\nReceived: from b by c; Tue, 01 Jan 2002 10:01:30 +0300\n"
                b"Received: from a by b; Tue, 01 Jan 2002 10:00:00 +0300\n\none\n\n"
                b"From b\nSubject: nothing received\n\ntwo\n\n"
                b"From c\r\nReceived: from a by b; Tue, 01 Jan 2002 10:00:00 +0000\r\n\r\n")
        path = self.file("box", mbox)
        self.assertEqual(
            lintrel("run", "--mbox", path, "KORDELIVERYTIME", "s"),
            (1, b"1\t1 m 30 s\n2\tERROR: List index out of bounds (0)\n3\t0 s\n", b""))
        self.assertEqual(
            lintrel("run", "--mbox", path, "KORDELIVERYTODATE"),
            (1, b"1\t1/1/02 7:01:30 am\n2\tERROR: List index out of bounds (0)\n3\t1/1/02 10:00:00 am\n",
             b""))

    def test_a_report_shows_errors_in_place(self):
        status, out, err = lintrel("report", "--message", self.file("m", b"Subject: Hi\r\n\r\nx\r\n"))
        self.assertEqual((status, err), (1, b""))
        self.assertIn(b"KORDELIVERYTIME: error: List index out of bounds (0)\n", out)
        self.assertIn(b"KORREPLYTIME: error: List index out of bounds (0)\n", out)
        self.assertIn(b"KORGETHEADER: Hi\n", out)


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    LINTREL = sys.argv[1]
    unittest.main(argv=[sys.argv[0], *sys.argv[2:]], verbosity=2)
