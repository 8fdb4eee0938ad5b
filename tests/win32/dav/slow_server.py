#!/usr/bin/env python3
"""A server on 127.0.0.1 whose 207 comes in pieces 0.4 s apart: slow, yet never quiet for long.
Prints "bereit PORT" once listening."""

import socketserver
import time

PIECES = [b'<?xml version="1.0" encoding="utf-8"?>\n', b'<d:multistatus xmlns:d="DAV:">',
          b"<d:response><d:href>/kw/buch/langsam.vcf</d:href></d:response>", b"</d:multistatus>\n"]


class Handler(socketserver.StreamRequestHandler):
    def handle(self):
        length = 0
        while (line := self.rfile.readline(65536).strip()):
            name, _, value = line.decode("latin-1").partition(":")
            if name.lower() == "content-length":
                length = int(value)
        self.rfile.read(length)
        size = sum(len(piece) for piece in PIECES)
        self.wfile.write(b"HTTP/1.1 207 Multi-Status\r\nContent-Length: %d\r\n\r\n" % size)
        for piece in PIECES:
            self.wfile.flush()
            time.sleep(0.4)
            self.wfile.write(piece)


socketserver.ThreadingTCPServer.daemon_threads = True
with socketserver.ThreadingTCPServer(("127.0.0.1", 0), Handler) as server:
    print(f"bereit {server.server_address[1]}", flush=True)
    server.serve_forever()
