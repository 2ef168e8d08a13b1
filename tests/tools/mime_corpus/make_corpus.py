#!/usr/bin/env python3
"""Writes a folder of generated MIME messages, the same bytes on every run.

Usage: make_corpus.py [--large] FOLDER

Each file's name says what it covers: the structure (alternative, nested
multiparts, attachments before the text), the transfer encodings and their
broken forms, the charsets, boundaries that are missing or that appear inside
a part, and ordinary headers (folded, quoted, upper case, CR line ends). Every
message's text holds a link or two and characters of its charset. --large adds
the messages whose text part or attachment is 64 MiB.
"""

import base64
import binascii
import os
import quopri
import sys

CRLF = b"\r\n"
LF = b"\n"
CR = b"\r"

# Texts in the languages of the charsets, each with links, so that a link cut
# by a soft line break or hidden in base64 shows in the link macros.
TEXTS = {
    "en": "Hello Ana,\n\n"
          "the agenda is at https://www.example.com/meetings/2024/agenda.html?id=42&lang=en\n"
          "and the minutes at http://example.org/minutes/march.\n\nRegards,\nPaulo\n",
    "latin1": "Bonjour Zoé,\n\n"
              "le menu du café est là : https://www.example.fr/café/menu?jour=lundi&prix=½\n"
              "Déjà vu, naïve façade, señor Muñoz, Grüße aus Köln, © 2024, ¿qué?\n"
              "Archive: http://example.org/archiv/übersicht\n",
    "latin2": "Dzień dobry,\n\nZażółć gęślą jaźń. Příliš žluťoučký kůň úpěl ďábelské ódy.\n"
              "Szczegóły: https://www.example.pl/zamówienia?id=7&język=pl\n"
              "Árvíztűrő tükörfúrógép: http://example.hu/őszi-ár\n",
    "cyrillic": "Здравствуйте, Иван!\n\nСъешь же ещё этих мягких французских булок, да выпей чаю.\n"
                "Подробности: https://www.example.ru/новости?id=12&язык=ru\n"
                "Архив: http://example.org/archive/март\n",
    "latin9": "Prix : 20 € seulement, cœur et œuvre, Šárka et Žofie, Ÿves.\n"
              "Commande: https://shop.example.fr/œuvres?prix=20€&qté=2\n"
              "Contact: http://example.org/contact\n",
    "cp1250": "„Zażółć gęślą jaźń” – powiedział Łukasz… Příliš žluťoučký kůň.\n"
              "Oferta: https://www.example.pl/oferta?miasto=Łódź&id=3\n"
              "Kontakt: http://example.cz/kontakt‰\n",
    "cp1251": "«Съешь же ещё этих мягких французских булок» — сказал он. № 5, ґ є і ї.\n"
              "Ссылка: https://www.example.ru/заказ?номер=5&id=9\n"
              "Почта: http://example.org/mail\n",
    "cp1252": "“Smart quotes” – en dash — em dash… €5, œuvre, Šime, Žana, ƒ, ™, •, ‰.\n"
              "Order: https://shop.example.com/items?q=café&price=€5\n"
              "Help: http://example.org/help\n",
    "koi8r": "Привет, Мир! Съешь же ещё этих мягких французских булок.\n"
             "Ссылка: https://www.example.ru/статья?id=3&раздел=новости\n"
             "Архив: http://example.org/архив\n",
    "ja": "山田様\n\n日本語のメールです。詳細は https://www.example.jp/お知らせ?id=7&lang=ja をご覧ください。\n"
          "資料：http://example.org/資料/一覧 ひらがな、カタカナ、漢字。\n",
    "ja-kana": "ｶﾀｶﾅのお知らせ：https://www.example.jp/kana?id=1 ﾃｽﾄ\n",
    "zh-hans": "你好，\n\n这是一封测试邮件。详情请见 https://www.example.cn/新闻?id=8&lang=zh 谢谢。\n"
               "下载：http://example.org/下载/列表\n",
    "zh-hant": "您好，\n\n這是一封測試郵件。詳情請見 https://www.example.tw/新聞?id=8&lang=zh 謝謝。\n"
               "下載：http://example.org/下載/列表\n",
    "ko": "안녕하세요,\n\n한국어 테스트 메일입니다. 자세한 내용은 https://www.example.kr/소식?id=5&lang=ko 를 보세요.\n"
          "자료: http://example.org/자료/목록\n",
    "mixed": "Grüße — ✓ 日本語 Ελληνικά Русский 한국어 😀\n"
             "Link: https://www.example.com/ünïcode?q=✓&id=1\n"
             "Mirror: http://example.org/mirror\n",
}


