#!/usr/bin/env python3
"""Makes a mail store for the store benchmark: a Maildir and an mbox of the same messages.

    bench/make_store.py COUNT DIR

Writes DIR/Maildir (cur, new, tmp) and DIR/store.mbox, the same bytes for the same COUNT every
time (one fixed seed). The messages look like the mail of a working inbox: most are a few KB,
with several folded Received: fields, a long folded DKIM-Signature on most, encoded subjects,
replies that quote, links in many bodies, a share of them in CR LF, HTML alternatives, and some
with base64 attachments, which run from a few KB to a few MB. X-Mailer is on about half of the
messages. Prints what it made, with the counts a search of the store should find in it.
"""

import base64
import os
import random
import sys
import time

SEED = 20240314
FIRST_DATE = 1_672_560_000  # 1 January 2023, 08:00 UTC
DAYS = ("Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun")
MONTHS = ("Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec")

PEOPLE = [
    ("Marta Kovac", "marta.kovac", "example.org"),
    ("Jonas Lindqvist", "jonas", "lists.example.net"),
    ("Paulo Ferreira", "p.ferreira", "example.com"),
    ("Aiko Tanabe", "aiko.tanabe", "mail.example.jp"),
    ("Fran\u00e7ois Dubreuil", "fdubreuil", "example.fr"),
    ("G\u00fcl Demir", "gul.demir", "example.com.tr"),
    ("Ana Rosales", "arosales", "corp.example.com"),
    ("Tomasz Wr\u00f3bel", "t.wrobel", "example.pl"),
    ("Ingrid Haugen", "ingrid", "example.no"),
    ("Samuel Okafor", "sokafor", "example.ng"),
    ("Li Wei", "li.wei", "example.cn"),
    ("Ren\u00e9e Marchetti", "renee.m", "example.it"),
]
MAILERS = [
    "Wrenfield Mail 3.8.2",
    "Wrenfield Mail 4.0.1 (build 2211)",
    "Coldharbour Mailer 2.1",
    "Pinecrest Webmail 1.6.4",
    "Ostrava Express 6.00.2900.5512",
    "Larkspur 11.2 (Windows NT 10.0; x64)",
    "Halden Mail Agent 0.9.7",
    "Brightwater 2023.10.3 [en]",
    "Mossgiel MailKit 5.3",
    "Quillon Bulk Sender 6.8.0 (+https://mailer.example.org)",
]
USER_AGENTS = ["Juniper Mail 115.3.1", "Thornbury/2.4 (Linux)", "Saltmarsh Webmail 1.4"]
SUBJECTS = [
    "Quarterly figures for the Lisbon office",
    "Agenda for Thursday",
    "Minutes of the board meeting",
    "Your order 48213 has shipped",
    "Invoice March 2024",
    "Travel plans for the conference",
    "Draft of the annual review",
    "New build of the installer",
    "Lunch on Friday?",
    "Room booking: Aula 3, 10:00",
    "Caf\u00e9 menu for the workshop",
    "R\u00e9sum\u00e9 and references",
    "\u00dcbersicht der Termine",
    "Budget questions before the deadline",
]
SENTENCES = [
    "Thanks for sending the figures so quickly.",
    "The numbers for the Lisbon office look right to me now, but Paulo should check them.",
    "I have put the revised draft on the shared drive, next to the old one.",
    "Could you confirm the room booking for Thursday morning?",
    "We still need the signed contract before the end of the month.",
    "The caf\u00e9 on the ground floor will cater for the workshop as last year.",
    "Please send your travel dates by Friday so that the hotel can be booked.",
    "The installer now asks for the licence key only once.",
    "Nothing in this note needs an answer before the meeting.",
    "Let me know if anything in the agenda should move.",
    "The r\u00e9sum\u00e9s of the three candidates are attached to the previous mail.",
    "I am out of the office on Monday and back on Tuesday.",
    "As discussed, the budget for the second half stays as it is.",
]
LINK_SENTENCES = [
    "The full report is at http://intranet.example.com/reports/{n}/q1.pdf for everyone.",
    "Slides: http://www.example.org/talks/{n}/slides.html",
    "See <http://wiki.example.net/Projects/Lintel_{n}> for the background.",
    "The tracker entry is http://bugs.example.com/show_bug.cgi?id={n} if you want to follow it.",
    "Directions to the venue: http://maps.example.org/place/{n}, the entrance is on the left.",
    "The agenda is at ftp://ftp.example.org/pub/agenda-{n}.txt as before.",
    "Old builds are kept on ftp://mirror.example.net/pub/builds/{n}/.",
    "Photos of the day: https://photos.example.com/album/{n} (the secure site).",
    "HTTP://WWW.EXAMPLE.NET/Index.html?page={n} still has the old version.",
]
ATTACHMENTS = [
    ("application/pdf", "report-{n}.pdf"),
    ("image/jpeg", "IMG_{n}.jpg"),
    ("application/zip", "logs-{n}.zip"),
    ("application/vnd.openxmlformats-officedocument.spreadsheetml.sheet", "figures-{n}.xlsx"),
]


