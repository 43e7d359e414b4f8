#!/usr/bin/env python3
"""Writes the demonstration serial records of `init-db --demo`: config/demo/cnmarc_demo.mrc
(CNMARC, GBK) and config/demo/usmarc_demo.mrc (MARC 21, UTF-8). Titles, publishers and
ISSNs are invented; the ISSN check digits are computed so that the numbers are well formed.

Run from the repository root: scripts/gen_demo_marc.py
"""
import os

SF, FT, RT = "\x1f", "\x1e", "\x1d"


def issn(seven):
    total = sum(int(d) * w for d, w in zip(seven, range(8, 1, -1)))
    check = (11 - total % 11) % 11
    return seven[:4] + "-" + seven[4:] + ("X" if check == 10 else str(check))


def field(ind, *subs):
    return ind + "".join(SF + code + value for code, value in subs)


def record(leader_mid, fields, encoding):
    directory, data = b"", b""
    for tag, content in fields:
        raw = (content + FT).encode(encoding)
        directory += f"{tag}{len(raw):04d}{len(data):05d}".encode()
        data += raw
    base = 24 + len(directory) + 1
    total = base + len(data) + 1
    leader = f"{total:05d}{leader_mid}{base:05d}".encode() + (b"   450 " if encoding == "gbk" else b"   4500")
    return leader + directory + FT.encode() + data + RT.encode()


CN_TITLES = [
    ("图书馆学研究进展", "华东图书馆学会", "上海", "G25", "图书馆学", "月刊"),
    ("现代情报技术", "中国情报学会", "北京", "G35", "情报学", "月刊"),
    ("数字出版与传播", "新闻出版研究中心", "北京", "G23", "出版", "双月刊"),
    ("计算机应用与软件", "计算技术研究所", "上海", "TP3", "计算机应用", "月刊"),
    ("中国农业科学进展", "农业科学出版社", "北京", "S", "农业科学", "半月刊"),
    ("化学工程学报", "化工学会", "天津", "TQ", "化学工程", "月刊"),
    ("机械设计与制造", "机械工业信息中心", "沈阳", "TH", "机械设计", "月刊"),
    ("现代教育管理", "教育科学出版社", "南京", "G4", "教育管理", "双月刊"),
    ("经济理论与实践", "经济研究所", "北京", "F0", "经济理论", "月刊"),
    ("中国历史地理评论", "历史地理研究中心", "西安", "K9", "历史地理", "季刊"),
    ("环境科学前沿", "环境科学学会", "北京", "X", "环境科学", "月刊"),
    ("中医药研究", "中医药大学学报编辑部", "广州", "R2", "中医学", "月刊"),
    ("建筑结构设计", "建筑设计研究院", "北京", "TU3", "建筑结构", "半月刊"),
    ("语言文字应用研究", "语言文字出版社", "北京", "H1", "汉语", "季刊"),
    ("外国文学评论集刊", "外国文学研究所", "北京", "I1", "外国文学", "季刊"),
    ("数学物理学报", "数学物理研究所", "武汉", "O1", "数学物理", "双月刊"),
    ("电子测量技术", "电子学会", "北京", "TM9", "电子测量", "月刊"),
    ("海洋科学通报", "海洋研究所", "青岛", "P7", "海洋学", "双月刊"),
    ("体育科学进展", "体育科学学会", "北京", "G8", "体育科学", "月刊"),
    ("艺术设计研究", "美术出版社", "杭州", "J5", "艺术设计", "季刊"),
    ("交通运输工程学报", "交通大学", "西安", "U", "交通运输", "双月刊"),
    ("城市规划汇刊", "城市规划学会", "上海", "TU98", "城市规划", "双月刊"),
    ("心理学探新", "心理学会", "南昌", "B84", "心理学", "季刊"),
    ("档案管理与研究", "档案学会", "郑州", "G27", "档案管理", "双月刊"),
]
PERSONS = ["王立新", "李文华", "张晓明", "刘建国", "陈静", "杨帆", "赵红", "孙浩"]

US_TITLES = [
    ("Journal of serials practice", "Northfield Academic Press", "Boston", "Z692.S5", "Serials control systems"),
    ("Quarterly review of library automation", "Lakeside Library Association", "Chicago", "Z678.9", "Libraries"),
    ("Applied cataloging studies", "Harbor University Press", "Seattle", "Z693", "Cataloging"),
    ("The information retrieval bulletin", "Westbrook Information Society", "Denver", "Z699", "Information retrieval"),
    ("Annals of periodical history", "Eastgate Historical Society", "Philadelphia", "PN4700", "Periodicals"),
    ("Computational linguistics letters", "Riverbend Scientific", "Austin", "P98", "Computational linguistics"),
    ("Marine ecology progress notes", "Coastal Research Institute", "San Diego", "QH541.5.S3", "Marine ecology"),
    ("Review of agricultural economics studies", "Prairie University Press", "Lincoln", "HD1401", "Agriculture"),
    ("Journal of applied mathematics and mechanics", "Summit Mathematical Society", "Providence", "QA76.73.C15", "Mechanics, Applied"),
    ("Études de bibliothéconomie", "Presses de la Côte", "Montréal", "Z665", "Bibliothéconomie"),
    ("Zeitschrift für Zeitschriftenkunde", "Müller & Söhne", "München", "Z6941", "Zeitschriften"),
    ("Bulletin of medical informatics", "Hillcrest Medical Publishing", "Baltimore", "R858", "Medical informatics"),
    ("Urban planning quarterly", "Metro Planning Council", "Portland", "HT166", "City planning"),
    ("Studies in archival science", "Archivists Guild", "Ann Arbor", "CD950", "Archives"),
    ("Journal of environmental monitoring", "Greenfield Environmental Press", "Madison", "TD193", "Environmental monitoring"),
    ("Physics education today", "Society of Physics Teachers", "College Park", "QC30", "Physics"),
]
US_PERSONS = ["Harper, Ellen", "Okafor, Daniel", "Lindqvist, Maria", "Chen, Robert"]