def text(key, nl=CRLF, charset="utf-8"):
    """The text `key` in `charset`, its lines ended by `nl`."""
    return TEXTS[key].replace("\n", nl.decode()).encode(charset)


def message(fields, body, nl=CRLF):
    """A message of header `fields` (each "Name: value", folds included) and
    `body`, every header line ended by `nl`."""
    head = b"".join(field.encode() + nl for field in fields)
    return head + nl + body


def part(fields, body, nl=CRLF):
    """A body part: its header fields, an empty line and its body."""
    return message(fields, body, nl)


def multipart(boundary, parts, nl=CRLF, preamble=b"", epilogue=b"", close=True):
    """The body of a multipart: `parts` between delimiter lines of
    `boundary`, closed unless `close` is false."""
    delimiter = b"--" + boundary.encode()
    out = preamble
    for each in parts:
        out += delimiter + nl + each + nl
    if close:
        out += delimiter + b"--" + nl + epilogue
    return out


def qp(data, nl=CRLF):
    """`data` quoted-printable, as Python's encoder writes it, lines ended by
    `nl`."""
    return quopri.encodestring(data.replace(CRLF, LF)).replace(LF, nl)


def b64(data, nl=CRLF):
    """`data` in base64, 76 characters a line, lines ended by `nl`."""
    return base64.encodebytes(data).replace(LF, nl)


BASE_FIELDS = ["From: Ana Lima <ana@example.com>", "To: Paulo Reis <paulo@example.org>",
               "Date: Thu, 14 Mar 2024 09:15:00 +0100"]


def head(subject, *fields):
    """The usual header fields with `subject` and `fields` after them."""
    return [*BASE_FIELDS, f"Subject: {subject}", "MIME-Version: 1.0", *fields]


def html_of(key, charset="utf-8"):
    """`key`'s text as a small HTML page whose links are anchors."""
    lines = TEXTS[key].strip("\n").split("\n")
    body = "<br>\n".join(lines)
    page = (f"<html><head><title>t</title></head><body><p>{body}</p>\n"
            f"<a href=\"https://www.example.com/html-only?src=anchor&amp;id=1\">anchor</a>"
            "</body></html>\n")
    return page.encode(charset)


PNG = bytes(range(256)) * 4  # stands for an image; only its base64 form matters


