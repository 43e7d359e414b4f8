// serialsctl marc: import, export, show, dump and search catalogue records.
#include <fstream>
#include <iostream>
#include <sstream>

#include "app/ctl/Ctl.h"
#include "common/RightCodes.h"
#include "db/basLibDB.h"
#include "marc/core/MarcFieldDefs.h"
#include "marc/core/MarcImport.h"
#include "marc/core/MarcIso.h"
#include "marc/core/MarcSearch.h"
#include "marc/core/basBMStore.h"

namespace {

const char* const kUsage =
    "marc import FILE [--format cnmarc|usmarc] [--encoding gbk|utf-8]\n"
    "       marc export RECNO... [--encoding gbk|utf-8] [--output FILE]\n"
    "       marc show RECNO\n"
    "       marc dump FILE [--encoding gbk|utf-8] [--output FILE]\n"
    "       marc search GROUP TEXT";

int usage() {
    std::cerr << "用法: serialsctl " << kUsage << "\n";
    return 2;
}

struct Options {
    std::vector<std::string> words;
    std::string format = "cnmarc";
    std::string encoding;
    std::string output;
};

bool parseOptions(const std::vector<std::string>& args, Options& o) {
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if ((a == "--format" || a == "--encoding" || a == "--output") && i + 1 < args.size()) {
            std::string& slot = a == "--format"     ? o.format
                                : a == "--encoding" ? o.encoding
                                                    : o.output;
            slot = args[++i];
        } else if (a.rfind("--", 0) == 0) {
            return false;
        } else {
            o.words.push_back(a);
        }
    }
    return o.format == "cnmarc" || o.format == "usmarc";
}

bool readFile(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::cerr << "无法读取文件: " << path << "\n";
        return false;
    }
    std::ostringstream ss;
    ss << in.rdbuf();
    bytes = ss.str();
    return true;
}

// Writes to --output or to stdout.
bool writeOut(const Options& o, const std::string& bytes) {
    if (o.output.empty()) {
        std::cout << bytes;
        return true;
    }
    std::ofstream out(o.output, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out) std::cerr << "无法写入文件: " << o.output << "\n";
    return static_cast<bool>(out);
}

// The encoding asked for, or the format's own: GBK for CNMARC, UTF-8 for MARC 21.
bool encodingOf(const Options& o, bool usmarc, MarcEncoding& enc) {
    if (o.encoding.empty()) {
        enc = usmarc ? MarcEncoding::Utf8 : MarcEncoding::Gbk;
        return true;
    }
    return MarcParseEncoding(o.encoding, enc);
}

int importFile(const Options& o) {
    MarcEncoding enc;
    if (o.words.size() != 1 || !encodingOf(o, o.format == "usmarc", enc)) return usage();
    std::string bytes;
    if (!readFile(o.words[0], bytes)) return 1;
    MarcImportReport r =
        MarcImportFile(bytes, o.format == "usmarc" ? MarcFormat::Usmarc : MarcFormat::Cnmarc, enc,
                       [](const std::string& line) { std::cerr << line << "\n"; });
    std::cout << "导入 " << r.saved << " 条，跳过 " << r.skipped << " 条，保存失败 " << r.failed
              << " 条\n";
    return r.failed > 0 ? 1 : 0;
}

int exportRecords(const Options& o) {
    if (o.words.empty()) return usage();
    std::string out;
    for (const std::string& no : o.words) {
        MarcRec rec = MarcLoad(no);
        if (rec.RecNo.empty()) {
            std::cerr << "记录不存在: " << no << "\n";
            return 1;
        }
        MarcEncoding enc;
        if (!encodingOf(o, rec.MarcType == "U", enc)) return usage();
        out += MarcIsoWrite(rec, enc);
    }
    return writeOut(o, out) ? 0 : 1;
}

std::string showField(const MarcRec& rec, int i) {
    std::string tag = rec.Dir[i].Tag;
    std::string content = MarcFieldContent(rec, i);
    std::string line = tag + "  ";
    if (tag <= "009")
        return line + "    " + content + "    〔" + GetMarcFieldName(tag, rec) + "〕\n";
    line += content.substr(0, 2) + "  ";
    for (std::size_t p = 2; p < content.size(); ++p)
        line += content[p] == kSubfieldMark ? std::string(" $") : std::string(1, content[p]);
    return line + "    〔" + GetMarcFieldName(tag, rec) + "〕\n";
}

int showRecord(const Options& o) {
    if (o.words.size() != 1) return usage();
    MarcRec rec = MarcLoad(o.words[0]);
    if (rec.RecNo.empty()) {
        std::cerr << "记录不存在: " << o.words[0] << "\n";
        return 1;
    }
    std::cout << "记录号 " << rec.RecNo << "  格式 " << rec.MarcType << "  文献类型 "
              << rec.DocTypeCode << "  语种 " << rec.LangCode << "  国别 " << rec.CountryCode
              << "\n";
    std::cout << "LDR      " << rec.Leader << "\n";
    for (int i = 0; i < static_cast<int>(rec.Dir.size()); ++i)
        std::cout << showField(rec, i);
    return 0;
}

// No database: the records are parsed and written back in the same encoding. UTF-8 files are
// held as text so that characters outside GBK survive.
int dumpFile(const Options& o) {
    MarcEncoding enc;
    if (o.words.size() != 1 || !encodingOf(o, o.format == "usmarc", enc)) return usage();
    std::string bytes;
    if (!readFile(o.words[0], bytes)) return 1;
    UnicodeMarcMode = enc == MarcEncoding::Utf8;
    MarcIsoReader reader(bytes, enc);
    MarcRec rec;
    std::string problem, out;
    int skipped = 0;
    for (auto r = reader.next(rec, problem); r != MarcIsoReader::Result::End;
         r = reader.next(rec, problem)) {
        if (r == MarcIsoReader::Result::Record) {
            out += MarcIsoWrite(rec, enc);
        } else {
            ++skipped;
            std::cerr << "第 " << reader.ordinal() << " 条记录（文件位置 " << reader.offset()
                      << "）已跳过：" << problem << "\n";
        }
    }
    if (!writeOut(o, out)) return 1;
    return skipped > 0 ? 1 : 0;
}

int searchIndex(const Options& o) {
    if (o.words.size() != 2) return usage();
    LibArray rows;
    if (MarcIndexSearch(o.words[0], o.words[1], rows) < 0) {
        LIB_DB_ShowError();
        return 1;
    }
    std::cout << LibArrayPrinter::format(rows);
    return 0;
}

int marcVerb(const std::vector<std::string>& args) {
    Options o;
    if (args.empty() || !parseOptions(args, o)) return usage();
    const std::string& sub = args[0];
    if (sub == "dump") return dumpFile(o);
    if (sub != "import" && sub != "export" && sub != "show" && sub != "search") return usage();
    if (!ctlStartSession(rights::kCatalogue)) return 1;
    if (sub == "import") return importFile(o);
    if (sub == "export") return exportRecords(o);
    if (sub == "show") return showRecord(o);
    return searchIndex(o);
}

}  // namespace

void registerMarcVerbs() {
    ctlVerbs().push_back(
        {"marc", kUsage,
         "编目记录：导入、导出、显示、转储 ISO 2709 文件、按索引检索（书目权限 5008）", false,
         nullptr, marcVerb});
}
