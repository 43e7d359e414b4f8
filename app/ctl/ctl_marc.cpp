// serialsctl marc: import, export, show, dump and search catalogue records, and rebuild the
// title-word index of a database made before it.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "app/ctl/Ctl.h"
#include "common/RightCodes.h"
#include "db/basLibDB.h"
#include "marc/core/MarcFieldDefs.h"
#include "marc/core/MarcImport.h"
#include "marc/core/MarcIso.h"
#include "marc/core/MarcSearch.h"
#include "marc/core/TitleWords.h"
#include "marc/core/basBMStore.h"

namespace {

const char* const kUsage =
    "marc import FILE [--format cnmarc|usmarc] [--encoding gbk|utf-8|marc-8]\n"
    "       marc export RECNO... [--encoding gbk|utf-8] [--output FILE]\n"
    "       marc show RECNO\n"
    "       marc dump FILE [--format cnmarc|usmarc] [--encoding gbk|utf-8|marc-8] [--to-utf8]\n"
    "                 [--output FILE]\n"
    "       marc search GROUP TEXT\n"
    "       marc words TEXT\n"
    "       marc reindex";

int usage() {
    std::cerr << "用法: serialsctl " << kUsage << "\n";
    return 2;
}

struct Options {
    std::vector<std::string> words;
    std::string format = "cnmarc";
    std::string encoding;
    std::string output;
    bool toUtf8 = false;
};

bool parseOptions(const std::vector<std::string>& args, Options& o) {
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if ((a == "--format" || a == "--encoding" || a == "--output") && i + 1 < args.size()) {
            std::string& slot = a == "--format"     ? o.format
                                : a == "--encoding" ? o.encoding
                                                    : o.output;
            slot = args[++i];
        } else if (a == "--to-utf8") {
            o.toUtf8 = true;
        } else if (a.rfind("--", 0) == 0) {
            return false;
        } else {
            o.words.push_back(a);
        }
    }
    return o.format == "cnmarc" || o.format == "usmarc";
}

// A regular file opened for reading, or a message and false.
bool openInput(const std::string& path, std::ifstream& in) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        std::cerr << (std::filesystem::exists(path, ec) ? "不是文件: " : "文件不存在: ") << path
                  << "\n";
        return false;
    }
    in.open(path, std::ios::binary);
    if (!in) std::cerr << "无法读取文件: " << path << "\n";
    return static_cast<bool>(in);
}

// Records written as they come, to --output or to stdout, in large pieces.
class Output {
public:
    explicit Output(const std::string& path) : path_(path) {
        if (!path.empty()) file_.open(path, std::ios::binary | std::ios::trunc);
        out_ = path.empty() ? &std::cout : &file_;
    }
    bool ok() const { return static_cast<bool>(*out_); }
    void write(const std::string& bytes) {
        buffer_ += bytes;
        if (buffer_.size() >= kFlushAt) flush();
    }
    bool finish() {
        flush();
        out_->flush();
        if (!ok()) std::cerr << "无法写入文件: " << path_ << "\n";
        return ok();
    }

private:
    static constexpr std::size_t kFlushAt = 1 << 20;
    void flush() {
        out_->write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
        buffer_.clear();
    }
    std::string path_;
    std::ofstream file_;
    std::ostream* out_;
    std::string buffer_;
};

// Writes to --output or to stdout.
bool writeOut(const Options& o, const std::string& bytes) {
    Output out(o.output);
    out.write(bytes);
    return out.finish();
}

// The encoding asked for, or the format's own.
bool encodingOf(const Options& o, bool usmarc, MarcEncoding& enc) {
    if (o.encoding.empty()) {
        enc = MarcDefaultEncoding(usmarc ? MarcFormat::Usmarc : MarcFormat::Cnmarc);
        return true;
    }
    return MarcParseEncoding(o.encoding, enc);
}

// Records, rate and skipped records on one line that rewrites itself; only on a terminal.
class ImportProgress {
public:
    ImportProgress() : tty_(isatty(fileno(stderr)) != 0) {}
    void show(const MarcImportReport& r) {
        if (!tty_) return;
        std::cerr << "\r已处理 " << r.records() << " 条（" << r.rate() << " 条/秒），跳过 "
                  << r.skipped << " 条，失败 " << r.failed << " 条，已读 "
                  << r.bytesRead / (1024 * 1024) << " MB   " << std::flush;
        shown_ = true;
    }
    void end() {
        if (shown_) std::cerr << "\n";
    }

private:
    bool tty_;
    bool shown_ = false;
};

