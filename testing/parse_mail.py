#!/usr/bin/env python3
"""Reads a message as the local SMTP server saved it with Python's standard
e-mail parser and prints what the tests check, as one JSON object.

usage: parse_mail.py MESSAGE_FILE"""
import email
import email.policy
import email.utils
import json
import sys


def main():
    raw = open(sys.argv[1], "rb").read()
    message = email.message_from_bytes(raw, policy=email.policy.default)
    date = message["Date"]
    parsed = email.utils.parsedate_to_datetime(str(date)) if date else None
    text = message.get_body(preferencelist=("plain",))
    text_raw = text.as_bytes() if text is not None else b""
    body_raw = text_raw.split(b"\r\n\r\n", 1)[1] if b"\r\n\r\n" in text_raw else text_raw.split(b"\n\n", 1)[-1]
    out = {
        "defects": [type(d).__name__ for part in message.walk() for d in part.defects],
        "date": str(date) if date else "",
        "date_offset_minutes": int(parsed.utcoffset().total_seconds() // 60) if parsed and parsed.utcoffset() is not None else -99999,
        "date_epoch": parsed.timestamp() if parsed else 0,
        "message_id": str(message["Message-ID"] or ""),
        "subject": str(message["Subject"] or ""),
        "raw_subject_ascii": all(b < 128 for b in raw.split(b"\r\n\r\n", 1)[0]),
        "text": text.get_content().replace("\r\n", "\n") if text is not None else "",
        "text_encoded_line_feeds": b"=0A" in body_raw or b"=0D" in body_raw,
        "lines_end_crlf": all(line.endswith(b"\r") for line in raw.split(b"\n")[:-1]),
        "attachments": [part.get_filename() for part in message.iter_attachments()],
    }
    print(json.dumps(out))


if __name__ == "__main__":
    main()
