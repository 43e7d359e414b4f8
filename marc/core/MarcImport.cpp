// Import keeps going past bad records: the report says how many were saved and which were not.
#include "marc/core/MarcImport.h"

#include <chrono>
#include <sstream>
#include <vector>

#include "db/DbStatistics.h"
#include "db/DbTransaction.h"
#include "db/SqlText.h"
#include "db/basLibDB.h"
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

std::string MarcImportSummary(const MarcImportReport& r) {
    return "导入 " + std::to_string(r.saved) + " 条（其中修复 " + std::to_string(r.repaired) +
           " 条），跳过 " + std::to_string(r.skipped) + " 条，保存失败 " +
           std::to_string(r.failed) + " 条，未收字段 " + std::to_string(r.refusedFields) +
           " 个；共 " + std::to_string(r.records()) + " 条，" + std::to_string(r.rate()) +
           " 条/秒" + (r.stopped ? "（已中止）" : "");
}

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

namespace {

// Records read and waiting to be saved together.
struct Pending {
    MarcRec rec;
    std::string where;
    int refusedFields = 0;
    bool repaired = false;
    bool refused = false;  // the database refused it: counted as failed, not tried again
};

// A batch is saved in one transaction. A record the database refuses is left out alone: the
// transaction is rolled back and the records before it are saved again without it. Records are
// refused rarely, so this is cheaper than a savepoint per record, whose undo copies of every page
// a record touches cost as much as the rest of its save. Batches stay small in records, bytes and
// time: memory stays bounded and other workstations are not kept waiting on the lock.
constexpr std::size_t kBatchRecords = 500;
constexpr std::size_t kBatchBytes = 4 << 20;
constexpr auto kBatchTime = std::chrono::milliseconds(500);

class BatchSaver {
public:
    BatchSaver(MarcFormat format, MarcImportReport& report,
               const std::function<void(const std::string&)>& notice)
        : format_(format), report_(report), notice_(notice) {}

    void add(Pending p) {
        if (pending_.empty()) begun_ = std::chrono::steady_clock::now();
        bytes_ += p.rec.Data.size();
        pending_.push_back(std::move(p));
        if (pending_.size() >= kBatchRecords || bytes_ >= kBatchBytes ||
            std::chrono::steady_clock::now() - begun_ >= kBatchTime)
            flush();
    }

    void flush() {
        if (pending_.empty()) return;
        std::vector<std::string> numbers =
            MarcNewNumbers(kMarcBib, static_cast<int>(pending_.size()));
        if (numbers.empty()) {
            LIB_DB_ShowError();
            fail(0, pending_.size());
        } else {
            for (std::size_t next = 0; next < pending_.size();)
                next = saveFrom(next, numbers);
        }
        pending_.clear();
        bytes_ = 0;
    }

private:
    // One transaction from record `first` on, ended when its time is up; the next to save. When
    // a record is refused, the transaction is undone and the next to save is `first` again.
    std::size_t saveFrom(std::size_t first, const std::vector<std::string>& numbers) {
        DbTransaction batch;
        if (!batch.ok()) {
            LIB_DB_ShowError();
            fail(first, pending_.size());
            return pending_.size();
        }
        auto begun = std::chrono::steady_clock::now();
        MarcImportReport done;
        std::size_t i = first;
        for (; i < pending_.size() && std::chrono::steady_clock::now() - begun < kBatchTime; ++i) {
            Pending& p = pending_[i];
            if (p.refused) continue;
            p.rec.RecNo = MarcRecNoText(numbers[i]);
            MarcFillHeader(p.rec, format_);
            if (!MarcSave(p.rec, 1, 0, "")) {
                batch.rollback();
                p.refused = true;
                ++report_.failed;
                notice_(p.where + "保存失败");
                return first;
            }
            ++done.saved;
            done.refusedFields += p.refusedFields;
            if (p.repaired) ++done.repaired;
        }
        if (batch.commit() < 0) {
            LIB_DB_ShowError();
            report_.failed += done.saved;
            notice_(pending_[first].where + "起的 " + std::to_string(done.saved) +
                    " 条记录保存失败");
        } else {
            report_.saved += done.saved;
            report_.refusedFields += done.refusedFields;
            report_.repaired += done.repaired;
        }
        return i;
    }

    void fail(std::size_t first, std::size_t end) {
        int count = 0;
        for (std::size_t i = first; i < end; ++i)
            count += pending_[i].refused ? 0 : 1;
        report_.failed += count;
        notice_(pending_[first].where + "起的 " + std::to_string(count) + " 条记录保存失败");
    }

    MarcFormat format_;
    MarcImportReport& report_;
    const std::function<void(const std::string&)>& notice_;
    std::vector<Pending> pending_;
    std::size_t bytes_ = 0;
    std::chrono::steady_clock::time_point begun_;
};

}  // namespace

MarcImportReport MarcImportStream(std::istream& in, MarcFormat format, MarcEncoding enc,
                                  const MarcImportListener& listener) {
    const auto begun = std::chrono::steady_clock::now();
    MarcImportReport report;
    auto elapsed = [&] {
        report.seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - begun).count();
    };
    std::function<void(const std::string&)> notice = [&](const std::string& line) {
        if (listener.notice) listener.notice(line);
    };
    BatchSaver saver(format, report, notice);
    MarcIsoReader reader(in, enc);
    MarcRec rec;
    std::string problem;
    for (;;) {
        if (listener.stop && listener.stop()) {
            report.stopped = true;
            break;
        }
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
            saver.add({std::move(rec), where, reader.refusedFields(), !reader.repairs().empty()});
            rec = MarcRec();
        }
        report.bytesRead = reader.bytesRead();
        if (listener.progress && reader.ordinal() % kProgressEvery == 0) {
            elapsed();
            listener.progress(report);
        }
    }
    saver.flush();
    report.bytesRead = reader.bytesRead();
    // The statistics are the planner's only clue that the tables grew; failing to gather them
    // loses no record, so it is shown and the import still counts as done.
    if (report.saved >= kMarcAnalyzeAfter && LIB_DB_Analyze(MarcCatalogueTables()) < 0)
        LIB_DB_ShowError();
    elapsed();
    return report;
}

MarcImportReport MarcLoadDemoRecords(const std::function<void(const std::string&)>& notice) {
    MarcImportReport total;
    for (const EmbeddedCfg& f : embeddedCfgFiles()) {
        std::string name = f.name;
        if (name.size() < 4 || name.substr(name.size() - 4) != ".mrc") continue;
        bool us = name.rfind("usmarc", 0) == 0;
        std::istringstream in{std::string(f.content)};
        MarcImportReport r = MarcImportStream(in, us ? MarcFormat::Usmarc : MarcFormat::Cnmarc,
                                              us ? MarcEncoding::Utf8 : MarcEncoding::Gbk,
                                              {notice, nullptr, nullptr});
        total.saved += r.saved;
        total.skipped += r.skipped;
        total.failed += r.failed;
        total.repaired += r.repaired;
        total.refusedFields += r.refusedFields;
    }
    return total;
}
