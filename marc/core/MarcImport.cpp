// Import keeps going past bad records: the report says how many were saved and which were not.
#include "marc/core/MarcImport.h"

#include <sstream>

#include "db/SqlText.h"
#include "marc/core/MarcFieldDefs.h"
#include "marc/core/basBMStore.h"

namespace {
constexpr int kProgressEvery = 200;

std::string upperFixed(std::string s, std::size_t width) {
    s = sqltext::upper(sqltext::trim(s)).substr(0, width);
    s.resize(width, ' ');
    return s;
}
}  // namespace

void MarcFillHeader(MarcRec& rec, MarcFormat format) {
    rec.Kind = kMarcBib;
    rec.MarcType = format == MarcFormat::Cnmarc ? "C" : "U";
    char level = rec.Leader.size() > 7 ? rec.Leader[7] : 'm';
    rec.DocTypeCode = level == 's' ? "11" : "01";
    rec.MarcUseFlag = "0";
    if (format == MarcFormat::Cnmarc) {
        MarcResetCursor();
        rec.LangCode = upperFixed(MarcGetSubFieldSeq(rec, "101a"), 3);
        MarcResetCursor();
        rec.CountryCode = upperFixed(MarcGetSubFieldSeq(rec, "102a"), 2);
    } else {
        MarcResetCursor();
        std::string fixed = MarcGetSubFieldSeq(rec, "008");
        rec.LangCode = upperFixed(fixed.size() >= 38 ? fixed.substr(35, 3) : "", 3);
        rec.CountryCode = upperFixed(fixed.size() >= 17 ? fixed.substr(15, 2) : "", 2);
    }
}

MarcImportReport MarcImportStream(std::istream& in, MarcFormat format, MarcEncoding enc,
                                  const MarcImportListener& listener) {
    MarcImportReport report;
    auto notice = [&](const std::string& line) {
        if (listener.notice) listener.notice(line);
    };
    MarcIsoReader reader(in, enc);
    MarcRec rec;
    std::string problem;
    for (;;) {
        auto result = reader.next(rec, problem);
        if (result == MarcIsoReader::Result::End) break;
        std::string where = "第 " + std::to_string(reader.ordinal()) + " 条记录（文件位置 " +
                            std::to_string(reader.offset()) + "）";
        if (result == MarcIsoReader::Result::Skipped) {
            ++report.skipped;
            notice(where + "已跳过：" + problem);
        } else {
            for (const std::string& r : reader.repairs())
                notice(where + "：" + r);
            rec.RecNo.clear();
            MarcFillHeader(rec, format);
            if (MarcSave(rec, 0, 0, "")) {
                ++report.saved;
                report.refusedFields += reader.refusedFields();
                if (!reader.repairs().empty()) ++report.repaired;
            } else {
                ++report.failed;
                notice(where + "保存失败");
            }
        }
        report.bytesRead = reader.bytesRead();
        if (listener.progress && reader.ordinal() % kProgressEvery == 0) listener.progress(report);
    }
    report.bytesRead = reader.bytesRead();
    return report;
}

MarcImportReport MarcLoadDemoRecords(const std::function<void(const std::string&)>& notice) {
    MarcImportReport total;
    for (const EmbeddedCfg& f : embeddedCfgFiles()) {
        std::string name = f.name;
        if (name.size() < 4 || name.substr(name.size() - 4) != ".mrc") continue;
        bool us = name.rfind("usmarc", 0) == 0;
        std::istringstream in{std::string(f.content)};
        MarcImportReport r =
            MarcImportStream(in, us ? MarcFormat::Usmarc : MarcFormat::Cnmarc,
                             us ? MarcEncoding::Utf8 : MarcEncoding::Gbk, {notice, nullptr});
        total.saved += r.saved;
        total.skipped += r.skipped;
        total.failed += r.failed;
        total.repaired += r.repaired;
        total.refusedFields += r.refusedFields;
    }
    return total;
}
