#!/usr/bin/env python3
"""Checks the oracle's charset step and the comparison's helpers on cases
worked out by hand.

Usage: oracle_test.py
"""

import unittest

import lintrel_bodies
import oracle


def plain(charset_parameter, body, transfer_encoding=None):
    """A single-part text/plain message with `body`."""
    fields = b"Subject: t\r\nContent-Type: text/plain" + charset_parameter + b"\r\n"
    if transfer_encoding:
        fields += b"Content-Transfer-Encoding: " + transfer_encoding + b"\r\n"
    return fields + b"\r\n" + body


class BodyTextTest(unittest.TestCase):
    def test_charset_step(self):
        cases = [
            # (message, code page, body text)
            (plain(b"; charset=iso-8859-1", b"\x80 \xe9"), 1252, b"\x80 \xe9"),  # windows-1252
            (plain(b"; charset=us-ascii", b"caf\xe9"), 1252, b"caf\xe9"),
            (plain(b"; charset=iso-8859-1", b"caf\xe9"), 1250, b"caf\xe9"),
            (plain(b"; charset=iso-8859-1", b"\xe0"), 1251, b"?"),
            (plain(b"; charset=utf-8", b"\xc5\x82\xc3\xb3d\xc5\xba"), 1250, b"\xb3\xf3d\x9f"),
            (plain(b"; charset=koi8-r", b"\xf0\xd2\xc9"), 1251, b"\xcf\xf0\xe8"),
            (plain(b"; charset=gb2312", b"\xc4\xe3"), 932, b"?"),  # GBK
            (plain(b"; charset=shift_jis", b"\x93\xfa\xb1"), 932, b"\x93\xfa\xb1"),
            (plain(b"; charset=euc-jp", b"\xc6\xfc\x8e\xb1"), 932, b"\x93\xfa\xb1"),
            (plain(b"; charset=iso-2022-jp", b"\x1b$BF|\x1b(I1\x1b(B."), 932, b"\x93\xfa\xb1."),
            (plain(b"; charset=utf-8", b"\xc2\xa2"), 932, b"?"),  # no best fit: cp932 has no U+00A2
            (plain(b"; charset=utf-8", b"\xf0\x9f\x98\x80!"), 1252, b"?!"),  # one "?" a character
            (plain(b"; charset=utf-8", b"\xef\xbb\xbfA"), 1252, b"A"),  # the mark is dropped
            (plain(b"; charset=utf-16", b"A\x00\xe9\x00"), 1252, b"A\xe9"),  # utf-16 is LE
            (plain(b"; charset=utf-16", b"\xfe\xff\x00A\x00\xe9"), 1252, b"A\xe9"),
            (plain(b"; charset=windows-1252", b"\xfe\xff\x00A"), 1252, b"A"),  # a mark decides
            (plain(b"; charset=utf-16le", b"A\x00B"), 1252, b"A?"),
            (plain(b"; charset=x-user-defined", b"A\x80"), 1252, b"A?"),
            (plain(b'; charset=" Windows-1250 "', b"\xb3"), 1250, b"\xb3"),  # trimmed, any case
            # The labels of the Standard's "replacement" name no encoding.
            (plain(b"; charset=iso-2022-kr", b"\xc3\xa9"), 1252, b"\xc3\xa9"),
            (plain(b"; charset=x-unknown", b"\xc3\xa9"), 1252, b"\xc3\xa9"),
            (plain(b"", b"\xc3\xa9"), 1252, b"\xc3\xa9"),  # no label
            (plain(b"; charset=utf-8", b"w=C3=A9b http://x/?a=3Db=\r\nc", b"quoted-printable"),
             1252, b"w\xe9b http://x/?a=bc"),
            (plain(b"; charset=utf-8", b"w6k=\r\n", b"base64"), 1252, b"\xe9"),
            (plain(b"; charset=utf-8", b"x", b"base64"), 1252, b"x"),  # Python: the source
        ]
        for raw, code_page, expected in cases:
            with self.subTest(raw=raw, code_page=code_page):
                self.assertEqual(oracle.body_text(raw, code_page), expected)

    def test_no_text_part_is_the_empty_text(self):
        cases = [
            b"Content-Type: text/plain\r\nContent-Disposition: attachment\r\n\r\ntext",
            b"Content-Type: image/png\r\n\r\n\x89PNG",
            b"Content-Type: multipart/mixed; boundary=b\r\n\r\nno delimiter",
        ]
        for raw in cases:
            with self.subTest(raw=raw):
                self.assertEqual(oracle.body_text(raw, 1252), b"")


class HelpersTest(unittest.TestCase):
    def test_raw_body_follows_lintrels_split(self):
        cases = [
            (b"A: 1\r\n\r\nbody", b"body"),
            (b"A: 1\n\nbody", b"body"),
            (b"A: 1\r\rbody", b"body"),
            (b"A: 1\n\r\nbody", b"body"),
            (b"A: 1\r\r\nbody", b"body"),
            (b"A: 1\r\nB: 2\r\n", b""),
            (b"\r\nbody", b"body"),
            (b"A: 1\n\n\nbody", b"\nbody"),
        ]
        for raw, body in cases:
            with self.subTest(raw=raw):
                self.assertEqual(lintrel_bodies.raw_body(raw), body)

    def test_first_difference(self):
        cases = [(b"abc", b"abc", None), (b"abc", b"abd", 2), (b"ab", b"abc", 2), (b"", b"x", 0),
                 (b"x" * 1000 + b"a", b"x" * 1000 + b"b", 1000)]
        for a, b, offset in cases:
            with self.subTest(a=a[-4:], b=b[-4:]):
                self.assertEqual(lintrel_bodies.first_difference(a, b), offset)

    def test_a_fetched_text_ends_at_its_first_nul(self):
        self.assertEqual(lintrel_bodies.as_fetched(b"ab\0cd\0"), b"ab")
        self.assertEqual(lintrel_bodies.as_fetched(b"abc"), b"abc")


if __name__ == "__main__":
    unittest.main(verbosity=2)