def rfc2822_date(seconds, offset_minutes):
    """A Date: value such as "Thu, 14 Mar 2024 09:14:52 +0100"."""
    t = time.gmtime(seconds + offset_minutes * 60)
    sign = "+" if offset_minutes >= 0 else "-"
    hours, minutes = divmod(abs(offset_minutes), 60)
    return (f"{DAYS[t.tm_wday]}, {t.tm_mday} {MONTHS[t.tm_mon - 1]} {t.tm_year} "
            f"{t.tm_hour:02}:{t.tm_min:02}:{t.tm_sec:02} {sign}{hours:02}{minutes:02}")


def mbox_date(seconds):
    """The date of an mbox "From " line, such as "Thu Mar 14 08:26:15 2024"."""
    t = time.gmtime(seconds)
    return (f"{DAYS[t.tm_wday]} {MONTHS[t.tm_mon - 1]} {t.tm_mday:2} "
            f"{t.tm_hour:02}:{t.tm_min:02}:{t.tm_sec:02} {t.tm_year}")


def address(person):
    name, local, domain = person
    return f"{encoded_word(name)} <{local}@{domain}>"


def encoded_word(text):
    """An RFC 2047 word when the text is not ASCII, as most senders write such names."""
    if text.isascii():
        return text
    return "=?UTF-8?B?" + base64.b64encode(text.encode()).decode() + "?="


def fold(name, items, separator):
    """A field whose items go on continuation lines once a line would pass 76 characters."""
    lines, line = [], f"{name}:"
    for n, item in enumerate(items):
        piece = item + (separator if n + 1 < len(items) else "")
        if len(line) + 1 + len(piece) > 76 and line != f"{name}:":
            lines.append(line)
            line = "\t" + piece
        else:
            line += " " + piece
    lines.append(line)
    return lines


def wrap(words, width=72):
    lines, line = [], ""
    for word in words:
        if line and len(line) + 1 + len(word) > width:
            lines.append(line)
            line = word
        else:
            line = f"{line} {word}" if line else word
    if line:
        lines.append(line)
    return lines


