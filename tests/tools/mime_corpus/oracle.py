#!/usr/bin/env python3
"""The body text that an e-mail client hands a plug-in, computed with
Python's email package, as an oracle independent of lintrel's own code.

Usage: oracle.py [--code-page N] [--explain] FILE
  writes FILE's body text in Windows code page N (1252 by default) to standard
  output; --explain writes the part chosen and its charset's encoding instead.

The steps:
1. the part: `get_body(preferencelist=('plain', 'html'))` under
   policy.default; no such part gives the empty text;
2. its transfer encoding undone by `get_payload(decode=True)`;
3. its charset parameter resolved as the Encoding Standard resolves labels
   (lintrel's tools/body_text/charset_table.cpp); the bytes decoded as the
   Standard's "decode" does (a byte order mark chooses UTF-8 or UTF-16 and is
   dropped) with the Python codec of CODECS, errors replaced; the text then
   written in code page N, "?" for every character N lacks. A character that
   Python's codec writes only as a look-alike (its cp932 writes U+00A2 as
   the full-width cent sign) becomes "?" too: there is no best-fit mapping.
   No charset parameter, or a label that names no encoding: the decoded bytes
   as they stand.
"""

import email
import email.policy
import functools
import os
import re
import sys

# The Python codec for each of the Standard's encodings. Where Python has
# several, the one the Standard's decoder matches best:
# - Shift_JIS is cp932 (the Standard's decoder is Microsoft's, with the NEC
#   and IBM rows), EUC-KR is cp949 (the unified Hangul code, a superset of
#   KS X 1001), GBK is gbk (code page 936).
# - Big5 is cp950, code page 950, which is what the text becomes on Windows.
#   The Standard's Big5 is Big5-HKSCS; Python's big5hkscs differs from it as
#   much as cp950 does in the common range (A145, A1C2 and others), lacks the
#   euro sign at A3E1, and its HKSCS characters are outside every code page a
#   user of 1252, 1250, 1251 or 932 has but for a few Han characters of 932.
# - ISO-2022-JP is iso2022_jp_ext, which reads the half-width katakana
#   (ESC ( I) that the Standard's decoder reads and plain iso2022_jp refuses.
# - KOI8-U is koi8_u; the Standard's KOI8-U also maps AE and BE to U+045E and
#   U+040E, which Python's does not. x-mac-cyrillic is mac_cyrillic, the older
#   table, without the Standard's Ukrainian letters at A2 and B6 or its euro.
CODECS = {
    "UTF-8": "utf-8", "IBM866": "cp866", "ISO-8859-2": "iso8859_2", "ISO-8859-3": "iso8859_3",
    "ISO-8859-4": "iso8859_4", "ISO-8859-5": "iso8859_5", "ISO-8859-6": "iso8859_6",
    "ISO-8859-7": "iso8859_7", "ISO-8859-8": "iso8859_8", "ISO-8859-8-I": "iso8859_8",
    "ISO-8859-10": "iso8859_10", "ISO-8859-13": "iso8859_13", "ISO-8859-14": "iso8859_14",
    "ISO-8859-15": "iso8859_15", "ISO-8859-16": "iso8859_16", "KOI8-R": "koi8_r",
    "KOI8-U": "koi8_u", "macintosh": "mac_roman", "windows-874": "cp874",
    "windows-1250": "cp1250", "windows-1251": "cp1251", "windows-1252": "cp1252",
    "windows-1253": "cp1253", "windows-1254": "cp1254", "windows-1255": "cp1255",
    "windows-1256": "cp1256", "windows-1257": "cp1257", "windows-1258": "cp1258",
    "GBK": "gbk", "gb18030": "gb18030", "Big5": "cp950", "EUC-JP": "euc_jp",
    "ISO-2022-JP": "iso2022_jp_ext", "Shift_JIS": "cp932", "EUC-KR": "cp949",
    "UTF-16BE": "utf-16-be", "UTF-16LE": "utf-16-le", "x-mac-cyrillic": "mac_cyrillic",
}
USER_DEFINED = "x-user-defined"