def structure_messages():
    """Which part is the text: alternatives, nesting, attachments first."""
    plain = part(["Content-Type: text/plain; charset=utf-8",
                  "Content-Transfer-Encoding: quoted-printable"], qp(text("mixed", LF)))
    html = part(["Content-Type: text/html; charset=utf-8",
                 "Content-Transfer-Encoding: quoted-printable"], qp(html_of("mixed")))
    image = part(["Content-Type: image/png; name=dot.png", "Content-ID: <dot@example.com>",
                  "Content-Transfer-Encoding: base64"], b64(PNG))
    pdf = part(["Content-Type: application/pdf; name=report.pdf",
                "Content-Disposition: attachment; filename=report.pdf",
                "Content-Transfer-Encoding: base64"], b64(b"%PDF-1.4 http://not.the.text/\n" * 40))
    yield "alternative-plain-html.eml", message(
        head("Alternative", 'Content-Type: multipart/alternative; boundary="alt-1"'),
        multipart("alt-1", [plain, html],
                  preamble=b"This is a multi-part message in MIME format.\r\n"))
    yield "alternative-html-before-plain.eml", message(
        head("HTML first", "Content-Type: multipart/alternative; boundary=alt-2"),
        multipart("alt-2", [html, plain]))
    related = part(['Content-Type: multipart/related; boundary="rel-3"; type="text/html"'],
                   multipart("rel-3", [html, image]))
    alternative = part(['Content-Type: multipart/alternative; boundary="alt-3"'],
                       multipart("alt-3", [plain, related]))
    yield "nested-mixed-alternative-related.eml", message(
        head("Nested", 'Content-Type: multipart/mixed; boundary="mix-3"'),
        multipart("mix-3", [alternative, pdf]))
    html_alternative = part(['Content-Type: multipart/alternative; boundary="alt-4"'],
                            multipart("alt-4", [related]))
    yield "nested-mixed-alternative-related-html-only.eml", message(
        head("Nested HTML", 'Content-Type: multipart/mixed; boundary="mix-4"'),
        multipart("mix-4", [html_alternative, pdf]))
    yield "attachment-before-text.eml", message(
        head("PDF first", "Content-Type: multipart/mixed; boundary=mix-5"),
        multipart("mix-5", [pdf, image, plain]))
    notes = part(["Content-Type: text/plain; charset=us-ascii; name=notes.txt",
                  "Content-Disposition: attachment; filename=notes.txt"],
                 b"Attached notes, not the text: http://attached.example.net/notes\r\n")
    yield "text-attachment-before-text.eml", message(
        head("Notes attached", "Content-Type: multipart/mixed; boundary=mix-6"),
        multipart("mix-6", [notes, plain]))
    yield "html-only.eml", message(
        head("HTML only", "Content-Type: text/html; charset=utf-8",
             "Content-Transfer-Encoding: quoted-printable"), qp(html_of("mixed")))
    yield "html-only-with-image.eml", message(
        head("HTML and image", "Content-Type: multipart/mixed; boundary=mix-7"),
        multipart("mix-7", [html, image]))
    footer = part(["Content-Type: text/plain; charset=us-ascii"],
                  b"-- \r\nSent from the footer: http://footer.example.com/\r\n")
    yield "mixed-html-then-plain-footer.eml", message(
        head("Footer", "Content-Type: multipart/mixed; boundary=mix-8"),
        multipart("mix-8", [part(['Content-Type: multipart/alternative; boundary="alt-8"'],
                                 multipart("alt-8", [html])), footer]))
    enriched = part(["Content-Type: text/enriched"],
                    b"<bold>Enriched</bold> http://enriched.example/\r\n")
    yield "alternative-enriched-html.eml", message(
        head("Enriched", "Content-Type: multipart/alternative; boundary=alt-9"),
        multipart("alt-9", [enriched, html]))
    yield "single-part-disposition-attachment.eml", message(
        head("Attachment only", "Content-Type: text/plain; charset=us-ascii",
             "Content-Disposition: attachment; filename=readme.txt"),
        text("en"))
    inner = message(["From: Old Sender <old@example.net>", "Subject: the forwarded one",
                     "Content-Type: text/plain; charset=iso-8859-1",
                     "Content-Transfer-Encoding: quoted-printable"],
                    qp(text("latin1", LF, "iso-8859-1")))
    forwarded = part(["Content-Type: message/rfc822", "Content-Disposition: inline"], inner)
    yield "message-rfc822-attached.eml", message(
        head("Fwd: the forwarded one", "Content-Type: multipart/mixed; boundary=mix-10"),
        multipart("mix-10", [forwarded, part(["Content-Type: text/plain"], text("en"))]))
    yield "message-rfc822-only.eml", message(
        head("Only a message", "Content-Type: multipart/mixed; boundary=mix-11"),
        multipart("mix-11", [forwarded]))
    digest_entry = part([], message(["Subject: entry one"],
                                    b"Digest entry http://digest.example/1\r\n"))
    yield "digest-parts-are-messages.eml", message(
        head("Digest", "Content-Type: multipart/digest; boundary=dig-12"),
        multipart("dig-12", [digest_entry]))
    first_html = part(["Content-Type: text/html; charset=us-ascii",
                       "Content-ID: <first@example.com>"],
                      b"<p>Not the root: http://first.example.com/</p>\r\n")
    root_html = part(["Content-Type: text/html; charset=us-ascii",
                      "Content-ID: <root@example.com>"],
                     b"<p>The root: http://root.example.com/</p>\r\n")
    yield "related-start-parameter.eml", message(
        head("Related with start", 'Content-Type: multipart/related; boundary="rel-13";',
             '\tstart="<root@example.com>"; type="text/html"'),
        multipart("rel-13", [first_html, root_html]))
    yield "related-without-start.eml", message(
        head("Related", 'Content-Type: multipart/related; boundary="rel-14"'),
        multipart("rel-14", [first_html, root_html]))
    yield "related-image-first.eml", message(
        head("Related, image first", 'Content-Type: multipart/related; boundary="rel-15"'),
        multipart("rel-15", [image, root_html]))


