#!/usr/bin/env python3
"""An address-book server that misbehaves in one chosen way, on 127.0.0.1.

    hostile_server.py MODE [--port PORT] [--location URL] [--interval SECONDS]

PORT 0 (the default) takes a free port. Once listening it prints the one line "bereit PORT" and
serves every request on every connection the same way until it gets SIGTERM or SIGINT.

MODE, what it does with each request it has read in full:
  trickle           a 207 announcing 1 MB of body, then one byte each INTERVAL seconds (1)
  slow              the 207 of redirect-same's target, one byte each INTERVAL seconds
  silent            nothing at all, the connection kept open
  huge              a 207 announcing 100 MB, and sends them
  huge-unannounced  a 207 without a length, then body without end at some 60 MB/s until the
                    client goes
  close             closes the connection without a word
  garbage           a line that is not HTTP, then closes
  redirect          a 307 to URL (--location, required), for a redirect to another host
  redirect-same     a 307 to "/ziel/" on itself, which answers 207 with a multistatus whose
                    comment tells what reached it: <!-- METHOD depth=DEPTH body=BODYBYTES -->
  redirect-loop     a 307 to the path asked, and again, forever
"""

import argparse
import signal
import socketserver
import sys
import time

MULTISTATUS = (
    '<?xml version="1.0" encoding="utf-8"?>\n'
    '<!-- {method} depth={depth} body={body} -->\n'
    '<d:multistatus xmlns:d="DAV:"><d:response><d:href>/ziel/</d:href>'
    "<d:propstat><d:prop><d:displayname>Ziel</d:displayname></d:prop>"
    "<d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response></d:multistatus>\n"
)


def read_request(stream):
    """The method, path, headers (names in lower case) and body, or None at the end."""
    line = stream.readline(65536)
    if not line.strip():
        return None
    parts = line.decode("latin-1").split()
    if len(parts) != 3:
        return None
    headers = {}
    while True:
        header = stream.readline(65536).decode("latin-1")
        if header in ("\r\n", "\n", ""):
            break
        name, _, value = header.partition(":")
        headers[name.strip().lower()] = value.strip()
    body = stream.read(int(headers.get("content-length", "0") or "0"))
    return parts[0], parts[1], headers, body


def head(status, fields):
    lines = [f"HTTP/1.1 {status}"] + [f"{name}: {value}" for name, value in fields] + ["", ""]
    return "\r\n".join(lines).encode("latin-1")


class Handler(socketserver.StreamRequestHandler):
    def handle(self):
        try:
            while self.answer():
                pass
        except (BrokenPipeError, ConnectionResetError, TimeoutError):
            pass

    def answer(self):
        """Serves one request; False when the connection is done with."""
        mode = self.server.options.mode
        request = read_request(self.rfile)
        if request is None:
            return False
        method, path, headers, body = request
        send = self.wfile.write
        if (mode == "redirect-same" and path == "/ziel/") or mode == "slow":
            text = MULTISTATUS.format(
                method=method, depth=headers.get("depth", "-"), body=len(body)
            ).encode("utf-8")
            send(head("207 Multi-Status", [
                ("Content-Type", "application/xml; charset=utf-8"),
                ("Content-Length", len(text)),
            ]))
            for index in range(len(text)) if mode == "slow" else []:
                self.wfile.flush()
                time.sleep(self.server.options.interval)
                send(text[index:index + 1])
            if mode != "slow":
                send(text)
        elif mode.startswith("redirect"):
            location = {
                "redirect": self.server.options.location,
                "redirect-same": "/ziel/",
                "redirect-loop": path,
            }[mode]
            send(head("307 Temporary Redirect", [("Location", location), ("Content-Length", 0)]))
        elif mode == "trickle":
            send(head("207 Multi-Status", [("Content-Length", 1 << 20)]))
            while True:
                self.wfile.flush()
                time.sleep(self.server.options.interval)
                send(b" ")
        elif mode == "silent":
            while self.rfile.read(1):
                pass
            return False
        elif mode == "huge":
            size = 100 << 20
            send(head("207 Multi-Status", [("Content-Length", size)]))
            block = b" " * 65536
            for _ in range(size // len(block)):
                send(block)
        elif mode == "huge-unannounced":
            send(head("207 Multi-Status", [("Connection", "close")]))
            block = b" " * 65536
            while True:
                send(block)
                time.sleep(0.001)  # about as fast as a local network, not as loopback
        elif mode == "close":
            return False
        elif mode == "garbage":
            send(b"\x00\xffKein HTTP\r\n\r\n")
            return False
        self.wfile.flush()
        return True


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("mode", choices=[
        "trickle", "slow", "silent", "huge", "huge-unannounced", "close", "garbage",
        "redirect", "redirect-same", "redirect-loop"])
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--location")
    parser.add_argument("--interval", type=float, default=1.0)
    options = parser.parse_args()
    if options.mode == "redirect" and not options.location:
        parser.error("redirect braucht --location")

    server = Server(("127.0.0.1", options.port), Handler)
    server.options = options
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    print(f"bereit {server.server_address[1]}", flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    finally:
        server.server_close()


if __name__ == "__main__":
    main()