int importFile(const Options& o) {
    MarcEncoding enc;
    if (o.words.size() != 1 || !encodingOf(o, o.format == "usmarc", enc)) return usage();
    std::ifstream in;
    if (!openInput(o.words[0], in)) return 1;
    ImportProgress progress;
    MarcImportListener listener{[&](const std::string& line) {
                                    progress.end();
                                    std::cerr << line << "\n";
                                },
                                [&](const MarcImportReport& r) { progress.show(r); }, nullptr};
    MarcImportReport r = MarcImportStream(
        in, o.format == "usmarc" ? MarcFormat::Usmarc : MarcFormat::Cnmarc, enc, listener);
    progress.end();
    std::cout << MarcImportSummary(r) << "\n";
    return r.complete() ? 0 : 1;
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
        if (!encodingOf(o, rec.MarcType == "U", enc) || enc == MarcEncoding::Marc8) return usage();
        std::string problem, bytes = MarcIsoWrite(rec, enc, &problem);
        if (bytes.empty()) {
            std::cerr << "记录 " << no << " 不能导出：" << problem << "\n";
            return 1;
        }
        out += bytes;
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

// No database. Without --to-utf8 each record is written back in the encoding it was read in,
// its field bytes as they are; with it, every record is converted to UTF-8 (MARC-8 and GBK
// alike). Read and written record by record, so memory does not grow with the file.
int dumpFile(const Options& o) {
    MarcEncoding enc;
    if (o.words.size() != 1 || !encodingOf(o, o.format == "usmarc", enc)) return usage();
    std::ifstream in;
    if (!openInput(o.words[0], in)) return 1;
    UnicodeMarcMode = o.toUtf8;
    MarcIsoReader reader(in, enc);
    if (!o.toUtf8) reader.keepBytes();
    Output out(o.output);
    MarcRec rec;
    std::string problem;
    int incomplete = 0;
    for (auto r = reader.next(rec, problem); r != MarcIsoReader::Result::End;
         r = reader.next(rec, problem)) {
        std::string where = "第 " + std::to_string(reader.ordinal()) + " 条记录（文件位置 " +
                            std::to_string(reader.offset()) + "）";
        std::string bytes;
        if (r == MarcIsoReader::Result::Record) {
            for (const std::string& note : reader.repairs())
                std::cerr << where << "：" << note << "\n";
            bytes =
                MarcIsoWrite(rec, o.toUtf8 ? MarcEncoding::Utf8 : MarcEncoding::AsHeld, &problem);
        }
        if (bytes.empty()) {
            std::cerr << where << "已跳过：" << problem << "\n";
            ++incomplete;
            continue;
        }
        if (!reader.repairs().empty()) ++incomplete;
        out.write(bytes);
    }
    if (!out.finish()) return 1;
    return incomplete > 0 ? 1 : 0;
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

int searchTitleWords(const Options& o) {
    if (o.words.size() != 1) return usage();
    LibArray rows;
    if (MarcTitleWordSearch(o.words[0], rows) < 0) {
        LIB_DB_ShowError();
        return 1;
    }
    std::cout << LibArrayPrinter::format(rows);
    return 0;
}

int reindexTitleWords(const Options& o) {
    if (!o.words.empty()) return usage();
    int done = MarcTitleWordsRebuild(
        [](int n, int total) { std::cerr << "已索引 " << n << " / " << total << " 条书目记录\n"; });
    if (done < 0) {
        LIB_DB_ShowError();
        return 1;
    }
    std::cout << "题名词索引已重建：" << done << " 条书目记录\n";
    return 0;
}

int marcVerb(const std::vector<std::string>& args) {
    Options o;
    if (args.empty() || !parseOptions(args, o)) return usage();
    const std::string& sub = args[0];
    if (sub == "dump") return dumpFile(o);
    if (sub != "import" && sub != "export" && sub != "show" && sub != "search" && sub != "words" &&
        sub != "reindex")
        return usage();
    if (!ctlStartSession(rights::kCatalogue)) return 1;
    if (sub == "import") return importFile(o);
    if (sub == "export") return exportRecords(o);
    if (sub == "show") return showRecord(o);
    if (sub == "words") return searchTitleWords(o);
    if (sub == "reindex") return reindexTitleWords(o);
    return searchIndex(o);
}

}  // namespace

void registerMarcVerbs() {
    ctlVerbs().push_back({"marc", kUsage,
                          "编目记录：导入、导出、显示、转储 ISO 2709 "
                          "文件、按索引或题名中的词检索、重建题名词索引（书目权限 5008）",
                          false, nullptr, marcVerb});
}