def quoted_printable_messages():
    """Soft breaks inside links, =3D, lower-case hex, trailing blanks, broken escapes."""
    for name, nl in (("crlf", CRLF), ("lf", LF)):
        body = (b"Please open https://www.example.com/accounts/confirm/2024/03/very/long/p=\n"
                b"ath/to/the/page?token=3Dab12cd34&user=3Dana&next=3D%2Fhome now=\n"
                b".\n"
                b"Or http://example.org/sh=\n"
                b"ort?x=3D1\n"
                b"Caf=C3=A9 cr=C3=A8me, d=C3=A9j=C3=A0 vu.\n").replace(LF, nl)
        yield f"qp-soft-break-in-link-{name}.eml", message(
            head(f"QP {name}", "Content-Type: text/plain; charset=utf-8",
                 "Content-Transfer-Encoding: quoted-printable"), body, nl)
    body = (b"Lower-case hex: caf=c3=a9 na=c3=afve =e2=9c=93 http://example.com/a?b=3dc&d=3Dx\r\n"
            b"Trailing blanks here   \r\n"
            b"Trailing tab and blank\t \r\n"
            b"Encoded trailing blank=20\r\n"
            b"Soft break after blanks   =\r\n"
            b"joined.\r\n")
    yield "qp-3d-lower-case-hex-trailing-blanks.eml", message(
        head("QP details", "Content-Type: text/plain; charset=utf-8",
             "Content-Transfer-Encoding: quoted-printable"), body)
    body = (b"Not hex: =ZZ and =4 and =\xe9 and = alone\r\n"
            b"Equals then blank = \r\n"
            b"Link http://example.com/q?x=3D1&y=3\r\n"
            b"Last line ends with =")
    yield "qp-broken-escapes.eml", message(
        head("QP broken", "Content-Type: text/plain; charset=utf-8",
             "Content-Transfer-Encoding: quoted-printable"), body)
    yield "qp-without-content-type.eml", message(
        [*BASE_FIELDS, "Subject: QP without type", "Content-Transfer-Encoding: quoted-printable"],
        b"Link: http://example.com/very/long/pa=\r\nth?a=3Db\r\n")


def base64_messages():
    """Base64 with and without line breaks, bad padding, stray characters."""
    data = text("mixed") + text("en")
    fields = ["Content-Type: text/plain; charset=utf-8", "Content-Transfer-Encoding: base64"]
    yield "base64-76-character-lines-crlf.eml", message(head("b64 lines", *fields), b64(data))
    yield "base64-76-character-lines-lf.eml", message(head("b64 lines", *fields), b64(data, LF), LF)
    yield "base64-one-line.eml", message(head("b64 one line", *fields),
                                         base64.b64encode(data) + CRLF)
    unpadded = base64.b64encode(TEXTS["en"].encode() + b"ab").rstrip(b"=")
    yield "base64-missing-padding.eml", message(head("b64 no padding", *fields), unpadded + CRLF)
    yield "base64-excess-padding.eml", message(
        head("b64 extra padding", *fields),
        base64.b64encode(TEXTS["en"].encode() + b"a") + b"==\r\n")
    encoded = b64(data)
    stray = encoded[:40] + b" !*\xe9" + encoded[40:120] + b"\t#" + encoded[120:]
    yield "base64-stray-characters.eml", message(head("b64 stray", *fields), stray)
    chunks = b"".join(base64.b64encode(chunk) + CRLF for chunk in
                      (b"http://example.com/first-chunk\r\n",
                       b"second chunk: http://example.org/2\r\n"))
    yield "base64-padding-inside.eml", message(head("b64 padded chunks", *fields), chunks)
    yield "base64-length-one-over.eml", message(
        head("b64 one over", *fields), base64.b64encode(TEXTS["en"].encode()[:60]) + b"Q\r\n")
    yield "base64-empty.eml", message(head("b64 empty", *fields), b"")


