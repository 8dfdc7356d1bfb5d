#!/usr/bin/env python3
"""A real SMTP server on 127.0.0.1 for the composer's tests.

Usage: smtp_sink.py OUT_DIR
Prints the port it listens on, then writes every message it receives to
OUT_DIR/msg-N.eml (the DATA as received) until its standard input closes.
"""
import os
import socket
import sys

from aiosmtpd.controller import Controller


class Sink:
    def __init__(self, out):
        self.out = out
        self.count = 0

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        path = os.path.join(self.out, "msg-%d.eml" % self.count)
        with open(path + ".part", "wb") as f:
            f.write(envelope.original_content or envelope.content)
        with open(path + ".rcpt", "w") as f:
            f.write("\n".join([envelope.mail_from] + list(envelope.rcpt_tos)))
        os.rename(path + ".part", path)
        return "250 OK"


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def main():
    out = sys.argv[1]
    port = free_port()
    controller = Controller(Sink(out), hostname="127.0.0.1", port=port)
    controller.start()
    print(port, flush=True)
    sys.stdin.read()
    controller.stop()


if __name__ == "__main__":
    main()
