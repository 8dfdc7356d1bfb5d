#!/usr/bin/env python3
"""A real SMTP server on 127.0.0.1 for the composer's tests.

Usage: smtp_sink.py OUT_DIR [USER:PASSWORD]
With USER:PASSWORD it asks for that login (AUTH over plain text, as a local
test may) and refuses any other. Prints the port it listens on, then writes every message it receives to
OUT_DIR/msg-N.eml (the DATA as received) until its standard input closes.
"""
import os
import socket
import sys

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult


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


class Login:
    def __init__(self, user, password):
        self.user = user.encode()
        self.password = password.encode()

    def __call__(self, server, session, envelope, mechanism, auth_data):
        ok = getattr(auth_data, "login", None) == self.user and auth_data.password == self.password
        # handled=False: the server answers a refusal with its own 535 line.
        return AuthResult(success=ok, handled=False)


def main():
    out = sys.argv[1]
    port = free_port()
    options = {}
    if len(sys.argv) > 2:
        user, password = sys.argv[2].split(":", 1)
        options = dict(authenticator=Login(user, password), auth_required=True, auth_require_tls=False,
                       auth_exclude_mechanism=["LOGIN"])
    controller = Controller(Sink(out), hostname="127.0.0.1", port=port, **options)
    controller.start()
    print(port, flush=True)
    sys.stdin.read()
    controller.stop()


if __name__ == "__main__":
    main()