# (file name part, charset label, text, transfer encoding)
CHARSET_CASES = [
    ("utf-8", "utf-8", "mixed", "quoted-printable"),
    ("utf-8-8bit", "UTF-8", "mixed", "8bit"),
    ("iso-8859-1", "iso-8859-1", "latin1", "quoted-printable"),
    ("iso-8859-1-8bit", "ISO-8859-1", "latin1", "8bit"),
    ("iso-8859-2", "iso-8859-2", "latin2", "8bit"),
    ("iso-8859-5", "iso-8859-5", "cyrillic", "base64"),
    ("iso-8859-15", "iso-8859-15", "latin9", "quoted-printable"),
    ("windows-1250", "windows-1250", "cp1250", "8bit"),
    ("windows-1251", "windows-1251", "cp1251", "base64"),
    ("windows-1252", "windows-1252", "cp1252", "quoted-printable"),
    ("koi8-r", "koi8-r", "koi8r", "8bit"),
    ("shift_jis", "shift_jis", "ja", "base64"),
    ("shift_jis-8bit-half-width-kana", "Shift_JIS", "ja-kana", "8bit"),
    ("euc-jp", "euc-jp", "ja", "8bit"),
    ("iso-2022-jp", "iso-2022-jp", "ja", "7bit"),
    ("iso-2022-jp-half-width-kana", "ISO-2022-JP", "ja-kana", "7bit"),
    ("euc-jp-half-width-kana", "EUC-JP", "ja-kana", "quoted-printable"),
    ("gb2312", "gb2312", "zh-hans", "base64"),
    ("gb2312-8bit", "GB2312", "zh-hans", "8bit"),
    ("big5", "big5", "zh-hant", "quoted-printable"),
    ("euc-kr", "euc-kr", "ko", "base64"),
    ("ks_c_5601-1987", "ks_c_5601-1987", "ko", "8bit"),
    ("us-ascii-with-8bit-bytes", "us-ascii", "latin1", "8bit"),
]
# Python's codec for writing each text in its charset.
WRITERS = {"utf-8": "utf-8", "iso-8859-1": "latin-1", "iso-8859-2": "iso8859_2",
           "iso-8859-5": "iso8859_5", "iso-8859-15": "iso8859_15", "windows-1250": "cp1250",
           "windows-1251": "cp1251", "windows-1252": "cp1252", "koi8-r": "koi8_r",
           "shift_jis": "cp932", "euc-jp": "euc_jp", "iso-2022-jp": "iso2022_jp_ext",
           "gb2312": "gb2312", "big5": "cp950", "euc-kr": "cp949", "ks_c_5601-1987": "cp949",
           "us-ascii": "latin-1"}


def encoded_body(data, transfer_encoding, nl=CRLF):
    """`data` in `transfer_encoding` (8bit and 7bit as they are)."""
    if transfer_encoding == "base64":
        return b64(data, nl)
    if transfer_encoding == "quoted-printable":
        return qp(data, nl)
    return data