def cn_records():
    out = []
    for i, (title, pub, place, cls, subject, freq) in enumerate(CN_TITLES):
        year = 1980 + i
        fields = [
            ("001", f"CN{i + 1:06d}"),
            ("005", "20240315101500.0"),
            ("011", field("  ", ("a", issn(f"1{i:03d}{(i * 37) % 1000:03d}")), ("d", "CNY25.00"))),
            ("091", field("  ", ("a", f"CN {11 + i % 60}-{1000 + i * 17}/{cls[0]}"))),
            ("100", field("  ", ("a", f"20240315a{year}9999km y0chiy50      ea"))),
            ("101", field("0 ", ("a", "chi"))),
            ("102", field("  ", ("a", "CN"), ("b", "110000"))),
            ("110", field("  ", ("a", "auz   0yy0"))),
            ("200", field("1 ", ("a", title), ("f", pub + "主办"))),
            ("207", field(" 0", ("a", f"{year},no.1-"))),
            ("210", field("  ", ("a", place), ("c", pub), ("d", str(year)))),
            ("215", field("  ", ("a", "册"), ("d", "26cm"))),
            ("326", field("  ", ("a", freq))),
            ("606", field("0 ", ("a", subject), ("j", "期刊"))),
            ("690", field("  ", ("a", cls), ("v", "5"))),
            ("701", field(" 0", ("a", PERSONS[i % len(PERSONS)]), ("4", "主编"))),
        ]
        if i % 3 == 0:
            fields.append(("701", field(" 0", ("a", PERSONS[(i + 3) % len(PERSONS)]), ("4", "副主编"))))
        if i % 4 == 1:
            fields.insert(9, ("517", field("1 ", ("a", title + "（英文版）"))))
        fields.append(("801", field(" 0", ("a", "CN"), ("b", "DEMO"), ("c", "20240315"))))
        fields.sort(key=lambda f: f[0])
        out.append(record("nas  22", fields, "gbk"))
    return out


def us_records():
    out = []
    for i, (title, pub, place, lc, subject) in enumerate(US_TITLES):
        year = 1970 + i * 2
        fields = [
            ("001", f"US{i + 1:06d}"),
            ("003", "DEMO"),
            ("005", "20240315101500.0"),
            ("008", f"240315c{year}9999xxumr p       0   a0eng d"),
            ("022", field("0 ", ("a", issn(f"2{i:03d}{(i * 53) % 1000:03d}")))),
            ("040", field("  ", ("a", "DEMO"), ("b", "eng"), ("c", "DEMO"))),
            ("050", field("00", ("a", lc))),
            ("082", field("04", ("a", f"{20 + i}.05"), ("2", "23"))),
            ("110", field("2 ", ("a", pub))),
            ("245", field("10", ("a", title), ("c", pub + "."))),
            ("260", field("  ", ("a", place + " :"), ("b", pub + ","), ("c", f"{year}-"))),
            ("300", field("  ", ("a", "v. :"), ("b", "ill. ;"), ("c", "28 cm."))),
            ("310", field("  ", ("a", "Quarterly" if i % 2 else "Monthly"))),
            ("362", field("0 ", ("a", f"Vol. 1, no. 1 ({year})-"))),
            ("650", field(" 0", ("a", subject), ("v", "Periodicals."))),
            ("700", field("1 ", ("a", US_PERSONS[i % len(US_PERSONS)]), ("e", "editor."))),
            ("850", field("  ", ("a", "DEMO"))),
        ]
        if i % 3 == 0:
            fields.append(("780", field("00", ("t", "Bulletin of " + subject.lower()), ("x", issn(f"3{i:03d}111")))))
        fields.sort(key=lambda f: f[0])
        out.append(record("cas a22", fields, "utf-8"))
    return out


def main():
    os.makedirs("config/demo", exist_ok=True)
    with open("config/demo/cnmarc_demo.mrc", "wb") as f:
        f.write(b"".join(cn_records()))
    with open("config/demo/usmarc_demo.mrc", "wb") as f:
        f.write(b"".join(us_records()))


if __name__ == "__main__":
    main()
