#!/usr/bin/env python3
"""Runs the built `lintrel` as a user would and checks its exact output.

Usage: cli_test.py [--wine WINE_RUN] PATH_TO_LINTREL [TestClass ...]

With --wine, PATH_TO_LINTREL is lintrel.exe, run through the script WINE_RUN.
"""

import json
import os
import re
import shlex
import time
import pty
import resource
import subprocess
import sys
import tempfile
import unittest

# The command line that runs lintrel, with absolute paths.
LINTREL = None
# Whether it is lintrel.exe under Wine.
WINDOWS = False

USAGE_START = b"usage: lintrel run "



def date_text(year, month, day, hour, minute, second):
    """The delivery date as the plug-in renders it here: with its built-in
    regional settings on Linux; with those of the Windows user under Wine,
    whose locale the tests set to English (United States)."""
    half = "AM" if hour < 12 else "PM"
    hour12 = hour % 12 or 12
    if WINDOWS:
        return f"{month}/{day}/{year} {hour12}:{minute:02}:{second:02} {half}".encode()
    return f"{month}/{day}/{year % 100:02} {hour12}:{minute:02}:{second:02} {half.lower()}".encode()


def sample_report():
    return (
        b"==> the built-in sample message <==\n"
        b'KOR_LN_VER: "Korvale: Lintrel ver.1.0.292"\n'
        b"KORDELIVERYTIME: 11 m 15 sec\n"
        b"KORDELIVERYFROMDATE: Bad result KORDELIVERYFROMDATE\n"
        b"KORDELIVERYTODATE: " + date_text(2024, 3, 14, 8, 26, 15) + b"\n"
        b"KORCHARSET: utf-8\n"
        b"KORMAILER: Wrenfield Mail 3.8.2\n"
        b"KORREPLYTIME: 1 d 2 h 15 m 8 sec\n"
        b"KORGETLINKS: http://intranet.example.com/reports/2024-q1.pdf\n"
        b"  ftp://ftp.example.org/pub/figures/q1-raw.csv\n"
        b"  http://www.example.net/review/agenda\n"
        b'KORCUTHERE: "\\r\\n-- "\n'
        b'KORKILLCITE <quote> "2": > Could you check the Lisbon numbers before Friday? Paulo sent his\n'
        b"  > corrections this morning.\n"
        b"  >\n"
        b"  > Kind regards,\n"
        b"  > Jonas\n"
        b"  >\n"
        b"KORMKLINK <subject>: Re%3A%20Quarterly%20figures%20for%20the%20Lisbon%20office\n"
        b'KORCITE <quote> "[...]" "4": > Could you check the Lisbon numbers before Friday? Paulo sent his\n'
        b"  > corrections this morning.\n"
        b"  [...]\n"
        b"  >> everyone should bring the figures for their office.\n"
        b"  >>> Lisbon figures are still missing from the draft.\n"
        b'KORGETHEADER "Subject:": Re: Quarterly figures for the Lisbon office\n'
    )

# The macro list, which the report follows.
MACROS = [
    b"KOR_LN_VER", b"KORDELIVERYTIME", b"KORDELIVERYFROMDATE", b"KORDELIVERYTODATE",
    b"KORCHARSET", b"KORMAILER", b"KORREPLYTIME", b"KORGETLINKS", b"KORCUTHERE", b"KORKILLCITE",
    b"KORMKLINK", b"KORCITE", b"KORGETHEADER",
]


def run_lintrel(args, stdin=b"", cwd=None):
    """Runs lintrel, `stdin` piped in; answers (exit status, stdout bytes, stderr bytes).

    lintrel never fails without saying why, so a run under Wine that ends with
    status 1 and no output at all was lost by the emulation before lintrel
    started (seldom, under load) and is run once more."""
    for attempt in range(2 if WINDOWS else 1):
        done = subprocess.run([*LINTREL, *args], input=stdin, capture_output=True, timeout=60,
                              cwd=cwd)
        if (done.returncode, done.stdout, done.stderr) != (1, b"", b""):
            break
        print(f"\nlintrel {args}: status 1 and no output under Wine, run again", file=sys.stderr)
    return done.returncode, done.stdout, done.stderr


def lintrel(*args, stdin=b""):
    return run_lintrel(args, stdin)