def charset_messages():
    """A message per charset, with characters of that charset and links."""
    for name, label, key, transfer_encoding in CHARSET_CASES:
        data = text(key, CRLF, WRITERS[label.lower()])
        yield f"charset-{name}.eml", message(
            head(f"Charset {label}", f"Content-Type: text/plain; charset={label}",
                 f"Content-Transfer-Encoding: {transfer_encoding}"),
            encoded_body(data, transfer_encoding))
    yield "charset-utf-8-with-bom.eml", message(
        head("UTF-8 BOM", "Content-Type: text/plain; charset=utf-8",
             "Content-Transfer-Encoding: base64"), b64(b"\xef\xbb\xbf" + text("mixed")))
    utf16 = text("mixed", CRLF, "utf-16-le")
    for name, label, data in (
            ("utf-16-bom-le", "utf-16", b"\xff\xfe" + utf16),
            ("utf-16-bom-be", "utf-16", b"\xfe\xff" + text("mixed", CRLF, "utf-16-be")),
            ("utf-16-no-bom", "utf-16", utf16),
            ("utf-16be-no-bom", "UTF-16BE", text("mixed", CRLF, "utf-16-be")),
            ("utf-16le-odd-length", "utf-16le", utf16 + b"A")):
        yield f"charset-{name}.eml", message(
            head(f"Charset {label}", f"Content-Type: text/plain; charset={label}",
                 "Content-Transfer-Encoding: base64"), b64(data))
    # UTF-8 bytes under labels that name no encoding: handed over as they stand.
    for name, label in (("unknown-label", "x-made-up-charset"),
                        ("replacement-label-iso-2022-kr", "iso-2022-kr"),
                        ("utf-7-label", "utf-7")):
        yield f"charset-{name}.eml", message(
            head(f"Charset {label}", f"Content-Type: text/plain; charset={label}",
                 "Content-Transfer-Encoding: 8bit"), text("mixed"))
    yield "charset-no-label-8bit.eml", message(
        head("No charset", "Content-Type: text/plain", "Content-Transfer-Encoding: 8bit"),
        text("mixed"))
    yield "charset-label-with-blanks.eml", message(
        head("Charset with blanks", 'Content-Type: text/plain; charset=" Windows-1251 "'),
        text("cp1251", CRLF, "cp1251"))
    yield "charset-windows-1252-undefined-bytes.eml", message(
        head("Undefined bytes", "Content-Type: text/plain; charset=windows-1252"),
        b"Bytes 81 8D 8F 90 9D: \x81\x8d\x8f\x90\x9d end http://example.com/x\r\n")
    yield "charset-utf-8-invalid-sequences.eml", message(
        head("Invalid UTF-8", "Content-Type: text/plain; charset=utf-8"),
        b"Bad: \xc3 \xe2\x9c \xf0\x9f\x98 \xff \xed\xa0\x80 \xc0\xaf ok \xc3\xa9"
        b" http://example.com/\r\n")


def boundary_messages():
    """Boundaries missing, inside a part's text, longer, trailing blanks."""
    plain = part(["Content-Type: text/plain; charset=utf-8"], text("mixed"))
    html = part(["Content-Type: text/html; charset=utf-8"], html_of("mixed"))
    yield "boundary-missing-close.eml", message(
        head("No close", "Content-Type: multipart/alternative; boundary=open-1"),
        multipart("open-1", [plain], close=False))
    yield "boundary-missing-close-attachment-last.eml", message(
        head("No close, attachment", "Content-Type: multipart/mixed; boundary=open-2"),
        multipart("open-2",
                  [plain, part(["Content-Type: application/octet-stream"], b"\x00\x01 data")],
                  close=False))
    inside = part(["Content-Type: text/plain; charset=us-ascii"],
                  b"The boundary --in-3 stands inside this line, and at its end --in-3\r\n"
                  b"and --in-3-- too; http://example.com/inside\r\n"
                  b" --in-3\r\n")
    yield "boundary-inside-a-line.eml", message(
        head("Boundary in a line", "Content-Type: multipart/mixed; boundary=in-3"),
        multipart("in-3", [inside, html]))
    longer = part(["Content-Type: text/plain; charset=us-ascii"],
                  b"A longer boundary follows:\r\n--long-4-and-more\r\n--long-4x\r\n--long-4--x\r\n"
                  b"still the text: http://example.com/longer\r\n")
    yield "boundary-longer-one-begins-with-it.eml", message(
        head("Longer boundary", "Content-Type: multipart/mixed; boundary=long-4"),
        multipart("long-4", [longer, html]))
    inner = part(['Content-Type: multipart/alternative; boundary="long-5"'],
                 multipart("long-5", [plain, html]))
    yield "boundary-nested-longer-inner.eml", message(
        head("Nested longer", 'Content-Type: multipart/mixed; boundary="long"'),
        multipart("long", [inner]))
    body = (b"--blank-6   \r\nContent-Type: text/plain\r\n\r\nText after a delimiter with blanks:"
            b" http://example.com/blanks\r\n--blank-6\t\r\nContent-Type: text/html\r\n\r\n"
            b"<p>h</p>\r\n"
            b"--blank-6-- \r\nepilogue http://epilogue.example/\r\n")
    yield "boundary-trailing-blanks.eml", message(
        head("Blanks", "Content-Type: multipart/alternative; boundary=blank-6"), body)
    outer_ends_inner = (b"--outer-7\r\n"
                        b"Content-Type: multipart/alternative; boundary=inner-7\r\n\r\n"
                        b"--inner-7\r\nContent-Type: text/plain\r\n\r\nInner text, never closed:"
                        b" http://example.com/inner\r\n--outer-7--\r\n")
    yield "boundary-outer-closes-inner.eml", message(
        head("Outer closes inner", "Content-Type: multipart/mixed; boundary=outer-7"),
        outer_ends_inner)
    yield "boundary-never-appears.eml", message(
        head("No delimiter", "Content-Type: multipart/alternative; boundary=gone-8"), text("en"))
    yield "multipart-without-boundary-parameter.eml", message(
        head("No boundary", "Content-Type: multipart/mixed"), text("en"))
    yield "boundary-empty-parts.eml", message(
        head("Empty parts", "Content-Type: multipart/alternative; boundary=e-9"),
        b"--e-9\r\n--e-9\r\nContent-Type: text/plain\r\n\r\n"
        b"after two delimiters http://example.com/e\r\n--e-9--\r\n")


