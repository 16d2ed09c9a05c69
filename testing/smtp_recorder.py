#!/usr/bin/env python3
"""A local SMTP server for tests (aiosmtpd): each message is saved as
OUT/message-N.eml, and its attachments, decoded, as OUT/message-N-FILENAME.
Writes the port to PORT_FILE; runs for at most 60 s. With --port N it
listens on that port instead of a free one.

usage: smtp_recorder.py PORT_FILE OUT [--port N]"""
import email
import os
import socket
import sys
import time

from aiosmtpd.controller import Controller


class Recorder:
    def __init__(self, out):
        self.out, self.count = out, 0

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        base = os.path.join(self.out, "message-%d" % self.count)
        with open(base + ".eml", "wb") as f:
            f.write(envelope.content)
        message = email.message_from_bytes(envelope.content)
        for part in message.walk():
            name = part.get_filename()
            if name:
                with open(base + "-" + name, "wb") as f:
                    f.write(part.get_payload(decode=True))
        with open(base + ".rcpt", "w") as f:
            f.write(" ".join(envelope.rcpt_tos))
        return "250 OK"


def main():
    port_file, out = sys.argv[1], sys.argv[2]
    if "--port" in sys.argv:
        port = int(sys.argv[sys.argv.index("--port") + 1])
    else:
        s = socket.socket()
        s.bind(("127.0.0.1", 0))
        port = s.getsockname()[1]
        s.close()
    controller = Controller(Recorder(out), hostname="127.0.0.1", port=port)
    controller.start()
    open(port_file, "w").write(str(port))
    time.sleep(60)
    controller.stop()


if __name__ == "__main__":
    main()
