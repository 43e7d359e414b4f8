#!/usr/bin/env python3
"""A loopback SMTP server for the mail tests: takes every message it is given and writes it
to OUT.N.eml, with the envelope (sender, recipients, AUTH PLAIN credentials) in OUT.N.env.
The port it listens on is written to OUT.port once it is ready. Ends after 120 s idle."""
import base64
import os
import socket
import sys

out = sys.argv[1]
srv = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
srv.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
srv.bind(("127.0.0.1", 0))
srv.listen(5)
with open(out + ".port.tmp", "w") as f:
    f.write(str(srv.getsockname()[1]))
os.rename(out + ".port.tmp", out + ".port")
srv.settimeout(120)
count = 0
while True:
    try:
        conn, _ = srv.accept()
    except socket.timeout:
        break
    rd = conn.makefile("rb")

    def send(text):
        conn.sendall((text + "\r\n").encode())

    send("220 sink ready")
    sender, rcpts, auth = "", [], ""
    while True:
        raw = rd.readline()
        if not raw:
            break
        cmd = raw.decode("utf-8", "replace").strip()
        up = cmd.upper()
        if up.startswith("EHLO"):
            conn.sendall(b"250-sink\r\n250-AUTH PLAIN\r\n250 8BITMIME\r\n")
        elif up.startswith("HELO"):
            send("250 sink")
        elif up.startswith("AUTH PLAIN"):
            parts = cmd.split()
            if len(parts) < 3:
                send("334 ")
                parts.append(rd.readline().decode().strip())
            auth = base64.b64decode(parts[2]).decode().replace("\0", "|")
            send("235 accepted")
        elif up.startswith("MAIL FROM:"):
            sender = cmd[10:].split()[0]
            send("250 ok")
        elif up.startswith("RCPT TO:"):
            rcpts.append(cmd[8:].strip())
            send("250 ok")
        elif up == "DATA":
            send("354 end with .")
            lines = []
            while True:
                line = rd.readline()
                if line in (b".\r\n", b".\n", b""):
                    break
                lines.append(line[1:] if line.startswith(b"..") else line)
            count += 1
            with open("%s.%d.eml" % (out, count), "wb") as f:
                f.write(b"".join(lines))
            with open("%s.%d.env" % (out, count), "w") as f:
                f.write("FROM %s\nTO %s\nAUTH %s\n" % (sender, " ".join(rcpts), auth))
            send("250 queued")
        elif up == "QUIT":
            send("221 bye")
            break
        else:
            send("250 ok")
    conn.close()
