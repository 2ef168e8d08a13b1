#!/usr/bin/env python3
"""Compares the body text that lintrel hands the plug-in with the text that
Python's email package gives (tests/tools/mime_corpus/oracle.py), on the
generated corpus (tests/tools/mime_corpus/make_corpus.py), for the ANSI code
pages 1252, 1250, 1251 and 932; and that with lintrel's --raw-body every
message's body is handed over as it stands in the file. The plug-in keeps a text it fetches up
to its first NUL byte, and so is each text compared.

Usage: body_text_oracle_test.py [--wine WINE_RUN [--native LINTREL]] [--large]
                         PATH_TO_LINTREL [TestClass ...]

With --wine, PATH_TO_LINTREL is lintrel.exe, run through the script WINE_RUN,
its code page taken by Wine from LC_ALL; with --native too, SameBytesTest
checks that it hands over the same bytes as the Linux command LINTREL for
every message, known differences included. --large adds the messages with
64 MiB parts.
"""

import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "mime_corpus"))
import lintrel_bodies  # noqa: E402
import make_corpus  # noqa: E402
import oracle  # noqa: E402

# Where lintrel is meant to differ from Python's email package, and why: file
# name -> (the code pages concerned, or None for all; the reason). The docs
# say the same. A listed message that agrees fails too, so the list stays true.
KNOWN_DIFFERENCES = {
    "charset-windows-1252-undefined-bytes.eml": (
        (1252, 1250), "the five bytes that windows-1252 leaves undefined are the C1 controls of "
                      "the same numbers to the Encoding Standard and to Windows, which writes "
                      "them back as those bytes in 1252 and 1250; Python's cp1252 codec reads "
                      "them as no character"),
    "transfer-encoding-x-uuencode.eml": (
        None, "lintrel undoes base64 and quoted-printable and hands every other transfer "
              "encoding over as it stands; Python's email package also undoes x-uuencode"),
}

LINTREL = None
NATIVE = None
LARGE = False


class Corpus:
    """The corpus, written once into a scratch folder."""
    folder = None
    messages = None

    @classmethod
    def get(cls):
        if cls.folder is None:
            cls._scratch = tempfile.TemporaryDirectory()
            cls.folder = os.path.join(cls._scratch.name, "corpus")
            cls.messages = dict(make_corpus.messages(LARGE))
            make_corpus.write(cls.folder, LARGE)
        return cls


class EachCodePage:
    """A test for each code page compared, made of check_code_page."""

    def test_code_page_1252(self):
        self.check_code_page(1252)

    def test_code_page_1250(self):
        self.check_code_page(1250)

    def test_code_page_1251(self):
        self.check_code_page(1251)

    def test_code_page_932(self):
        self.check_code_page(932)


class BodyTextTest(EachCodePage, unittest.TestCase):
    """lintrel's body text is the oracle's, or a known difference."""

    def check_code_page(self, code_page):
        corpus = Corpus.get()
        found, errors = LINTREL.bodies(["-i", corpus.folder], code_page)
        problems = []
        for name, raw in corpus.messages.items():
            source = f"{corpus.folder}/{name}"
            got = found.pop(source, ("error", "no record"))
            expected = lintrel_bodies.as_fetched(oracle.body_text(raw, code_page))
            known = KNOWN_DIFFERENCES.get(name)
            if known and known[0] is not None and code_page not in known[0]:
                known = None
            if got == ("result", expected):
                if known:
                    problems.append(f"{name}: agrees, but is listed as a known difference")
            elif not known:
                problems.append(lintrel_bodies.describe(name, got, expected))
        problems += [f"{source}: a record of no message of the corpus" for source in found]
        if problems:
            self.fail(f"code page {code_page}: {len(problems)} of {len(corpus.messages)} messages"
                      f" differ from the oracle\n" + "\n".join(problems) +
                      (f"\nlintrel's standard error:\n{errors}" if errors else ""))


class SameBytesTest(EachCodePage, unittest.TestCase):
    """lintrel.exe under Wine hands over what lintrel does, byte for byte."""

    def setUp(self):
        if NATIVE is None:
            self.skipTest("needs --wine and --native")

    def check_code_page(self, code_page):
        corpus = Corpus.get()
        windows, windows_errors = LINTREL.bodies(["-i", corpus.folder], code_page)
        linux, linux_errors = NATIVE.bodies(["-i", corpus.folder], code_page)
        problems = []
        for source in sorted(set(windows) | set(linux)):
            on_windows = windows.get(source, ("error", "no record"))
            on_linux = linux.get(source, ("error", "no record"))
            if on_linux[0] == "error":
                problems.append(f"{source}: lintrel: error: {on_linux[1]}")
            elif on_windows != on_linux:
                problems.append(lintrel_bodies.describe(source, on_windows, on_linux[1]))
        if problems:
            self.fail(f"code page {code_page}: where lintrel.exe (first) and lintrel (second)"
                      f" differ\n" + "\n".join(problems) + f"\n{windows_errors}{linux_errors}")


class RawBodyTest(unittest.TestCase):
    """With --raw-body, the body is every byte after the first empty line."""

    def test_raw_body_is_the_bytes_after_the_empty_line(self):
        corpus = Corpus.get()
        found, errors = LINTREL.bodies(["-i", corpus.folder], 1252, raw_body=True)
        problems = []
        for name, raw in corpus.messages.items():
            got = found.get(f"{corpus.folder}/{name}", ("error", "no record"))
            expected = lintrel_bodies.as_fetched(lintrel_bodies.raw_body(raw))
            if got != ("result", expected):
                problems.append(lintrel_bodies.describe(name, got, expected))
        if problems:
            self.fail("\n".join(problems) +
                      (f"\nlintrel's standard error:\n{errors}" if errors else ""))


if __name__ == "__main__":
    arguments = sys.argv[1:]
    wine_run = None
    while arguments and arguments[0] in ("--wine", "--native", "--large"):
        option = arguments.pop(0)
        if option == "--wine":
            wine_run = arguments.pop(0)
        elif option == "--native":
            NATIVE = lintrel_bodies.Lintrel(arguments.pop(0))
        else:
            LARGE = True
    if not arguments or (NATIVE and not wine_run):
        sys.exit(__doc__)
    LINTREL = lintrel_bodies.Lintrel(arguments[0], wine_run)
    unittest.main(argv=[sys.argv[0], *arguments[1:]], verbosity=2)