# Windows ANSI code pages and the Python codec that writes each.
CODE_PAGES = {874: "cp874", 932: "cp932", 936: "gbk", 949: "cp949", 950: "cp950",
              1250: "cp1250", 1251: "cp1251", 1252: "cp1252", 1253: "cp1253", 1254: "cp1254",
              1255: "cp1255", 1256: "cp1256", 1257: "cp1257", 1258: "cp1258"}

BYTE_ORDER_MARKS = ((b"\xef\xbb\xbf", "UTF-8"), (b"\xfe\xff", "UTF-16BE"),
                    (b"\xff\xfe", "UTF-16LE"))
# What the Standard trims from a label: ASCII whitespace.
LABEL_BLANKS = "\t\n\f\r "


HERE = os.path.dirname(os.path.abspath(__file__))
# lintrel's own table of the labels, made from npm's whatwg-encoding, which
# the oracle reads so that both go by one table.
CHARSET_TABLE = os.path.join(HERE, "..", "..", "..", "tools", "body_text", "charset_table.cpp")
TABLE_ROW = re.compile(r'^\s*\{"([^"]+)", (\d+)\},', re.MULTILINE)


@functools.cache
def labels():
    """The Standard's labels, each with the name of its encoding."""
    with open(CHARSET_TABLE) as f:
        encodings, _, label_rows = f.read().partition("kLabels[]")
    names = [name for name, _ in TABLE_ROW.findall(encodings)]
    return {label: names[int(index)] for label, index in TABLE_ROW.findall(label_rows)}


def encoding_for_label(label):
    """The Standard's "get an encoding": the encoding's name, or None."""
    return labels().get(label.strip(LABEL_BLANKS).lower())


def text_part(raw):
    """The part a client shows as the text, or None."""
    message = email.message_from_bytes(raw, policy=email.policy.default)
    return message.get_body(preferencelist=("plain", "html"))


def decode(data, encoding):
    """`data` decoded as the Standard's "decode" does, with a byte order
    mark's encoding in place of `encoding`."""
    for mark, marked in BYTE_ORDER_MARKS:
        if data.startswith(mark):
            data, encoding = data[len(mark):], marked
            break
    if encoding == USER_DEFINED:
        return "".join(chr(b) if b < 0x80 else chr(0xF780 + b - 0x80) for b in data)
    return data.decode(CODECS[encoding], "replace")


@functools.cache
def writes_exactly(character, codec):
    """Whether `codec` has `character` itself, not only a look-alike."""
    try:
        return character.encode(codec).decode(codec) == character
    except UnicodeError:
        return False


def encode(text, code_page):
    """`text` in Windows code page `code_page`, "?" for what it lacks."""
    codec = CODE_PAGES[code_page]
    lacking = {ord(c): "?" for c in set(text) if c > "\x7f" and not writes_exactly(c, codec)}
    if lacking:
        text = text.translate(lacking)
    return text.encode(codec, "replace")


def body_text(raw, code_page):
    """The body text of message `raw` as a client hands it to a plug-in
    whose ANSI code page is `code_page`."""
    part = text_part(raw)
    if part is None:
        return b""
    data = part.get_payload(decode=True)
    label = part.get_content_charset()
    encoding = None if label is None else encoding_for_label(label)
    if encoding is None:
        return data
    return encode(decode(data, encoding), code_page)


def explain(raw):
    """What the oracle chose for `raw`, in a line."""
    part = text_part(raw)
    if part is None:
        return "no text part: the empty text"
    label = part.get_content_charset()
    encoding = None if label is None else encoding_for_label(label)
    transfer = str(part.get("content-transfer-encoding", "")).lower()
    return (f"{part.get_content_type()}, transfer encoding {transfer!r}, charset {label!r}"
            f" -> {encoding or 'bytes as they stand'}")


def main(arguments):
    code_page = 1252
    explaining = False
    while arguments and arguments[0].startswith("--"):
        option = arguments.pop(0)
        if option == "--code-page" and arguments:
            code_page = int(arguments.pop(0))
        elif option == "--explain":
            explaining = True
        else:
            sys.exit(__doc__)
    if len(arguments) != 1 or code_page not in CODE_PAGES:
        sys.exit(__doc__)
    with open(arguments[0], "rb") as f:
        raw = f.read()
    if explaining:
        print(explain(raw))
    else:
        sys.stdout.buffer.write(body_text(raw, code_page))


if __name__ == "__main__":
    main(sys.argv[1:])