class Store:
    """Draws messages one after the other from one seeded generator."""

    def __init__(self):
        self.rng = random.Random(SEED)
        self.clock = FIRST_DATE

    def received(self, when):
        rng = self.rng
        lines = []
        for hop in range(rng.randint(2, 6)):
            ip = ".".join(str(n) for n in (rng.choice((192, 198, 203)), rng.randint(0, 255),
                                           rng.randint(0, 255), rng.randint(1, 254)))
            host = (f"{rng.choice(('mx', 'relay', 'smtp', 'out'))}{rng.randint(1, 40)}"
                    f".example.{rng.choice(('org', 'net', 'com'))}")
            stamp = rfc2822_date(when - hop * rng.randint(1, 90), 0)
            lines += [f"Received: from {host} ({host} [{ip}])",
                      f"\tby mx{hop + 1}.inbound.example.net with ESMTPS id"
                      f" {rng.getrandbits(40):010X}",
                      f"\tfor <me@example.net>; {stamp}"]
        return lines

    def dkim(self, domain, when):
        rng = self.rng
        signature = base64.b64encode(rng.randbytes(256)).decode()
        body_hash = base64.b64encode(rng.randbytes(32)).decode()
        lines = [f"DKIM-Signature: v=1; a=rsa-sha256; c=relaxed/relaxed; d={domain};",
                 f"\ts=sel{rng.randint(2019, 2024)}; t={when}; bh={body_hash};",
                 "\th=From:To:Cc:Subject:Date:Message-ID:MIME-Version:Content-Type;"]
        lines += ["\t" + ("b=" if i == 0 else "") + signature[i:i + 70]
                  for i in range(0, len(signature), 70)]
        return lines

    def text(self, number, quoted_from):
        """Plain text: a greeting, paragraphs, sometimes a quoted earlier mail, a signature."""
        rng = self.rng
        lines = [rng.choice(("Hi all,", "Hello,", "Dear colleagues,", "Hi Jonas,", "Marta,")), ""]
        for _ in range(max(1, int(rng.lognormvariate(0.8, 0.7)))):
            # A few paragraphs begin with "From ", which an mbox must quote.
            words = "From the notes of the meeting:".split() if rng.random() < 0.03 else []
            for _ in range(rng.randint(2, 7)):
                if rng.random() < 0.12:
                    words += rng.choice(LINK_SENTENCES).format(n=number * 7 % 9973).split()
                else:
                    words += rng.choice(SENTENCES).split()
            lines += wrap(words) + [""]
        if quoted_from:
            name, local, domain = quoted_from
            day_before = rfc2822_date(self.clock - 86400, 60)
            lines.append(f"On {day_before}, {name} <{local}@{domain}> wrote:")
            for _ in range(rng.randint(1, 4)):
                depth = rng.choice((">", ">", "> >", ">>"))
                words = rng.choice(SENTENCES).split() * 2
                lines += [depth + " " + line for line in wrap(words, 68)]
                lines.append(">")
            lines.append("")
        lines += ["-- ", rng.choice(PEOPLE)[0], "Example Ltd., 4 Harbour Row, Lisbon"]
        return lines

    def message(self, number):
        rng = self.rng
        self.clock += rng.randint(30, 1800)
        when = self.clock
        sender = rng.choice(PEOPLE)
        recipients = rng.sample(PEOPLE, rng.randint(1, 4))
        reply = rng.random() < 0.45
        charset = rng.choice(("utf-8", "utf-8", "UTF-8", "iso-8859-1", "windows-1252", "us-ascii"))
        domain = sender[2]
        message_id = f"<{when}.{rng.getrandbits(48):012x}@{domain}>"

        head = ["Return-Path: <" + sender[1] + "@" + domain + ">",
                "Delivered-To: me@example.net"]
        head += self.received(when)
        if rng.random() < 0.3:
            head.append(f"Authentication-Results: mx1.inbound.example.net;"
                        f" dkim=pass header.d={domain}; spf=pass smtp.mailfrom={domain}")
        if rng.random() < 0.7:
            head += self.dkim(domain, when)
        subject = rng.choice(SUBJECTS)
        head += [f"Date: {rfc2822_date(when, rng.choice((0, 60, 120, -300, 330, 540)))}",
                 f"From: {address(sender)}"]
        head += fold("To", [address(p) for p in recipients[:2]], ",")
        if len(recipients) > 2:
            head += fold("Cc", [address(p) for p in recipients[2:]], ",")
        head.append("Subject: " + ("Re: " if reply else "") + encoded_word(subject))
        head.append(f"Message-ID: {message_id}")
        if reply:
            references = [f"<{when - n * 3600}.{rng.getrandbits(32):08x}@{rng.choice(PEOPLE)[2]}>"
                          for n in range(1, rng.randint(2, 6))]
            head.append(f"In-Reply-To: {references[-1]}")
            head += fold("References", references, "")
        mailer_roll = rng.random()
        if mailer_roll < 0.55:
            head.append("X-Mailer: " + rng.choice(MAILERS))
        elif mailer_roll < 0.75:
            head.append("User-Agent: " + rng.choice(USER_AGENTS))
        if rng.random() < 0.2:
            head += [f"List-Id: Team announcements <team.{domain}>",
                     f"List-Unsubscribe: <mailto:leave-team@{domain}>, <https://{domain}/leave>"]
        head.append("MIME-Version: 1.0")

        body_lines = self.text(number, rng.choice(PEOPLE) if reply else None)
        text_type = f'text/plain; charset="{charset}"'
        if rng.random() < 0.2:
            text_type += "; format=flowed"
        encoding = "7bit" if charset == "us-ascii" else "8bit"
        if charset == "us-ascii":
            body_lines = [line.encode("ascii", "replace").decode() for line in body_lines]

        attachment = rng.random() < 0.07
        html = rng.random() < 0.2
        if not attachment and not html:
            head += [f"Content-Type: {text_type}", f"Content-Transfer-Encoding: {encoding}"]
            body = body_lines
        else:
            boundary = f"----=_Part_{rng.getrandbits(32)}_{number}"
            kind = "mixed" if attachment else "alternative"
            head += [f"Content-Type: multipart/{kind};", f'\tboundary="{boundary}"']
            body = ["This is a multi-part message in MIME format.", "", "--" + boundary,
                    f"Content-Type: {text_type}", f"Content-Transfer-Encoding: {encoding}", ""]
            body += body_lines
            if html:
                body += ["--" + boundary, f'Content-Type: text/html; charset="{charset}"',
                         f"Content-Transfer-Encoding: {encoding}", "", "<html><body>"]
                body += [f"<p>{line}</p>" for line in body_lines
                         if line and not line.startswith(">")]
                body.append(f'<p><a href="http://www.example.com/news/{number}">Read online</a>'
                            "</p>")
                body.append("</body></html>")
            if attachment:
                # Most attachments are tens of KB; a few run to several MB.
                size = min(int(rng.lognormvariate(9.8, 1.5)), 4_000_000)
                content_type, name = rng.choice(ATTACHMENTS)
                name = name.format(n=number)
                body += ["--" + boundary, f'Content-Type: {content_type}; name="{name}"',
                         "Content-Transfer-Encoding: base64",
                         f'Content-Disposition: attachment; filename="{name}"', ""]
                body.append(base64.encodebytes(rng.randbytes(size)).decode().rstrip("\n"))
            body += ["--" + boundary + "--", ""]

        text = "\n".join(head + [""] + body) + "\n"
        crlf = rng.random() < 0.15
        if crlf:
            text = text.replace("\n", "\r\n")
        codec = {"iso-8859-1": "latin-1", "windows-1252": "cp1252"}.get(charset.lower(), "utf-8")
        data = text.encode(codec, "replace")
        # No link in these messages holds another, and none stands in a header block, so both
        # a macro over the body and a line search over the file find each one once.
        lowered = text.lower()
        links = lowered.count("http://") + lowered.count("ftp://")
        return {"data": data, "when": when, "sender": f"{sender[1]}@{domain}",
                "mailer": mailer_roll < 0.55, "links": links, "new": rng.random() < 0.08,
                "flags": rng.choice(("S", "S", "RS", "FS", "")), "crlf": crlf}


