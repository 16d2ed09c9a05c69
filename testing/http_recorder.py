#!/usr/bin/env python3
"""A local HTTP server for tests: records each POST (path, headers, body) to
a file and answers with a fixed body; or, with --hang, accepts connections
and never answers. Writes the port it listens on to PORT_FILE.

With --port N it listens on that port instead of a free one. With --fail
TEXT it answers 500 with TEXT; with --huge TEXT it answers 200 with TEXT and
then 64 MiB more.

usage: http_recorder.py PORT_FILE RECORD_FILE [--hang] [--answer TEXT] [--fail TEXT] [--huge TEXT] [--port N]"""
import http.server
import socket
import sys
import time


def main():
    port_file, record_file = sys.argv[1], sys.argv[2]
    fixed = int(sys.argv[sys.argv.index("--port") + 1]) if "--port" in sys.argv else 0
    answer = b"registered"
    for mode in ("--answer", "--fail", "--huge"):
        if mode in sys.argv:
            answer = sys.argv[sys.argv.index(mode) + 1].encode()
    status = 500 if "--fail" in sys.argv else 200
    more = (64 << 20) if "--huge" in sys.argv else 0
    if "--hang" in sys.argv:
        s = socket.socket()
        s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        s.bind(("127.0.0.1", fixed))
        s.listen(8)
        open(port_file, "w").write(str(s.getsockname()[1]))
        held = []
        end = time.time() + 60
        s.settimeout(1)
        while time.time() < end:
            try:
                held.append(s.accept()[0])
            except socket.timeout:
                pass
        return

    class Handler(http.server.BaseHTTPRequestHandler):
        def do_POST(self):
            length = int(self.headers.get("Content-Length", "0"))
            body = self.rfile.read(length)
            with open(record_file, "ab") as f:
                f.write(b"PATH " + self.path.encode() + b"\n")
                for k, v in self.headers.items():
                    f.write(b"HEADER " + k.encode() + b": " + v.encode() + b"\n")
                f.write(b"BODY " + body + b"\n")
            self.send_response(status)
            self.send_header("Content-Length", str(len(answer) + more))
            self.end_headers()
            self.wfile.write(answer)
            chunk = b"x" * 65536
            try:
                for _ in range(more // len(chunk)):
                    self.wfile.write(chunk)
            except OSError:
                pass  # the client stopped reading

        def log_message(self, *args):
            pass

    http.server.HTTPServer.allow_reuse_address = True
    server = http.server.HTTPServer(("127.0.0.1", fixed), Handler)
    server.timeout = 0.5
    open(port_file, "w").write(str(server.server_address[1]))
    end = time.time() + 60
    while time.time() < end:
        server.handle_request()


if __name__ == "__main__":
    main()
