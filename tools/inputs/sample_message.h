// The message that `lintrel` works on when no message is given: a reply as
// it arrives at its recipient, with folded "Received:" fields (folded with
// tabs and with blanks), a "Date:", a content type with a character set, an
// "X-Mailer:", links and a quoted text that nests quotes three levels deep
// (">", ">>", ">>>"). Lines end in CR LF.
#ifndef LINTREL_TOOLS_INPUTS_SAMPLE_MESSAGE_H_
#define LINTREL_TOOLS_INPUTS_SAMPLE_MESSAGE_H_

#include <string_view>

namespace lintrel::cli {

inline constexpr std::string_view kSampleMessage =
    "Return-Path: <marta.kovac@example.org>\r\n"
    "Delivered-To: jonas.berg@example.com\r\n"
    "Received: from mx2.example.net (mx2.example.net [198.51.100.25])\r\n"
    "\tby mail.example.com with ESMTPS id 4TwQ2k3Zp1z9sWn\r\n"
    "\tfor <jonas.berg@example.com>; Thu, 14 Mar 2024 08:26:15 +0000 (UTC)\r\n"
    "Received: from relay.example.org (relay.example.org [203.0.113.7])\r\n"
    "\tby mx2.example.net with ESMTP id 2f1c9e0a7b\r\n"
    "\tfor <jonas.berg@example.com>; Thu, 14 Mar 2024 09:15:41 +0100 (CET)\r\n"
    "Received: from [192.0.2.44] (dsl-44.pool.example.org [192.0.2.44])\r\n"
    "        by relay.example.org with ESMTPSA id q7sm1234567abc\r\n"
    "        for <jonas.berg@example.com>; Thu, 14 Mar 2024 08:15:00 +0000\r\n"
    "Message-ID: <5f2a9c1e-7b3d-4e8a-9c61-2d4f0b8e7a13@example.org>\r\n"
    "Date: Thu, 14 Mar 2024 09:14:52 +0100\r\n"
    "From: Marta Kovac <marta.kovac@example.org>\r\n"
    "To: Jonas Berg <jonas.berg@example.com>\r\n"
    "Subject: Re: Quarterly figures for the Lisbon office\r\n"
    "In-Reply-To: <a81c77d2-0e55-4b1f-8d3a-6c9e2f1b4d07@example.com>\r\n"
    "MIME-Version: 1.0\r\n"
    "Content-Type: text/plain; charset=UTF-8; format=flowed\r\n"
    "Content-Transfer-Encoding: 7bit\r\n"
    "X-Mailer: Wrenfield Mail 3.8.2\r\n"
    "\r\n"
    "Hi Jonas,\r\n"
    "\r\n"
    "thanks, the figures look right to me now. The full report is at\r\n"
    "http://intranet.example.com/reports/2024-q1.pdf and the raw data is on\r\n"
    "ftp://ftp.example.org/pub/figures/q1-raw.csv for anyone who wants to\r\n"
    "check the totals.\r\n"
    "\r\n"
    "I will bring printed copies to the review.\r\n"
    "\r\n"
    "Marta\r\n"
    "\r\n"
    "On Wed, 13 Mar 2024 at 17:40, Jonas Berg wrote:\r\n"
    "> Could you check the Lisbon numbers before Friday? Paulo sent his\r\n"
    "> corrections this morning.\r\n"
    ">\r\n"
    "> Kind regards,\r\n"
    "> Jonas\r\n"
    ">\r\n"
    ">> Reminder: the quarterly review is on Friday at 10:00 in room 3.\r\n"
    ">> The agenda is at http://www.example.net/review/agenda?week=11 and\r\n"
    ">> everyone should bring the figures for their office.\r\n"
    ">>> Lisbon figures are still missing from the draft.\r\n"
    "\r\n"
    "-- \r\n"
    "Marta Kovac\r\n"
    "Regional accounts, Lisbon office\r\n";

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_INPUTS_SAMPLE_MESSAGE_H_