def mbox_entry(message):
    """The message as an mbox holds it: a "From " line first, body lines that begin with
    "From " quoted as ">From ", and the empty line that ends it."""
    data = message["data"]
    newline = b"\r\n" if message["crlf"] else b"\n"
    head_end = data.find(newline + newline)
    head, body = data[:head_end], data[head_end:]
    body = body.replace(newline + b"From ", newline + b">From ")
    return b"From " + message["sender"].encode() + b" " + mbox_date(message["when"]).encode() + \
        b"\n" + head + body + newline


def main():
    count, folder = int(sys.argv[1]), sys.argv[2]
    maildir = os.path.join(folder, "Maildir")
    for sub in ("cur", "new", "tmp"):
        os.makedirs(os.path.join(maildir, sub), exist_ok=True)
    store = Store()
    total = largest = mailers = links = crlf = quoted = 0
    with open(os.path.join(folder, "store.mbox"), "wb") as mbox:
        for number in range(count):
            message = store.message(number)
            data = message["data"]
            name = (f"{message['when']}.M{number * 7919 % 1000000}P{4000 + number % 3000}"
                    f".mailhost,S={len(data)}")
            if message["new"]:
                path = os.path.join(maildir, "new", name)
            else:
                path = os.path.join(maildir, "cur", name + ":2," + message["flags"])
            with open(path, "wb") as f:
                f.write(data)
            entry = mbox_entry(message)
            quoted += entry.count(b">From ")
            mbox.write(entry)
            total += len(data)
            largest = max(largest, len(data))
            mailers += message["mailer"]
            links += message["links"]
            crlf += message["crlf"]
    print(f"{count} messages, {total / 1e6:.0f} MB (mean {total / count / 1e3:.1f} KB,"
          f" largest {largest / 1e6:.1f} MB); X-Mailer in {mailers}, {links} http/ftp links,"
          f" {crlf} in CR LF, {quoted} body lines quoted as >From in the mbox")


if __name__ == "__main__":
    main()