def peak_of_run(args, cwd):
    """Runs lintrel; answers (exit status, stdout bytes, stderr bytes) and the
    peak resident memory in KB of that run alone, or of this process when
    that was larger (a child counts its parent's pages until it runs lintrel)."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        process = subprocess.Popen([*LINTREL, *args], stdin=subprocess.DEVNULL, stdout=out,
                                   stderr=err, cwd=cwd)
        _, status, usage = os.wait4(process.pid, 0)
        process.returncode = os.waitstatus_to_exitcode(status)
        out.seek(0)
        err.seek(0)
        return (process.returncode, out.read(), err.read()), usage.ru_maxrss


def not_a_macro(name):
    return b"lintrel: " + name + b" is not a macro of this plug-in; lintrel list shows them\n"


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
        ]
        for args, stdout in cases:
            self.assertRuns(["run", "--sample", *args], stdout)

    def test_a_name_that_is_not_a_macro_gets_the_plugins_answer_and_exits_1(self):
        cases = [
            (["no such macro"], b"Bad result NO SUCH MACRO", b"no such macro"),
            (["KOR_LN_VER "], b"Bad result KOR_LN_VER ", b"KOR_LN_VER "),
            (["--", "-x"], b"Bad result -X", b"-x"),
            (["KORMAILR"], b"Bad result KORMAILR", b"KORMAILR"),
        ]
        for args, stdout, name in cases:
            self.assertEqual(lintrel("run", "--sample", *args), (1, stdout, not_a_macro(name)), args)
        # Over several messages each record has the answer, and it is said once.
        mbox = b"From a\n\nx\n\nFrom b\n\ny\n"
        self.assertEqual(lintrel("run", "-i", "-", "KORMAILR", stdin=mbox),
                         (1, b"1\tBad result KORMAILR\n2\tBad result KORMAILR\n",
                          not_a_macro(b"KORMAILR")))

    def test_message_options_are_accepted_with_any_macro(self):
        message = self.file("m.eml", b"Subject: s\r\n\r\nbody\r\n")
        self.assertRuns(["run", "--message", message, "KOR_LN_VER"], b"Korvale: Lintrel ver.1.0.292")
        self.assertRuns(["run", "--message", "-", "KORCUTHERE"], b"\r\n-- ", stdin=b"S: x\n\nbody")
        self.assertRuns(["run", "--headers", message, "KORCUTHERE"], b"\r\n-- ")
        self.assertRuns(["run", "--body", message, "--param-file", "3", message, "KORCUTHERE"],
                        b"\r\n-- ")

    def test_list_version_and_help(self):
        status, out, err = lintrel("list")
        self.assertEqual((status, err), (0, b""))
        lines = out.split(b"\n")
        self.assertEqual(lines.pop(), b"")
        self.assertEqual([line.split(b" ")[0] for line in lines], MACROS)
        for line in lines:
            self.assertRegex(line, rb"^[A-Z_]+ +[A-Z].{10,56}$")
        self.assertRuns(["--version"], b"1.0.292\nK.O.R.: Lintrel\n"
                                       b"K.O.R.: Lintrel ver. 1.0.292 by the Lintrel project\n"
                                       b"Build date: 292\n"
                                       b"Contact: the Lintrel project's issue tracker\n")
        status, out, err = lintrel("--help")
        self.assertEqual((status, err), (0, b""))
        self.assertTrue(out.startswith(USAGE_START))
        for word in (b"--input", b"--recursive", b"--format", b"jsonl", b"KORKILLCITE", b"KORCITE",
                     b"--files-from", b"--output", b"--sample"):
            self.assertIn(word, out)
        for args in (["help"], ["run", "--help"], ["report", "-i", "x", "-h"], ["run", "KORCITE", "--help"]):
            self.assertEqual(lintrel(*args), (0, out, b""), args)


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
            (["run", "--now", "2023-02-29T00:00:00Z", "KOR_LN_VER"], b"--now: there is no day 2023-02-29"),
            (["run", "KOR_LN_VER", "--now=2024-01-01T23:60:00Z"], b"--now: there is no time 23:60:00"),
            (["run", "--colour=red", "KOR_LN_VER"], b"unknown option --colour"),
            (["run", "KORCITE", "", "", "-1"],
             b'unknown option -1 (arguments that begin with "-" go after "--")'),
            (["run", "--sample", "-i", "x", "KOR_LN_VER"], b"--sample cannot be combined with other inputs"),
            (["help", "KORCITES"], b"KORCITES is not a macro of this plug-in; lintrel list shows them"),
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

    def test_a_full_output_is_a_failure(self):
        if not os.path.exists("/dev/full"):
            self.skipTest("no /dev/full")
        with open("/dev/full", "wb") as full:
            done = subprocess.run([*LINTREL, "run", "--sample", "KOR_LN_VER"], stdout=full,
                                  stderr=subprocess.PIPE, timeout=60)
        self.assertEqual(done.returncode, 2)
        self.assertEqual(done.stderr, b"lintrel: standard output: No space left on device\n")
        if not WINDOWS:
            self.assertEqual(lintrel("run", "--sample", "--output", "/dev/full", "KOR_LN_VER"),
                             (2, b"", b"lintrel: /dev/full: No space left on device\n"))

    def test_an_output_file_that_cannot_be_made(self):
        folder = os.path.dirname(self.file("x", b""))
        status, out, err = lintrel("run", "--sample", "-o", folder, "KOR_LN_VER")
        self.assertEqual((status, out), (2, b""))
        self.assertTrue(err.startswith(b"lintrel: " + folder.encode() + b": "), err)


class ResultFileTest(FileCase):
    """Output into a regular file, shared or the command's own, holds exactly
    what a pipe would have carried."""

    def run_into(self, path, args, mode="ab", before=b""):
        """Runs lintrel with standard output on `path` (opened with `mode`,
        after writing `before`); answers (exit status, the file's bytes).
        A run that Wine lost before it started (see run_lintrel) is made once
        more on the file as it was."""
        with open(path, "rb") as f:
            original = f.read()
        for attempt in range(2 if WINDOWS else 1):
            with open(path, "wb") as f:
                f.write(original)
            with open(path, mode) as out:
                out.write(before)
                out.flush()
                start = out.tell()
                done = subprocess.run([*LINTREL, *args], stdout=out, stderr=subprocess.PIPE,
                                      timeout=60)
                wrote = out.tell() != start
                out.write(b"|after")
            if (done.returncode, done.stderr, wrote) != (1, b"", False):
                break
            print(f"\nlintrel {args}: status 1 and no output under Wine, run again", file=sys.stderr)
        with open(path, "rb") as f:
            return done.returncode, f.read()

    def test_the_file_holds_what_a_pipe_carries(self):
        text = self.file("t", b"> a\r\n>> b\nc d/e\r\n" * 5000)
        headers = self.file("h", b"Subject: none\r\n")
        cases = [
            (["--sample", "--param-file", "0", text, "KORKILLCITE"], 0),
            (["--sample", "--param-file", "0", text, "KORMKLINK"], 0),
            # Stored twice: the second store takes the first one's place.
            (["--sample", "KORCUTHERE"], 0),
            # A failing macro leaves nothing behind.
            (["--headers", headers, "KORDELIVERYTIME"], 1),
        ]
        for args, status in cases:
            piped = lintrel("run", *args)
            self.assertEqual(piped[0], status, args)
            for mode in ("wb", "r+b", "ab"):
                path = self.file("out", b"")
                self.assertEqual(self.run_into(path, ["run", *args], mode, b"before|"),
                                 (status, b"before|" + piped[1] + b"|after"), (args, mode))
            # A file of the command's own: made anew, then written as the
            # plug-in stores the result, and left empty when the macro fails.
            own = self.file("own", b"old bytes that must go")
            self.assertEqual(lintrel("run", "--output", own, *args)[:2], (status, b""), args)
            with open(own, "rb") as f:
                self.assertEqual(f.read(), piped[1], args)

    def test_an_output_that_is_an_input_or_no_regular_file(self):
        message = self.file("m.eml", b"X-Mailer: Kept\r\n\r\nbody\r\n")
        for args in (["--message", message], ["-i", message], ["--body", message]):
            status, out, err = lintrel("run", *args, "-o", message, "KORMAILER")
            self.assertEqual((status, out), (2, b""), args)
            self.assertTrue(err.startswith(b"lintrel: --output " + message.encode() +
                                           b" is one of the inputs\n"), err)
            with open(message, "rb") as f:
                self.assertEqual(f.read(), b"X-Mailer: Kept\r\n\r\nbody\r\n", args)
        if not WINDOWS:
            self.assertEqual(lintrel("run", "--sample", "-o", "/dev/null", "KORMAILER"), (0, b"", b""))

    def test_runs_that_share_one_output_file_lose_nothing(self):
        """Several runs at once with one file description, as `xargs -P4 ...
        > out` gives them: each writes at the current end, none over another."""
        count = 24 if WINDOWS else 400
        names = [self.file(f"m{n}.eml", b"X-Mailer: Mailer %d\r\n\r\nbody\r\n" % n)
                 for n in range(count)]
        out = self.file("out.txt", b"")
        command = " ".join(shlex.quote(part) for part in LINTREL)
        script = (f"printf '%s\\n' {' '.join(shlex.quote(n) for n in names)} | "
                  f"xargs -P4 -I{{}} {command} run --message {{}} KORMAILER > {shlex.quote(out)}")
        subprocess.run(["sh", "-c", script], check=True, timeout=600)
        with open(out, "rb") as f:
            written = f.read()
        self.assertNotIn(b"\0", written)
        results = sorted(re.findall(rb"Mailer \d+", written))
        self.assertEqual(results, sorted(b"Mailer %d" % n for n in range(count)))
        self.assertEqual(len(written), sum(len(b"Mailer %d" % n) for n in range(count)))


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
        self.assertEqual(lintrel("run", "--mbox", "-", "UNKNOWN", stdin=crlf),
                         (1, b"1\tBad result UNKNOWN\n2\tBad result UNKNOWN\n3\tBad result UNKNOWN\n",
                          not_a_macro(b"UNKNOWN")))

    def test_an_empty_mailbox_gives_no_lines(self):
        self.assertRuns(["run", "--mbox", self.file("empty.mbox", b""), "KOR_LN_VER"], b"")


class ReportTest(FileCase):
    def test_reports_the_message_macros_in_list_order(self):
        # The plain message has no date fields: its report holds errors, and
        # still says by its exit status that the message could be read.
        plain = self.file("m.eml", b"Subject: s\n\nb\n")
        for args in (["report", "--sample"], ["report", "--message", plain], ["report"]):
            status, out, err = lintrel(*args, "--now", "2024-03-15T10:30:00Z", stdin=b"Sent: mail\n\n")
            self.assertEqual((status, err), (0, b""), args)
            names = [line.split(b":")[0].split(b" ")[0] for line in out.split(b"\n")
                     if line and line[0:1] not in (b" ", b"=")]
            self.assertEqual(names, MACROS, args)


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
        # The body of --body is handed over as it stands, whatever --headers says.
        encoded = self.file("e", b"Content-Transfer-Encoding: quoted-printable\r\n")
        self.assertRuns(["run", "--headers", encoded, "--body", self.file("q", b"a=3Db\r\n"),
                         "KORCITE", "", "", "9"], b"a=3Db\r\n")
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
        self.assertEqual(lintrel("report", "--sample", "--now", "2024-03-15T10:30:00.500Z"),
                         (0, sample_report(), b""))

    def test_without_inputs_standard_input_is_read_and_on_a_terminal_the_sample(self):
        message = b"Subject: piped\r\nX-Mailer: Pipe 1\r\n\r\nbody\r\n"
        self.assertEqual(lintrel("run", "KORMAILER", stdin=message), (0, b"Pipe 1", b""))
        status, out, err = lintrel("report", stdin=message)
        self.assertEqual((status, err), (0, b""))
        self.assertIn(b"\nKORMAILER: Pipe 1\n", out)
        self.assertNotIn(b"sample", out)
        if WINDOWS:
            return  # Wine gives a Windows program no console for a Unix terminal
        master, slave = pty.openpty()
        try:
            done = subprocess.run([*LINTREL, "report", "--now", "2024-03-15T10:30:00.500Z"],
                                  stdin=slave, capture_output=True, timeout=60)
        finally:
            os.close(slave)
            os.close(master)
        self.assertEqual((done.returncode, done.stdout, done.stderr), (0, sample_report(), b""))


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
            (1, b"1\t" + date_text(2002, 1, 1, 7, 1, 30) + b"\n2\tERROR: List index out of bounds (0)\n3\t" +
             date_text(2002, 1, 1, 10, 0, 0) + b"\n",
             b""))

    def test_a_report_shows_errors_in_place(self):
        status, out, err = lintrel("report", "--message", self.file("m", b"Subject: Hi\r\n\r\nx\r\n"))
        self.assertEqual((status, err), (0, b""))
        self.assertIn(b"KORDELIVERYTIME: error: List index out of bounds (0)\n", out)
        self.assertIn(b"KORREPLYTIME: error: List index out of bounds (0)\n", out)
        self.assertIn(b'KORGETHEADER "Subject:": Hi\n', out)
        # A message without a quote gives its body to KORCITE, and nothing to KORKILLCITE.
        self.assertIn(b'KORCITE "" "[...]" "4": x\n', out)
        self.assertIn(b'KORKILLCITE "" "2": \n', out)

def read_terminal(master):
    """All that a pseudo-terminal's other end was sent, until it closes."""
    data = b""
    while True:
        try:
            chunk = os.read(master, 4096)
        except OSError:  # the other end is closed
            return data
        if not chunk:
            return data
        data += chunk


class LocalesTest(unittest.TestCase):
    """--locale renders the sample's delivery date, 14 March 2024 08:26:15,
    with the settings that Windows has for the locale."""

    def delivery_date(self, *options, environment=None):
        done = subprocess.run([*LINTREL, "run", "--sample", *options, "KORDELIVERYTODATE"],
                              capture_output=True, timeout=60, env=environment)
        self.assertEqual((done.returncode, done.stderr), (0, b""), options)
        return done.stdout

    def test_windows_and_posix_names(self):
        if WINDOWS:
            self.skipTest("lintrel.exe has no --locale")
        cases = [
            ("en-US", b"3/14/2024 8:26:15 AM"),
            ("EN-us", b"3/14/2024 8:26:15 AM"),
            ("C", b"3/14/2024 8:26:15 AM"),
            ("de-DE", b"14.3.2024 08:26:15"),
            ("de", b"14.3.2024 08:26:15"),
            ("de_DE.UTF-8", b"14.3.2024 08:26:15"),
            ("de_DE@euro", b"14.3.2024 08:26:15"),
            ("hu-HU", b"2024. 03. 14. 8:26:15"),
            ("sr_RS@latin", b"14. 3. 2024. 08:26:15"),
            # In the code page, as the plug-in stores it: Big5 and 1256.
            ("zh-TW", b"2024/3/14 \xa4W\xa4\xc8 8:26:15"),
            ("ar-SA", b"14\xfe/3\xfe/2024 8:26:15 \xd5"),
        ]
        for name, expected in cases:
            self.assertEqual(self.delivery_date("--locale", name), expected, name)

    def test_output_encoding_utf_8(self):
        if WINDOWS:
            self.skipTest("lintrel.exe has no --locale")
        for name, expected in [("zh-TW", "2024/3/14 上午 8:26:15"), ("de-DE", "14.3.2024 08:26:15"),
                               ("ar-SA", "14\u200f/3\u200f/2024 8:26:15 ص")]:
            self.assertEqual(self.delivery_date("--locale", name, "--output-encoding", "utf-8"),
                             expected.encode(), name)
            self.assertEqual(self.delivery_date("--locale", name, "--output-encoding=ansi"),
                             self.delivery_date("--locale", name), name)
        # Without --locale the code page is 1252, and the plug-in's own
        # settings render the date.
        self.assertEqual(self.delivery_date("--output-encoding", "utf-8"), self.delivery_date())

    def test_the_environments_locale(self):
        if WINDOWS:
            self.skipTest("lintrel.exe has no --locale")
        base = {k: v for k, v in os.environ.items() if k not in ("LC_ALL", "LC_TIME", "LANG")}
        cases = [
            ({"LC_ALL": "de_DE.UTF-8", "LANG": "hu_HU.UTF-8"}, b"14.3.2024 08:26:15"),
            ({"LC_ALL": "", "LC_TIME": "hu_HU.UTF-8", "LANG": "de_DE"}, b"2024. 03. 14. 8:26:15"),
            ({"LANG": "hu_HU"}, b"2024. 03. 14. 8:26:15"),
            ({}, b"3/14/2024 8:26:15 AM"),
        ]
        for variables, expected in cases:
            self.assertEqual(self.delivery_date("--locale", "", environment={**base, **variables}),
                             expected, variables)
        done = subprocess.run([*LINTREL, "run", "--sample", "--locale=", "KORDELIVERYTODATE"],
                              capture_output=True, timeout=60, env={**base, "LANG": "xx_YY.UTF-8"})
        self.assertEqual(done.returncode, 2)
        self.assertEqual(done.stderr.split(b"\n")[0],
                         b"lintrel: --locale \"\": LANG is 'xx_YY.UTF-8', which names no Windows"
                         b" locale; lintrel locales lists the names it takes")

    def test_unknown_names_and_encodings_are_usage_errors(self):
        cases = [
            (["--locale", "de-DE", "--output-encoding", "latin1"],
             b"--output-encoding takes ansi or utf-8, not 'latin1'"),
        ]
        if WINDOWS:
            cases.append((["--output-encoding", "utf-8"],
                          b"--output-encoding is not available on Windows: the texts are in the code"
                          b" page of the Windows user"))
            self.assertEqual(lintrel("run", "--sample", "--locale", "de-DE", "KOR_LN_VER"),
                             (2, b"", b"lintrel: --locale is not available on Windows: the plug-in"
                                      b" reads the regional settings of the Windows user\n"))
        else:
            cases += [
                (["--locale", "xx_NOWHERE.UTF-8"],
                 b"--locale: unknown locale 'xx_NOWHERE.UTF-8'; lintrel locales lists the names it takes"),
                (["--locale", "de_XX"],
                 b"--locale: unknown locale 'de_XX'; lintrel locales lists the names it takes"),
                (["--locale", "de\x1b[31m\nDE"],
                 b"--locale: unknown locale (a name with control bytes); lintrel locales lists the"
                 b" names it takes"),
                (["--locale", "x" * 100],
                 b"--locale: unknown locale '" + b"x" * 64 + b"...'; lintrel locales lists the names"
                 b" it takes"),
            ]
        for options, message in cases:
            status, out, err = lintrel("run", "--sample", *options, "KORDELIVERYTODATE")
            self.assertEqual((status, out), (2, b""), options)
            self.assertEqual(err.split(b"\n")[0], b"lintrel: " + message, options)
            self.assertIn(b"\n" + USAGE_START, err, options)

    def test_locales_lists_every_locale_with_a_rendering(self):
        status, out, err = lintrel("locales")
        self.assertEqual((status, err), (0, b""))
        lines = out.decode("utf-8").splitlines()
        self.assertGreater(len(lines), 200)
        self.assertIn("de-DE          0407  1252   4.3.2024 20:06:05", lines)
        self.assertIn("ja-JP          0411  932    2024/3/4 20:06:05", lines)
        names = [line.split()[0] for line in lines]
        self.assertEqual(len(names), len(set(names)))


class MailStore(FileCase):
    """A Maildir, a folder of message files with a folder inside, and an mbox file."""

    def setUp(self):
        super().setUp()
        self.file("md/cur/1700000001.M1.host:2,S",
                  b"Message-ID: <one@example.org>\r\nX-Mailer: Cur One\r\n\r\none\r\n")
        self.file("md/cur/1700000002.M2.host:2,RS", b"X-Mailer: Cur Two\n\ntwo\n")
        self.file("md/new/1700000003.M3.host", b"X-Mailer: New Three\n\nthree\n")
        self.file("md/tmp/1700000004.M4.host", b"X-Mailer: Not Yet Delivered\n\nfour\n")
        self.file("folder/b.eml", b"X-Mailer: Folder B\n\nb\n")
        self.file("folder/a.eml", b"X-Mailer: Folder A\n\na\n")
        self.file("folder/.hidden", b"X-Mailer: Hidden\n\nh\n")
        self.file("folder/inner/c.eml", b"X-Mailer: Inner C\n\nc\n")
        self.box = self.file("box.mbox", MboxTest.MBOX.replace(b"Subject: two\n", b"Subject: two\nX-Mailer: Box\n"))

    def file(self, name, data):
        os.makedirs(os.path.dirname(os.path.join(self._folder.name, name)), exist_ok=True)
        return super().file(name, data)

    def path(self, name):
        return os.path.join(self._folder.name, name)

    def run_in_folder(self, *args, stdin=b""):
        """Runs lintrel with the scratch folder as its working folder."""
        return run_lintrel(args, stdin, cwd=self._folder.name)


class InputsTest(MailStore):
    def test_each_kind_of_input(self):
        cur1, cur2 = "md/cur/1700000001.M1.host:2,S", "md/cur/1700000002.M2.host:2,RS"
        new3 = "md/new/1700000003.M3.host"
        cases = [
            # One message file: the result's bytes alone, detected or forced.
            (["-i", "folder/a.eml"], b"Folder A", b""),
            (["--message", "folder/a.eml"], b"Folder A", b""),
            # One mbox file, detected or forced: today's numbered lines.
            (["-i", "box.mbox"], b"1\t<unknown>\n2\tBox\n3\t<unknown>\n", b""),
            (["--input", "box.mbox"], b"1\t<unknown>\n2\tBox\n3\t<unknown>\n", b""),
            # A Maildir: cur/ then new/, each in name order; tmp/ is left alone.
            (["-i", "md"], (cur1 + "\t\tCur One\n" + cur2 + "\t\tCur Two\n" + new3 +
                            "\t\tNew Three\n").encode(), b""),
            # A folder: its files in name order, hidden ones and folders left out.
            (["-i", "folder"], b"folder/a.eml\t\tFolder A\nfolder/b.eml\t\tFolder B\n",
             b"lintrel: folder/inner: a folder, read only with --recursive\n"),
            (["--recursive", "-i", "folder"],
             b"folder/a.eml\t\tFolder A\nfolder/b.eml\t\tFolder B\nfolder/inner/c.eml\t\tInner C\n", b""),
            # Several inputs, in the order given.
            (["-i", "folder/b.eml", "--mbox", "box.mbox", "--message", new3],
             (b"folder/b.eml\t\tFolder B\nbox.mbox\t1\t<unknown>\nbox.mbox\t2\tBox\n"
              b"box.mbox\t3\t<unknown>\n" + new3.encode() + b"\t\tNew Three\n"), b""),
        ]
        for args, stdout, stderr in cases:
            self.assertEqual(self.run_in_folder("run", *args, "KORMAILER"), (0, stdout, stderr), args)

    def test_standard_input_is_told_by_its_first_bytes(self):
        self.assertEqual(self.run_in_folder("run", "-i", "-", "KORMAILER", stdin=b"X-Mailer: In\n\nx"),
                         (0, b"In", b""))
        self.assertEqual(self.run_in_folder("run", "-i", "-", "korcuthere", stdin=MboxTest.MBOX),
                         (0, b"1\t\\r\\n-- \n2\t\\r\\n-- \n3\t\\r\\n-- \n", b""))
        self.assertEqual(self.run_in_folder("run", "-i", "-", "KORMAILER", stdin=b"From"),
                         (0, b"<unknown>", b""))
        self.assertEqual(self.run_in_folder("run", "-i", "-", "KORMAILER", stdin=b""),
                         (0, b"<unknown>", b""))

    def test_the_forced_kind_wins(self):
        # An mbox read as one message: its "From " line heads the header block.
        self.assertEqual(self.run_in_folder("run", "--message", "box.mbox", "KORGETHEADER", "From"),
                         (0, b"alice@example.org Thu Mar 14 08:00:00 2024", b""))
        # A message file read as an mbox: one message, numbered.
        self.assertEqual(self.run_in_folder("run", "--mbox", "folder/a.eml", "KORMAILER"),
                         (0, b"1\tFolder A\n", b""))

    def test_a_large_message_file_splits_as_a_small_one(self):
        header = b"X-Mailer: Big\r\n" + b"X-Filler: " + b"f" * 100000 + b"\r\n"
        body = b"line\r\n" * 50000
        self.file("big.eml", header + b"\r\n" + body)
        self.assertEqual(self.run_in_folder("run", "-i", "big.eml", "KORMAILER"), (0, b"Big", b""))
        self.assertEqual(self.run_in_folder("run", "-i", "big.eml", "KORCITE", "", "", "999999"),
                         (0, body, b""))


class FormatsTest(MailStore):
    # Bytes of every kind: valid UTF-8, bytes that are not, controls, quotes.
    ODD = (b"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x93\xa7 | latin-1 caf\xe9 | cut \xe2\x82 | "
           b"overlong \xc0\xaf | surrogate \xed\xa0\x80 | \xff\xfe | \"quoted\" back\\slash "
           b"tab\t bell\x07 del\x7f\r\nsecond line\r\n")

    def jsonl(self, out):
        return [json.loads(line) for line in out.decode("utf-8").splitlines()]

    def test_jsonl_gives_every_byte_back(self):
        self.file("odd/m.eml", b"Message-Id: <odd@example.org>\r\n\r\n" + self.ODD)
        status, out, err = self.run_in_folder("run", "-i", "odd", "--format", "jsonl",
                                              "KORCITE", "", "", "100")
        self.assertEqual((status, err), (0, b""))
        [record] = self.jsonl(out)
        self.assertEqual(record["source"], "odd/m.eml")
        self.assertIsNone(record["index"])
        self.assertEqual(record["message_id"], "<odd@example.org>")
        self.assertEqual(record["result"].encode("utf-8", "surrogateescape"), self.ODD)
        self.assertIn(b"\\udce9", out)

    def test_jsonl_over_several_inputs(self):
        status, out, err = self.run_in_folder("run", "-i", "md/cur", "-i", "box.mbox",
                                              "--format", "jsonl", "KORDELIVERYTIME")
        self.assertEqual((status, err), (1, b""))
        records = self.jsonl(out)
        self.assertEqual([(r["source"], r["index"]) for r in records],
                         [("md/cur/1700000001.M1.host:2,S", None),
                          ("md/cur/1700000002.M2.host:2,RS", None),
                          ("box.mbox", 1), ("box.mbox", 2), ("box.mbox", 3)])
        self.assertEqual([r["message_id"] for r in records], ["<one@example.org>"] + [None] * 4)
        for record in records:
            self.assertEqual(record["error"], "List index out of bounds (0)")
            self.assertNotIn("result", record)

    def test_one_record_per_message_in_each_format(self):
        folder = self.path("named")
        # A tab cannot stand in a Windows file name.
        a_name = "a b.eml" if WINDOWS else "a\tb.eml"
        a, b = self.file("named/" + a_name, b"X-Mailer: Tab\n\n"), self.file("named/c.eml", b"S: c\n\n")
        a_escaped = a_name.replace("\t", "\\t").encode()
        cases = [
            ("tsv", folder.encode() + b"/" + a_escaped + b"\t\tTab\n" + folder.encode() + b"/c.eml\t\t<unknown>\n"),
            ("text", folder.encode() + b"/" + a_escaped + b": Tab\n" + folder.encode() + b"/c.eml: <unknown>\n"),
        ]
        for format, stdout in cases:
            self.assertRuns(["run", "-i", folder, "--format", format, "KORMAILER"], stdout)
        records = self.jsonl(lintrel("run", "-i", folder, "--format", "jsonl", "KORMAILER")[1])
        self.assertEqual([r["source"] for r in records], [a, b])
        # Results of several lines, and a failure, in the text format.
        self.assertEqual(self.run_in_folder("run", "--format", "text", "-i", "box.mbox", "KORCUTHERE"),
                         (0, b"box.mbox#1: \n  -- \nbox.mbox#2: \n  -- \nbox.mbox#3: \n  -- \n", b""))
        self.assertEqual(self.run_in_folder("run", "--format", "text", "--mbox", "-", "KORREPLYTIME",
                                            stdin=b"From x\nS: s\n\nb\n"),
                         (1, b"-#1: error: List index out of bounds (0)\n", b""))

    def test_a_single_message_in_each_format(self):
        cases = [
            ("text", b"Folder A"),
            ("tsv", b"folder/a.eml\t\tFolder A\n"),
            ("jsonl", b'{"source":"folder/a.eml","index":null,"message_id":null,"result":"Folder A"}\n'),
        ]
        for format, stdout in cases:
            self.assertEqual(self.run_in_folder("run", "-i", "folder/a.eml", "--format", format,
                                                "KORMAILER"), (0, stdout, b""), format)
        self.assertEqual(self.run_in_folder("run", "--sample", "--format", "jsonl", "KOR_LN_VER"),
                         (0, b'{"source":null,"index":null,"message_id":"<5f2a9c1e-7b3d-4e8a-9c61-'
                             b'2d4f0b8e7a13@example.org>","result":"Korvale: Lintrel ver.1.0.292"}\n',
                          b""))

    def test_report_over_several_messages(self):
        status, out, err = self.run_in_folder("report", "--now", "2024-03-15T10:30:00Z",
                                              "-i", "folder", "--format", "jsonl")
        self.assertEqual((status, err), (0, b"lintrel: folder/inner: a folder, read only with --recursive\n"))
        records = self.jsonl(out)
        self.assertEqual([r["source"] for r in records], ["folder/a.eml", "folder/b.eml"])
        for record in records:
            self.assertEqual(list(record), ["source", "index", "message_id"] + [m.decode() for m in MACROS])
        self.assertEqual(records[0]["KORMAILER"], {"result": "Folder A"})
        self.assertEqual(records[0]["KORCUTHERE"], {"result": "\r\n-- "})
        self.assertEqual(records[1]["KORDELIVERYTIME"], {"error": "List index out of bounds (0)"})
        status, out, err = self.run_in_folder("report", "--mbox", "box.mbox")
        self.assertEqual((status, err), (0, b""))
        blocks = out.split(b"\n\n")
        self.assertEqual(blocks[-1], b"")
        self.assertEqual([block.split(b"\n")[0] for block in blocks[:-1]],
                         [b"==> box.mbox#1 <==", b"==> box.mbox#2 <==", b"==> box.mbox#3 <=="])
        self.assertIn(b"\nKORMAILER: Box\n", blocks[1])


class UnreadableTest(MailStore):
    def test_a_file_in_a_folder_that_cannot_be_read_is_named_and_the_run_goes_on(self):
        os.symlink("nowhere", self.path("folder/aa.eml"))
        os.mkfifo(self.path("folder/ab.pipe"))
        # Wine leaves a broken link out of the folder and cannot find a pipe.
        problems = (b"lintrel: folder/ab.pipe: No such file or directory\n" if WINDOWS else
                    b"lintrel: folder/aa.eml: No such file or directory\n"
                    b"lintrel: folder/ab.pipe: not a regular file\n")
        for format in ("tsv", "jsonl"):
            status, out, err = self.run_in_folder("run", "-i", "folder", "--format", format, "KORMAILER")
            self.assertEqual(status, 1)
            # Named where they are met, in name order.
            self.assertEqual(err, problems +
                                  b"lintrel: folder/inner: a folder, read only with --recursive\n")
            self.assertIn(b"Folder A", out)
            self.assertIn(b"Folder B", out)

    def test_an_input_named_on_the_command_line_must_be_readable(self):
        self.assertEqual(self.run_in_folder("run", "-i", "folder", "-i", "missing.eml", "KORMAILER"),
                         (2, b"", b"lintrel: missing.eml: No such file or directory\n"))
        self.assertEqual(self.run_in_folder("report", "--message", "folder"),
                         (2, b"", b"lintrel: folder: Is a directory\n"))


class ProgressTest(MailStore):
    def on_terminal(self, args, chunks=(), same_terminal=False):
        """Runs lintrel with standard error on a terminal (standard output too
        when `same_terminal`), standard input a pipe fed `chunks` 0.7 s apart;
        answers (exit status, standard output, what the terminal got)."""
        master, slave = pty.openpty()
        try:
            process = subprocess.Popen([*LINTREL, *args], stdin=subprocess.PIPE,
                                       stdout=slave if same_terminal else subprocess.PIPE,
                                       stderr=slave, cwd=self._folder.name)
            for chunk in chunks:
                process.stdin.write(chunk)
                process.stdin.flush()
                time.sleep(0.7)
            process.stdin.close()
            out = b"" if same_terminal else process.stdout.read()
            status = process.wait(timeout=60)
        finally:
            os.close(slave)
        terminal = read_terminal(master)
        os.close(master)
        return status, out, terminal

    def setUp(self):
        super().setUp()
        if WINDOWS:
            self.skipTest("Wine shows a Windows program no console for a Unix terminal")

    def test_a_quick_run_shows_no_progress(self):
        self.assertEqual(self.on_terminal(["run", "-i", "md", "-i", "box.mbox", "KORMAILER"])[2], b"")
        self.assertEqual(self.on_terminal(["run", "-i", "folder/a.eml", "KORMAILER"])[2], b"")

    def test_a_slow_run_shows_progress_and_ends_with_a_summary(self):
        chunks = [b"From a\nX-Mailer: M%d\n\nbody\n\n" % n for n in range(3)]
        status, out, terminal = self.on_terminal(["run", "-i", "-", "KORMAILER"], chunks)
        self.assertEqual((status, out), (0, b"1\tM0\n2\tM1\n3\tM2\n"))
        self.assertRegex(terminal, rb"^(\r\x1b\[Klintrel: [123] messages?, 0\.0 MB, [0-9.]+ MB/s)+"
                                   rb"\r\x1b\[Klintrel: 3 messages, 0\.0 MB, [0-9.]+ MB/s\r\n$")

    def test_records_on_the_same_terminal_stand_on_lines_of_their_own(self):
        chunks = [b"From a\nX-Mailer: M%d\n\nbody\n\n" % n for n in range(3)]
        status, _, terminal = self.on_terminal(["run", "-i", "-", "KORMAILER"], chunks,
                                               same_terminal=True)
        self.assertEqual(status, 0)
        # The progress line is taken away before the records, and the
        # summary follows them.
        self.assertRegex(terminal, rb"MB/s\r\x1b\[K1\tM0\r\n2\tM1\r\n3\tM2\r\n"
                                   rb"\r\x1b\[Klintrel: 3 messages, [^\r\n]*\r\n$")


class HostileTest(MailStore):
    """What an attacker, or an unlucky moment, can do to a run."""

    def test_a_file_that_becomes_a_fifo_after_it_was_listed_is_refused_not_waited_for(self):
        if WINDOWS:
            self.skipTest("no FIFOs on Windows")
        # Standard input is read first and held open while the file that was
        # listed after it turns into a FIFO that no one will write.
        process = subprocess.Popen([*LINTREL, "run", "-i", "-", "-i", "folder/b.eml", "KORMAILER"],
                                   stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                   stderr=subprocess.PIPE, cwd=self._folder.name)
        time.sleep(1)
        os.remove(self.path("folder/b.eml"))
        os.mkfifo(self.path("folder/b.eml"))
        out, err = process.communicate(b"X-Mailer: In\n\nx\n", timeout=20)
        self.assertEqual((process.returncode, out, err),
                         (1, b"-\t\tIn\n", b"lintrel: folder/b.eml: not a regular file\n"))

    def test_links_to_folders_read_already_are_not_followed_again(self):
        # Fourteen levels, each with two links to the next: one message.
        for n in range(14):
            os.makedirs(self.path(f"fan/{n}"))
            os.symlink(f"../{n + 1}", self.path(f"fan/{n}/a"))
            os.symlink(f"../{n + 1}", self.path(f"fan/{n}/b"))
        self.file("fan/14/m.eml", b"X-Mailer: Deep\n\n")
        status, out, err = self.run_in_folder("run", "-r", "-i", "fan/0", "KORMAILER")
        self.assertEqual((status, out), (0, b"fan/0" + b"/a" * 14 + b"/m.eml\t\tDeep\n"))
        self.assertEqual(err.count(b": a folder already read, left out\n"), 14)

    def test_names_with_control_bytes_are_escaped_on_both_streams(self):
        if WINDOWS:
            self.skipTest("Windows file names have no control bytes")
        self.file("odd/new\nline.eml", b"X-Mailer: Odd\n\n")
        os.mkfifo(self.path("odd/\x1b[31mred"))
        status, out, err = self.run_in_folder("run", "-i", "odd", "KORMAILER")
        self.assertEqual((status, out, err),
                         (1, b"odd/new\\nline.eml\t\tOdd\n",
                          b"lintrel: odd/\\x1B[31mred: not a regular file\n"))

    def test_options_stand_anywhere_before_the_double_dash(self):
        cases = [
            ["run", "KORMAILER", "-i", "folder/a.eml"],
            ["run", "KORMAILER", "--message=folder/a.eml"],
            ["-i", "folder/a.eml", "run", "KORMAILER"],
        ]
        for args in cases:
            self.assertEqual(self.run_in_folder(*args), (0, b"Folder A", b""), args)
        self.assertEqual(self.run_in_folder("run", "KORMAILER", "-i", "folder/a.eml", "--format", "jsonl"),
                         (0, b'{"source":"folder/a.eml","index":null,"message_id":null,'
                             b'"result":"Folder A"}\n', b""))
        self.assertEqual(self.run_in_folder("run", "KORREPLYTIME", "--now", "2002-01-01T07:01:30Z",
                                            stdin=b"Date: Tue, 01 Jan 2002 10:00:00 +0300\n\n"),
                         (0, b"1 m 30 sec", b""))
        # After "--" nothing is an option: a negative count, a text like one.
        self.assertEqual(self.run_in_folder("run", "--sample", "KORCITE", "--", "a\r\nb\r\nc\r\n",
                                            "[...]", "-1"), (0, b"[...]\r\n", b""))
        self.assertEqual(self.run_in_folder("run", "--sample", "KORMKLINK", "--", "--now"),
                         (0, b"%2D%2Dnow", b""))

    def test_a_list_of_files_needs_no_xargs(self):
        names = b"folder/b.eml\0md\0missing.eml\0"
        self.assertEqual(self.run_in_folder("run", "--files-from", "-", "-0", "KORMAILER", stdin=names),
                         (1, b"folder/b.eml\t\tFolder B\nmd/cur/1700000001.M1.host:2,S\t\tCur One\n"
                             b"md/cur/1700000002.M2.host:2,RS\t\tCur Two\n"
                             b"md/new/1700000003.M3.host\t\tNew Three\n",
                          b"lintrel: missing.eml: No such file or directory\n"))
        self.file("list.txt", b"folder/a.eml\r\nbox.mbox\n")
        self.assertEqual(self.run_in_folder("run", "--files-from", "list.txt", "KORMAILER"),
                         (0, b"folder/a.eml\t\tFolder A\nbox.mbox\t1\t<unknown>\nbox.mbox\t2\tBox\n"
                             b"box.mbox\t3\t<unknown>\n", b""))

    def test_standard_input_begins_where_it_stands(self):
        if WINDOWS:
            self.skipTest("a shell's file description is the test's concern on Linux")
        path = self.file("skip.eml", b"skipped line\nSubject: real\n\nbody\n")
        done = subprocess.run(["sh", "-c", 'read -r line; exec "$@"', "sh", *LINTREL, "run",
                               "KORGETHEADER", "Subject:"], stdin=open(path, "rb"),
                              capture_output=True, timeout=60)
        self.assertEqual((done.returncode, done.stdout, done.stderr), (0, b"real", b""))

    def test_an_mbox_file_split_in_stretches_gives_the_messages_of_a_stream(self):
        # Messages on both sides of a stretch's end, and a "From " line that
        # ends the file without a line break.
        big = b"x" * 1500000
        mbox = (b"From a\nX-Mailer: One\n\n" + big + b"\n\nFrom b\nX-Mailer: Two\n\n" + big +
                b"\n\nFrom c\nX-Mailer: Three\n\nshort\n\nFrom z")
        path = self.file("stretched.mbox", mbox)
        expected = b"1\tOne\n2\tTwo\n3\tThree\n4\t<unknown>\n"
        self.assertEqual(self.run_in_folder("run", "--mbox", path, "KORMAILER"), (0, expected, b""))
        self.assertEqual(self.run_in_folder("run", "--mbox", "-", "KORMAILER", stdin=mbox),
                         (0, expected, b""))

    def test_a_maildir_needs_only_cur(self):
        self.file("bare/cur/1:2,S", b"X-Mailer: Bare\n\n")
        self.file("bare/tmp/2", b"X-Mailer: Not Yet\n\n")
        self.assertEqual(self.run_in_folder("run", "-i", "bare", "KORMAILER"),
                         (0, b"bare/cur/1:2,S\t\tBare\n", b""))

    def sparse(self, name, size, front=b"", back=b""):
        path = self.path(name)
        with open(path, "wb") as f:
            f.write(front)
            f.truncate(size - len(back))
            f.seek(0, os.SEEK_END)
            f.write(back)
        return path

    def test_files_over_the_limit_are_refused_by_their_size_before_reading(self):
        limit = 1 << 30
        self.sparse("big", 3 * limit, b"S: s\n\n")
        for args in (["--headers", "big"], ["--body", "big"], ["--param-file", "0", "big"], ["-i", "big"]):
            started = time.monotonic()
            self.assertEqual(self.run_in_folder("run", *args, "KORMAILER"),
                             (2, b"", b"lintrel: big: larger than 1073741824 bytes\n"), args)
            self.assertLess(time.monotonic() - started, 20 if WINDOWS else 2, args)
        # Exactly at the limit is taken (the body stays in the file), one
        # byte more is not.
        self.sparse("edge", limit, b"X-Mailer: Edge\n\n")
        self.assertEqual(self.run_in_folder("run", "-i", "edge", "KORMAILER"), (0, b"Edge", b""))
        self.sparse("edge", limit + 1, b"X-Mailer: Edge\n\n")
        self.assertEqual(self.run_in_folder("run", "-i", "edge", "KORMAILER"),
                         (2, b"", b"lintrel: edge: larger than 1073741824 bytes\n"))

    def test_an_oversized_message_in_an_mbox_is_skipped_with_little_memory(self):
        if WINDOWS:
            self.skipTest("the memory of an emulated Wine is not the command's")
        if os.environ.get("LINTREL_SANITIZED"):
            self.skipTest("a sanitizer keeps freed memory aside")
        limit = 1 << 30
        self.sparse("huge.mbox", limit + 100, b"From a\nX-Mailer: Huge\n\n",
                    b"\n\nFrom b\nX-Mailer: After\n\nbody\n")
        before = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss
        self.assertEqual(self.run_in_folder("run", "-i", "huge.mbox", "KORMAILER"),
                         (1, b"1\tERROR: message larger than 1073741824 bytes\n2\tAfter\n", b""))
        peak = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss
        self.assertLess(max(peak, before), 200 * 1024, "kilobytes at the peak")


class MisuseTest(MailStore):
    """Mistakes and attacks of a second round: no input destroyed, no file
    read by mistake, nothing shown that a terminal takes for a command."""

    def shell(self, script, *args):
        """Runs `script` with sh in the scratch folder, "$@" being lintrel and
        `args`; answers (exit status, stdout bytes, stderr bytes)."""
        done = subprocess.run(["sh", "-c", script, "sh", *LINTREL, *args], capture_output=True,
                              timeout=60, cwd=self._folder.name)
        return done.returncode, done.stdout, done.stderr

    def read(self, name):
        with open(self.path(name), "rb") as f:
            return f.read()

    def test_c1_controls_in_names_are_escaped(self):
        if WINDOWS:
            self.skipTest("Windows file names are characters, not bytes")
        folder = os.path.join(self._folder.name, "odd").encode()
        os.makedirs(folder)
        for name in (b"csi\x9b31m.eml", b"nel\xc2\x85.eml", b"s\xc5\x9b.eml", b"utf8\xc2\x9b2J.eml"):
            with open(os.path.join(folder, name), "wb") as f:
                f.write(b"X-Mailer: M\n\n")
        os.mkfifo(os.path.join(folder, b"fifo\x9b"))
        status, out, err = self.run_in_folder("run", "-i", "odd", "KORMAILER")
        # A C1 byte outside UTF-8 and each byte of a C1 control's UTF-8 form
        # are escaped; a 0x9B inside another character is not.
        self.assertEqual((status, out, err),
                         (1, b"odd/csi\\x9B31m.eml\t\tM\nodd/nel\\xC2\\x85.eml\t\tM\n"
                             b"odd/s\xc5\x9b.eml\t\tM\nodd/utf8\\xC2\\x9B2J.eml\t\tM\n",
                          b"lintrel: odd/fifo\\x9B: not a regular file\n"))
        status, out, _ = self.run_in_folder("run", "-i", "odd", "--format", "text", "KORMAILER")
        self.assertEqual(out.split(b"\n")[0], b"odd/csi\\x9B31m.eml: M")

    def test_closed_standard_descriptors_are_taken_by_no_file_of_lintrels(self):
        self.file("p.txt", b"X-Mailer: From The Parameter File\n\n")
        # Standard input closed: the parameter file is not read as the message.
        self.assertEqual(self.shell('exec "$@" <&-', "run", "--param-file", "1", "p.txt", "KORMAILER"),
                         (0, b"<unknown>", b""))
        # Standard error closed: no message lands in the output file.
        self.assertEqual(self.shell('exec "$@" 2>&-', "run", "--sample", "-o", "out.txt", "KORMAILR")[:2],
                         (1, b""))
        self.assertEqual(self.read("out.txt"), b"Bad result KORMAILR")
        # Standard output closed: a file read is not written to. (Wine gives a
        # closed standard output a handle of its own that fails every write.)
        status = self.shell('exec "$@" >&-', "run", "--param-file", "0", "p.txt", "KORMKLINK")[0]
        self.assertEqual(status, 2 if WINDOWS else 0)
        self.assertEqual(self.read("p.txt"), b"X-Mailer: From The Parameter File\n\n")

    def test_long_arguments_are_shortened_in_messages_and_characters_stay_whole(self):
        # About the most one argument can hold; a Windows command line holds
        # 32767 characters.
        long = "x" * (30000 if WINDOWS else 131000)
        cases = [
            (["run", "--format", long, "KOR_LN_VER"],
             b"--format takes text, tsv or jsonl, not '" + b"x" * 64 + b"...'"),
            (["launch" + long], b"unknown command 'launch" + b"x" * 58 + b"...'"),
            (["run", "--" + long, "KOR_LN_VER"], b"unknown option --" + b"x" * 62 + b"..."),
        ]
        # Windows hands a program its arguments in the ANSI code page.
        if not WINDOWS:
            cases.append((["run", "--sample", "--jobs", "a" + "\u00e9" * 40, "KOR_LN_VER"],
                          b"--jobs takes a number of threads from 1 to 256, not 'a" +
                          "\u00e9".encode() * 31 + b"...'"))
            cases.append((["run", "-\u00e9", "KOR_LN_VER"], "unknown option -\u00e9".encode()))
        for args, message in cases:
            status, out, err = lintrel(*args)
            self.assertEqual((status, out), (2, b""), args[:2])
            self.assertEqual(err.split(b"\n")[0], b"lintrel: " + message, args[:2])
        status, out, err = lintrel("run", "--sample", "M" * len(long))
        self.assertEqual((status, len(out)), (1, len(b"Bad result ") + len(long)))
        self.assertEqual(err, not_a_macro(b"M" * 64 + b"..."))

    def test_a_nul_in_a_line_of_a_list_is_refused_by_name(self):
        # A list from find -print0 read without -0: its first path shows it.
        self.file("print0.txt", b"folder/a.eml\0/etc/passwd\0folder/b.eml\0")
        status, out, err = self.run_in_folder("run", "--files-from", "print0.txt", "KORMAILER")
        self.assertEqual((status, out), (2, b""))
        self.assertEqual(err.split(b"\n")[0], b"lintrel: print0.txt: line 1 holds a NUL byte; "
                                              b"lists from -print0 need -0")
        self.assertIn(b"\n" + USAGE_START, err)
        # A later line: named, and the run goes on.
        self.file("list.txt", b"folder/a.eml\n\nfolder/b.eml\0md\nbox.mbox\n")
        self.assertEqual(self.run_in_folder("run", "--files-from", "list.txt", "KORMAILER"),
                         (1, b"folder/a.eml\t\tFolder A\nbox.mbox\t1\t<unknown>\nbox.mbox\t2\tBox\n"
                             b"box.mbox\t3\t<unknown>\n",
                          b"lintrel: list.txt: line 3 holds a NUL byte; lists from -print0 need -0\n"))
        self.assertEqual(self.run_in_folder("run", "--files-from", "-", "KORMAILER",
                                            stdin=b"folder/a.eml\nfolder/b.eml\0x\n")[::2],
                         (1, b"lintrel: standard input: line 2 holds a NUL byte; lists from -print0 "
                             b"need -0\n"))

    def test_an_output_that_is_standard_input_is_refused_before_anything_is_emptied(self):
        if WINDOWS:
            self.skipTest("Wine cannot tell which file a standard handle it made from a Unix one is")
        message = b"X-Mailer: Kept\r\n\r\nsee http://example.org/\r\n"
        self.file("b.eml", message)
        self.file("p.txt", b"kept parameter")
        cases = [
            ["run", "-o", "b.eml", "KORGETLINKS"],
            ["run", "--mbox", "-", "-o", "b.eml", "KORGETLINKS"],
            ["run", "-i", "-", "--output=b.eml", "KORMAILER"],
            ["run", "--sample", "--param-file", "0", "-", "-o", "b.eml", "KORMKLINK"],
            ["report", "-o", "b.eml"],
        ]
        for args in cases:
            status, out, err = self.shell('exec "$@" < b.eml', *args)
            self.assertEqual((status, out), (2, b""), args)
            self.assertEqual(err.split(b"\n")[0],
                             b"lintrel: --output b.eml is standard input, one of the inputs", args)
            self.assertEqual(self.read("b.eml"), message, args)
        # Standard input that is not read may be written.
        self.assertEqual(self.shell('exec "$@" < p.txt', "run", "-i", "b.eml", "-o", "p.txt", "KORMAILER"),
                         (0, b"", b""))
        self.assertEqual(self.read("p.txt"), b"Kept")

    def test_an_output_that_standard_output_writes_already_is_written_through_it(self):
        if WINDOWS:
            self.skipTest("Wine cannot tell which file a standard handle it made from a Unix one is")
        self.file("out.txt", b"before|")
        self.assertEqual(self.shell('exec "$@" >> out.txt', "run", "--sample", "-o", "out.txt",
                                    "KORMAILER"), (0, b"", b""))
        self.assertEqual(self.read("out.txt"), b"before|Wrenfield Mail 3.8.2")
        if not WINDOWS:
            self.assertEqual(self.shell('exec "$@" >> out.txt', "run", "-i", "md", "-o", "/dev/stdout",
                                        "KORMAILER"), (0, b"", b""))
            self.assertTrue(self.read("out.txt").startswith(b"before|Wrenfield Mail 3.8.2md/cur/"))

    def test_an_output_file_found_among_the_inputs_is_left_out(self):
        # Made in the folder that is read, and found there by this run and
        # the next alike.
        for attempt in range(2):
            status, out, err = self.run_in_folder("run", "-i", "folder", "-o", "folder/out.txt",
                                                  "KORMAILER")
            self.assertEqual((status, out), (0, b""), attempt)
            self.assertEqual(err, b"lintrel: folder/inner: a folder, read only with --recursive\n"
                                  b"lintrel: folder/out.txt: the output file, left out\n", attempt)
            self.assertEqual(self.read("folder/out.txt"),
                             b"folder/a.eml\t\tFolder A\nfolder/b.eml\t\tFolder B\n", attempt)
        self.file("list.txt", b"folder/a.eml\nfolder/out.txt\n")
        self.assertEqual(self.run_in_folder("run", "--files-from", "list.txt", "-o", "folder/out.txt",
                                            "KORMAILER"),
                         (0, b"", b"lintrel: folder/out.txt: the output file, left out\n"))

    def test_a_long_header_block_is_held_once(self):
        if WINDOWS:
            self.skipTest("the memory of an emulated Wine is not the command's")
        if os.environ.get("LINTREL_SANITIZED"):
            self.skipTest("a sanitizer keeps freed memory aside")
        # 64 MB of header lines and no empty line: the plug-in's copy is the
        # only one.
        # Written a line at a time: a child's peak counts its parent's pages
        # until it runs lintrel.
        with open(self.path("long.eml"), "wb") as f:
            f.write(b"X-Mailer: Long\r\n")
            for _ in range(65000):
                f.write(b"X-Filler: " + b"f" * 1000 + b"\r\n")
        done, peak = peak_of_run(["run", "-i", "long.eml", "KORMAILER"], self._folder.name)
        self.assertEqual(done, (0, b"Long", b""))
        self.assertLess(peak, 100 * 1024, "kilobytes at the peak")

    def test_out_of_memory_ends_with_status_1_wherever_it_strikes(self):
        if WINDOWS:
            self.skipTest("the address space of an emulated Wine is not the command's")
        if os.environ.get("LINTREL_SANITIZED"):
            self.skipTest("a sanitizer keeps the memory of its own")
        def limited():
            resource.setrlimit(resource.RLIMIT_AS, (256 << 20, 256 << 20))
        text = self.file("text", b"a b " * (24 << 20))
        # In the plug-in: KORMKLINK's text is three times as long escaped.
        done = subprocess.run([*LINTREL, "run", "--param-file", "0", text, "KORMKLINK"],
                              capture_output=True, timeout=120, preexec_fn=limited)
        self.assertEqual((done.returncode, done.stdout, done.stderr), (1, b"", b"lintrel: Out of memory\n"))
        # In the command: a message piped in is held whole.
        done = subprocess.run(["sh", "-c", 'head -c 314572800 /dev/zero | exec "$@"', "sh", *LINTREL,
                               "run", "--message", "-", "KORMAILER"],
                              capture_output=True, timeout=120, preexec_fn=limited)
        self.assertEqual((done.returncode, done.stdout, done.stderr), (1, b"", b"lintrel: out of memory\n"))


class BodyTextTest(FileCase):
    """The body a macro sees is the text a mail reader shows; --raw-body
    hands over the bytes after the header block as they stand."""

    QUOTED = (b"Subject: =?utf-8?q?Caf=C3=A9_menu?= for\r\n =?iso-8859-1?q?l=E0?=\r\n"
              b"Content-Type: multipart/alternative; boundary=b\r\n\r\n--b\r\n"
              b"Content-Type: text/plain; charset=utf-8\r\n"
              b"Content-Transfer-Encoding: quoted-printable\r\n\r\n"
              b"The caf=C3=A9 menu is at http://example.org/caf=\r\ne/menu=2Ehtml today.\r\n"
              b"--b\r\nContent-Type: text/html\r\n\r\n<p>http://example.org/html</p>\r\n--b--\r\n")

    def test_the_body_is_the_text_part_decoded(self):
        message = self.file("m.eml", self.QUOTED)
        self.assertRuns(["run", "-i", message, "KORGETLINKS"], b"http://example.org/cafe/menu.html")
        self.assertRuns(["run", "-i", message, "KORCITE", "--", "", "", "9"],
                        b"The caf\xe9 menu is at http://example.org/cafe/menu.html today.")
        self.assertRuns(["run", "-i", message, "--raw-body", "KORGETLINKS"],
                        b"http://example.org/caf\r\nhttp://example.org/html")
        # The header block stays as it is; --body too.
        self.assertRuns(["run", "-i", message, "KORGETHEADER", "Subject:"],
                        b"=?utf-8?q?Caf=C3=A9_menu?= for =?iso-8859-1?q?l=E0?=")
        self.assertRuns(["run", "--body", message, "KORGETLINKS"],
                        b"http://example.org/caf\r\nhttp://example.org/html")

    def test_the_report_shows_the_subject_decoded(self):
        message = self.file("m.eml", self.QUOTED)
        status, out, err = lintrel("report", "-i", message)
        self.assertEqual((status, err), (0, b""))
        self.assertIn(b"\nKORMKLINK <subject>: Caf%E9%20menu%20for%20l%E0\n", out)
        self.assertIn(b"\nKORGETLINKS: http://example.org/cafe/menu.html\n", out)
        status, out, err = lintrel("report", "--raw-body", "-i", message)
        self.assertIn(b"\nKORGETLINKS: http://example.org/caf\n  http://example.org/html\n", out)

    def test_the_body_text_in_utf_8(self):
        if WINDOWS:
            self.skipTest("lintrel.exe has no --output-encoding")
        message = self.file("m.eml", b"Content-Type: text/plain; charset=koi8-r\n\n\xf0\xd2\xc9 \xe9\n")
        self.assertRuns(["run", "-i", message, "KORCITE", "--", "", "", "9"], b"??? ?\n")
        self.assertRuns(["run", "-i", message, "--locale", "ru-RU", "KORCITE", "--", "", "", "9"],
                        b"\xcf\xf0\xe8 \xc8\n")
        self.assertRuns(["run", "-i", message, "--locale", "ru-RU", "--output-encoding", "utf-8",
                         "KORCITE", "--", "", "", "9"], "\u041f\u0440\u0438 \u0418\n".encode())
        self.assertRuns(["run", "-i", message, "--output-encoding", "utf-8", "KORCITE", "--", "", "",
                         "9"], b"??? ?\n")


class JobsTest(MailStore):
    """Messages run on several threads give the bytes of a run on one."""

    def setUp(self):
        super().setUp()
        count = 40 if WINDOWS else 400
        mbox = b""
        for n in range(count):
            header = b"X-Mailer: M%d\n" % n if n % 3 else b"Subject: none\n"
            dated = b"Received: from a by b; Tue, 01 Jan 2002 10:%02d:00 +0300\n" % (n % 60) if n % 5 else b""
            body = b"see http://example.org/%d\n" % n + b"> quoted\n" * (n % 7) + b"x" * (n * 37 % 5000)
            message = dated + header + b"\n" + body + b"\n"
            self.file(f"store/cur/{n:05}:2,S", message)
            mbox += b"From a\n" + message + b"\n"
        self.file("store.mbox", mbox)
        self.file("store/cur/00007:2,S", b"")  # an empty message among them
        os.symlink("nowhere", self.path("store/cur/00011:2,T"))  # and one that cannot be read
        self.file("list", b"store.mbox\nfolder\nstore\n")

    def test_every_input_kind_and_format_gives_the_same_bytes(self):
        inputs = [["-i", "store"], ["-i", "store.mbox"], ["-r", "-i", "folder", "-i", "md"],
                  ["--files-from", "list"], ["-i", "-"]]
        commands = [["run", "KORMAILER"], ["run", "KORDELIVERYTIME"], ["run", "KORGETLINKS"],
                    ["report", "--now", "2024-03-15T10:30:00Z"]]
        formats = [["--format", "tsv"], ["--format", "jsonl"], ["--format", "text"], []]
        jobs = [["-j", "2"]] if WINDOWS else [["-j", "2"], ["-j", "3"], ["--jobs=8"], []]
        with open(self.path("store.mbox"), "rb") as f:
            mbox = f.read()
        for given in inputs:
            for command in commands:
                for format in formats:
                    if command[0] == "report" and format[1:] == ["tsv"]:
                        continue
                    if WINDOWS and (format or command[1] != "KORMAILER"):
                        continue
                    args = [*command[:1], *given, *format, *command[1:]]
                    stdin = mbox if "-" in given else b""
                    one = self.run_in_folder(*args, "-j", "1", stdin=stdin)
                    self.assertTrue(one[1], args)
                    for more in jobs:
                        self.assertEqual(self.run_in_folder(*args, *more, stdin=stdin), one, (args, more))


    def test_few_open_files_give_what_one_thread_reads(self):
        if WINDOWS:
            self.skipTest("the limit on open files is a POSIX one")
        def limited(files):
            return lambda: resource.setrlimit(resource.RLIMIT_NOFILE, (files, files))
        for n in range(1000):
            self.file(f"many/cur/{n:05}:2,S", b"X-Mailer: M%d\n\nsee http://example.org/%d\n" % (n, n))
        for args in (["run", "-i", "many", "KORGETLINKS"], ["run", "--files-from", "list", "KORMAILER"]):
            for files in (5, 7, 16):
                runs = [subprocess.run([*LINTREL, *args, "-j", jobs], capture_output=True, timeout=60,
                                       cwd=self._folder.name, preexec_fn=limited(files))
                        for jobs in ("1", "4")]
                self.assertEqual(*[(done.returncode, done.stdout, done.stderr) for done in runs],
                                 (args, files))
            self.assertEqual((runs[0].returncode, runs[0].stdout, runs[0].stderr),
                             self.run_in_folder(*args), args)

    def test_memory_does_not_grow_with_the_inputs(self):
        if WINDOWS:
            self.skipTest("the memory of an emulated Wine is not the command's")
        if os.environ.get("LINTREL_SANITIZED"):
            self.skipTest("a sanitizer keeps freed memory aside")
        paths = [f"store/cur/{n:05}:2,S" for n in range(0, 400, 3) if n not in (7, 11)]
        with open(self.path("long list"), "w") as f:
            f.writelines(f"{paths[n % len(paths)]}\n" for n in range(600000))
        (status, out, err), peak = peak_of_run(["run", "--files-from", "long list", "KORMAILER"],
                                               self._folder.name)
        self.assertEqual((status, out.count(b"\n"), err), (0, 600000, b""))
        # The peak is this process's when it is larger: it counts until the
        # run starts.
        self.assertLess(peak, 48 * 1024, "kilobytes at the peak")


class MacroReferenceTest(unittest.TestCase):
    def test_every_example_gives_what_the_help_says(self):
        status, out, _ = lintrel("list")
        for line in out.splitlines():
            name = line.split(b" ")[0].decode()
            status, help_text, err = lintrel("help", name.lower())
            self.assertEqual((status, err), (0, b""), name)
            example = help_text.split(b"\nExample")[1]
            lines = example.split(b"\n")[1:]
            command = lines[0].strip()
            self.assertTrue(command.startswith(b"$ lintrel run "), name)
            shown = b"\n".join(line[2:] for line in lines[1:] if line)
            if b"CR and LF shown" in example.split(b"\n")[0]:
                shown = shown.replace(b"\n", b"").replace(b"\\r", b"\r").replace(b"\\n", b"\n")
            if WINDOWS and name == "KORDELIVERYTODATE":
                shown = date_text(2024, 3, 14, 8, 26, 15)
            # As a user would type it into bash (whose own locale stays
            # the default; Wine's is the command's alone).
            environment = dict(os.environ)
            locale = environment.pop("LC_ALL", "")
            script = (f"lintrel() {{ LC_ALL={shlex.quote(locale)} "
                      f"{' '.join(shlex.quote(part) for part in LINTREL)} \"$@\"; }}; ").encode()
            done = subprocess.run(["bash", "-c", script + command[2:]], capture_output=True,
                                  timeout=60, env=environment)
            self.assertEqual((done.returncode, done.stdout, done.stderr), (0, shown, b""), name)


class WindowsPluginTest(FileCase):
    """lintrel.exe against DLLs that cannot be loaded or that break the host contract."""

    def setUp(self):
        super().setUp()
        if not WINDOWS:
            self.skipTest("the Windows command only")
        self.plugins = os.path.join(os.path.dirname(LINTREL[-1]), "..", "test_plugins")
        with open(LINTREL[-1], "rb") as exe:
            header = exe.read(4096)
        machine = int.from_bytes(header[0x3C:0x40], "little") + 4
        self.bitness = b"64" if header[machine:machine + 2] == b"\x64\x86" else b"32"

    def plugin(self, name):
        return os.path.abspath(os.path.join(self.plugins, name))

    def test_a_dll_that_cannot_be_used_exits_2_naming_it(self):
        missing, other = self.plugin("missing.TBP"), self.plugin("other_bitness.TBP")
        no_exec = self.plugin("lintrel_no_exec_plugin.dll")
        cases = [
            (missing, b"lintrel: cannot load the plug-in " + missing.encode() + b": "),
            (other, b"lintrel: cannot load the plug-in " + other.encode() + b": "),
            (no_exec, b"lintrel: cannot use the plug-in " + no_exec.encode() +
             b": it has no entry point TBP_ExecMacro ("),
        ]
        for dll, start in cases:
            for args in (["--dll", dll, "list"], ["run", "--dll", dll, "KOR_LN_VER"]):
                status, out, err = lintrel(*args)
                self.assertEqual((status, out), (2, b""), args)
                self.assertTrue(err.startswith(start), err)
        # The system's reason follows the path; for a DLL of the other
        # bitness, what lintrel.exe can load is said as well.
        self.assertRegex(lintrel("--dll", missing, "list")[2], re.escape(cases[0][1]) + rb"\S.*\n$")
        self.assertIn(b"lintrel.exe is a " + self.bitness + b"-bit program; it loads " + self.bitness +
                      b"-bit DLLs only", lintrel("--dll", other, "list")[2])

    def test_identity_and_macros_come_from_the_dll(self):
        fault = self.plugin("lintrel_fault_plugin.dll")
        self.assertRuns(["--dll", fault, "--version"], b"0.0.1\nFault plug-in\nFault plug-in 0.0.1\nfor tests\n")
        self.assertRuns(["--dll", fault, "list"], b"CRASH\nLEAK\nOVERRELEASE\nREFUSE\nSHRINK\n")
        self.assertEqual(lintrel("run", "--dll", fault, "ANY"),
                         (1, b"fault plug-in: ANY", not_a_macro(b"ANY")))
        # A relative path is taken from the working folder.
        done = subprocess.run([*LINTREL, "--dll", "lintrel_fault_plugin.dll", "list"],
                              capture_output=True, timeout=60, cwd=self.plugins)
        self.assertEqual((done.returncode, done.stdout[:6], done.stderr), (0, b"CRASH\n", b""))

    def test_a_dll_that_breaks_the_contract_exits_3(self):
        fault = self.plugin("lintrel_fault_plugin.dll")
        cases = [
            ("LEAK", rb"lintrel: internal error: LEAK kept 1 reference\(s\) on the message provider\n"),
            ("OVERRELEASE", rb"lintrel: internal error: OVERRELEASE released the message provider 1 "
                            rb"time\(s\) more than it took it\n"),
            ("CRASH", rb"lintrel: internal error: the plug-in raised exception 0xC0000005 at 0x[0-9A-F]+ "
                      rb"\(writing address 0x0+\)\n"),
        ]
        for macro, message in cases:
            status, out, err = lintrel("run", "--dll", fault, macro)
            self.assertEqual((status, out), (3, b""), macro)
            self.assertRegex(err, b"^" + message + b"$")
        # Over several messages the run stops at the first such fault.
        box = self.file("box.mbox", MboxTest.MBOX)
        status, out, err = lintrel("run", "--dll", fault, "-i", box, "LEAK")
        self.assertEqual((status, out), (3, b""))
        # A fault outside TBP_ExecMacro is met the same way.
        status, out, err = lintrel("--dll", self.plugin("lintrel_crash_on_start_plugin.dll"), "list")
        self.assertEqual((status, out), (3, b""))
        self.assertRegex(err, rb"^lintrel: internal error: TBP_Initialize: the plug-in raised exception "
                              rb"0xC0000005 at 0x[0-9A-F]+ \(writing address 0x0+\)\n$")

    def test_the_dlls_own_error_exits_1(self):
        fault = self.plugin("lintrel_fault_plugin.dll")
        self.assertEqual(lintrel("run", "--dll", fault, "REFUSE"), (1, b"", b"lintrel: refused\n"))

    def test_an_input_error_inside_a_provider_call_crosses_the_dll(self):
        # The plug-in empties the message file, then fetches its body, which
        # is read from the file only then: the command's error passes through
        # the DLL and ends the run as it does on Linux.
        message = self.file("big.eml", b"Subject: big\r\n\r\n" + b"body line\r\n" * 100000)
        fault = self.plugin("lintrel_fault_plugin.dll")
        self.assertEqual(lintrel("run", "--dll", fault, "-i", message, "SHRINK", message),
                         (2, b"", b"lintrel: " + message.encode() + b": changed while it was read\n"))


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    arguments = sys.argv[1:]
    if arguments[0] == "--wine":
        WINDOWS = True
        LINTREL, arguments = [os.path.abspath(arguments[1])], arguments[2:]
        # The Windows user's locale, which Wine takes from the environment.
        os.environ["LC_ALL"] = "en_US.UTF-8"
        # Wine seldom loses a run before it starts (see run_lintrel): once more.
        for attempt in range(2):
            started = subprocess.run([LINTREL[0], "--persist", os.path.abspath(arguments[0])],
                                     stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
            if started.returncode == 0:
                break
        started.check_returncode()
    else:
        LINTREL = []
    LINTREL.append(os.path.abspath(arguments[0]))
    unittest.main(argv=[sys.argv[0], *arguments[1:]], verbosity=2)