def mundane_messages():
    """Ordinary headers and bodies: no MIME, folding, quoting, letter case, line ends."""
    yield "plain-no-content-type-crlf.eml", message(
        [*BASE_FIELDS, "Subject: plain"], text("en"))
    yield "plain-no-content-type-lf.eml", message(
        [*BASE_FIELDS, "Subject: plain"], text("en", LF), LF)
    yield "plain-no-content-type-8bit.eml", message(
        [*BASE_FIELDS, "Subject: plain 8 bit"], text("latin1", CRLF, "latin-1"))
    yield "plain-text-plain-us-ascii.eml", message(
        head("ascii", "Content-Type: text/plain; charset=us-ascii",
             "Content-Transfer-Encoding: 7bit"),
        text("en"))
    yield "plain-empty-body.eml", message(head("empty"), b"")
    yield "plain-headers-only.eml", b"From: a@example.com\r\nSubject: no body at all\r\n"
    yield "plain-line-without-colon-in-headers.eml", (
        b"From: a@example.com\r\nSubject: odd\r\nThis line has no colon\r\nX-After: yes\r\n\r\n"
        + text("en"))
    yield "headers-folded.eml", message(
        [*BASE_FIELDS, "Subject: a subject folded", "  over two lines", "MIME-Version: 1.0",
         "Content-Type: multipart/alternative;", '\tboundary="folded-1";', " charset=us-ascii"],
        multipart("folded-1", [part(["Content-Type: text/plain;", ' charset="iso-8859-2"',
                                     "Content-Transfer-Encoding: quoted-printable"],
                                    qp(text("latin2", LF, "iso8859_2")))]))
    yield "transfer-encoding-folded.eml", message(
        head("cte folded", "Content-Type: text/plain; charset=utf-8", "Content-Transfer-Encoding:",
             " quoted-printable"), qp(text("mixed", LF)))
    yield "parameters-quoted-and-unquoted.eml", message(
        head("params", 'Content-Type: multipart/mixed; boundary="q=1:(x)"'),
        multipart("q=1:(x)", [
            part(['Content-Type: text/plain; charset="koi8-r"; format=flowed',
                  "Content-Transfer-Encoding: base64"], b64(text("koi8r", CRLF, "koi8_r"))),
            part(["Content-Type: text/plain; charset=koi8-r; format=\"flowed\""],
                 text("koi8r", CRLF, "koi8_r"))]))
    yield "parameters-rfc2231-charset.eml", message(
        head("rfc2231", "Content-Type: text/plain; charset*=us-ascii'en'windows-1250"),
        text("cp1250", CRLF, "cp1250"))
    yield "upper-case-values.eml", message(
        head("UPPER", "CONTENT-TYPE: MULTIPART/ALTERNATIVE; BOUNDARY=UPPER-1"),
        multipart("UPPER-1", [part(["CONTENT-TYPE: TEXT/PLAIN; CHARSET=WINDOWS-1252",
                                    "CONTENT-TRANSFER-ENCODING: QUOTED-PRINTABLE"],
                                   qp(text("cp1252", LF, "cp1252")))]))
    yield "transfer-encoding-trailing-blank.eml", message(
        head("cte blank", "Content-Type: text/plain; charset=utf-8",
             "Content-Transfer-Encoding: base64 "), b64(text("mixed")))
    yield "transfer-encoding-with-comment.eml", message(
        head("cte comment", "Content-Type: text/plain; charset=utf-8",
             "Content-Transfer-Encoding: quoted-printable (soft breaks)"), qp(text("mixed", LF)))
    yield "transfer-encoding-x-uuencode.eml", message(
        head("uuencode", "Content-Type: text/plain", "Content-Transfer-Encoding: x-uuencode"),
        b"begin 644 text.txt\r\n" + b"".join(
            binascii.b2a_uu(TEXTS["en"].encode()[i:i + 45]).replace(LF, CRLF)
            for i in range(0, len(TEXTS["en"]), 45)) + b"`\r\nend\r\n")
    yield "transfer-encoding-unknown.eml", message(
        head("x-gzip", "Content-Type: text/plain", "Content-Transfer-Encoding: x-gzip64"),
        b"H4sIAAAAAAAAA http://example.com/not-decoded\r\n")
    cr_body = multipart("cr-1", [part(["Content-Type: text/plain; charset=utf-8",
                                       "Content-Transfer-Encoding: quoted-printable"],
                                      qp(text("mixed", LF), CR), CR)], CR)
    yield "cr-line-ends.eml", message(
        head("CR only", "Content-Type: multipart/alternative; boundary=cr-1"), cr_body, CR)
    yield "cr-line-ends-plain.eml", message([*BASE_FIELDS, "Subject: CR plain"], text("en", CR), CR)


