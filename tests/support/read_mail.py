#!/usr/bin/env python3
"""Prints a stored mail for the tests to check, one item a line: SUBJECT, FROM, TO, BODY (line
breaks as \\n), FILE (attachment name) and ROW (cells of the attached sheet, tab-separated, an
empty cell where the sheet has none)."""
import email
import io
import re
import sys
import zipfile
import xml.etree.ElementTree as ET
from email import policy

NS = "{http://schemas.openxmlformats.org/spreadsheetml/2006/main}"


def column(ref):
    n = 0
    for ch in re.match(r"[A-Z]+", ref).group(0):
        n = n * 26 + ord(ch) - 64
    return n - 1


def sheet_rows(data):
    z = zipfile.ZipFile(io.BytesIO(data))
    shared = []
    if "xl/sharedStrings.xml" in z.namelist():
        for si in ET.fromstring(z.read("xl/sharedStrings.xml")).iter(NS + "si"):
            shared.append("".join(t.text or "" for t in si.iter(NS + "t")))
    sheet = ET.fromstring(z.read("xl/worksheets/sheet1.xml"))
    for row in sheet.iter(NS + "row"):
        cells = {}
        for c in row.iter(NS + "c"):
            v = c.find(NS + "v")
            val = v.text if v is not None else ""
            if c.get("t") == "s":
                val = shared[int(val)]
            elif c.get("t") == "inlineStr":
                val = "".join(t.text or "" for t in c.iter(NS + "t"))
            cells[column(c.get("r"))] = val
        width = max(cells) + 1 if cells else 0
        yield [cells.get(i, "") for i in range(width)]


if __name__ == "__main__":
    msg = email.message_from_binary_file(open(sys.argv[1], "rb"), policy=policy.default)
    print("SUBJECT", msg["subject"])
    print("FROM", msg["from"])
    print("TO", msg["to"])
    for part in msg.iter_parts():
        if part.get_content_disposition() == "attachment":
            print("FILE", part.get_filename())
            for cells in sheet_rows(part.get_payload(decode=True)):
                print("ROW", "\t".join(cells))
        else:
            print("BODY", part.get_content().replace("\r\n", "\\n").replace("\n", "\\n"))
