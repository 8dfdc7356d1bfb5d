#!/usr/bin/env python3
"""Parses an RFC 5322 file with Python's email module and prints, one per
line: the content type, the subject, the body text's first line, the
attachment's file name, its content type and its bytes as hex."""
import email
import email.policy
import sys

with open(sys.argv[1], "rb") as f:
    msg = email.message_from_binary_file(f, policy=email.policy.default)
body = msg.get_body(preferencelist=("plain",))
atts = list(msg.iter_attachments())
print(msg.get_content_type())
print(msg["subject"])
print(body.get_content().splitlines()[0] if body else "")
print(atts[0].get_filename() if atts else "")
print(atts[0].get_content_type() if atts else "")
print(atts[0].get_payload(decode=True).hex() if atts else "")
