#!/usr/bin/env python3
# Writes marc8_sample.mrc: two MARC 21 records in MARC-8 (leader position 9 blank), one with
# Latin diacritics, Greek and Cyrillic, one with CJK text in 880 fields. Every field's text is
# converted by yaz-iconv (Debian package yaz): "yaz-iconv -f UTF-8 -t MARC8". Letters with a
# caron are given decomposed (base letter + U+030C) because yaz's encoder drops the precomposed
# forms. Run from this folder: python3 make_marc8_sample.py
import subprocess

SF, FT, RT = "\x1f", b"\x1e", b"\x1d"


def marc8(text):
    return subprocess.run(["yaz-iconv", "-f", "UTF-8", "-t", "MARC8"], input=text.encode("utf-8"),
                          capture_output=True, check=True).stdout


def record(leader_tail, fields):
    directory, data = b"", b""
    for tag, content in fields:
        body = marc8(content) + FT
        directory += tag.encode() + b"%04d%05d" % (len(body), len(data))
        data += body
    base = 24 + len(directory) + 1
    leader = b"%05d" % (base + len(data) + 1) + leader_tail[:7].encode() + b"%05d" % base
    return leader + leader_tail[7:].encode() + directory + FT + data + RT


def sub(code, value):
    return SF + code + value


western = record("cam  22 a 4500", [
    ("001", "m8-0001"),
    ("008", "230101s1995    fr            000 0 fre d"),
    ("020", "  " + sub("a", "2-7654-0001-2")),
    ("100", "1 " + sub("a", "Dvor\u030cák, Antonín.")),
    ("245", "10" + sub("a", "Revue d'études françaises /") + sub("c", "Université de Montréal.")),
    ("246", "31" + sub("a", "Ελληνικη επιθεωρηση")),
    ("246", "31" + sub("a", "Журнал прикладной химии")),
    ("700", "1 " + sub("a", "Ødegaard, Åse.")),
])
cjk = record("cas  22 a 4500", [
    ("001", "m8-0002"),
    ("008", "230101c19989999cc qr p       0   a0chi c"),
    ("066", "  " + sub("c", "$1")),
    ("245", "00" + sub("6", "880-01") + sub("a", "Zhongguo tu shu guan xue bao.")),
    ("260", "  " + sub("6", "880-02") + sub("a", "Beijing :") + sub("b", "Zhongguo tu shu guan xue hui,")
     + sub("c", "1998-")),
    ("880", "00" + sub("6", "245-01/$1") + sub("a", "中国图书馆学报.")),
    ("880", "  " + sub("6", "260-02/$1") + sub("a", "北京 :") + sub("b", "中国图书馆学会,") + sub("c", "1998-")),
])
with open("marc8_sample.mrc", "wb") as out:
    out.write(western + cjk)