def long_text(size):
    """At least `size` bytes of numbered lines, each with a link and an
    accented letter."""
    lines = []
    total = 0
    while total < size:
        number = len(lines)
        each = (b"Line %08d of a long text: "
                b"https://www.example.com/archive/%08d?page=%d&q=caf\xc3\xa9\r\n"
                % (number, number, number % 97))
        lines.append(each)
        total += len(each)
    return b"".join(lines)


LARGE = 64 << 20


def large_messages():
    """Parts of 64 MiB: a base64 text, a quoted-printable text, and a text
    before a base64 attachment."""
    base64_text = b64(long_text(LARGE * 3 // 4))
    qp_text = qp(long_text(LARGE))
    assert len(base64_text) >= LARGE and len(qp_text) >= LARGE
    yield "large-64mib-base64-text.eml", message(
        head("64 MiB base64", "Content-Type: text/plain; charset=utf-8",
             "Content-Transfer-Encoding: base64"), base64_text)
    yield "large-64mib-quoted-printable-text.eml", message(
        head("64 MiB QP", "Content-Type: text/plain; charset=utf-8",
             "Content-Transfer-Encoding: quoted-printable"), qp_text)
    attachment = part(["Content-Type: application/octet-stream; name=big.bin",
                       "Content-Disposition: attachment; filename=big.bin",
                       "Content-Transfer-Encoding: base64"], base64_text)
    yield "large-text-before-64mib-attachment.eml", message(
        head("Text, then 64 MiB", "Content-Type: multipart/mixed; boundary=big-1"),
        multipart("big-1", [part(["Content-Type: text/plain; charset=utf-8"], text("mixed")),
                            attachment]))


def messages(large=False):
    """Every message of the corpus as (file name, bytes), in name order."""
    groups = [structure_messages, quoted_printable_messages, base64_messages, charset_messages,
              boundary_messages, mundane_messages]
    if large:
        groups.append(large_messages)
    found = {}
    for group in groups:
        for name, data in group():
            assert name not in found, name
            assert not data.startswith(b"From "), name  # would be read as an mbox file
            found[name] = data
    return sorted(found.items())


def write(folder, large=False):
    """Writes the corpus into `folder` (made if missing); answers the names."""
    os.makedirs(folder, exist_ok=True)
    names = []
    for name, data in messages(large):
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
        names.append(name)
    return names


def main(arguments):
    large = "--large" in arguments
    rest = [a for a in arguments if a != "--large"]
    if len(rest) != 1:
        sys.exit(__doc__)
    names = write(rest[0], large)
    print(f"{len(names)} messages in {rest[0]}")


if __name__ == "__main__":
    main(sys.argv[1:])
