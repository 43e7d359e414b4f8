// serialsctl verbs of check-in: the expected issues of an order line at a location with their
// arrival, checking an issue in and undoing it, the order-line search of the check-in screen,
// and a run of further issues after the line's last. Each logs in and needs the check-in right;
// they call the same core as the screen.
#include <iostream>
#include <map>

#include "app/ctl/Ctl.h"
#include "checkin/core/IssueEdit.h"
#include "checkin/core/basChkIn.h"
#include "checkin/core/basChkSearch.h"
#include "common/RightCodes.h"
#include "db/SqlText.h"
#include "db/basLibDB.h"

namespace {

const char* const kUsage =
    "checkin issues PUBL BATCH ASORDNO LOCATION [--csv] | checkin receive PERI_ID LOCATION "
    "[--copies N] | checkin undo PERI_ID LOCATION | checkin search FIELD TEXT [--year YYYY] | "
    "checkin batch PUBL BATCH ASORDNO LOCATION --count N [--first YYYY-MM-DD]";

int usageError() {
    std::cerr << "用法: serialsctl " << kUsage << "\n";
    return 2;
}

int dbFailure() {
    LIB_DB_ShowError();
    return 1;
}

// The order line and one of its receiving locations; 1 (shown) when either is missing.
int loadLineAndLocation(const ChkOrderKey& key, const std::string& location, ChkInOrderLine& line,
                        ChkInLocation& loca) {
    std::vector<ChkInLocation> all;
    int found = intLoadChkOrderLine(key, line);
    if (found < 0 || intLoadChkLocations(key, all) < 0) return -1;
    if (found > 0) {
        std::cerr << "无此订购明细：" << key.publCode << " " << key.periOrdYear << " "
                  << key.asordNo << "\n";
        return 1;
    }
    for (const auto& l : all)
        if (l.location == location) {
            loca = l;
            return 0;
        }
    std::cerr << "该订购明细没有订户 " << location << "\n";
    return 1;
}

int issues(const std::vector<std::string>& args) {
    if (args.size() != 4 && !(args.size() == 5 && args[4] == "--csv")) return usageError();
    const bool csv = args.size() == 5;
    ChkOrderKey key{args[0], args[1], args[2]};
    ChkInOrderLine line;
    ChkInLocation loca;
    if (int rc = loadLineAndLocation(key, args[3], line, loca); rc != 0)
        return rc < 0 ? dbFailure() : 1;
    std::vector<ChkInIssue> rows;
    if (intLoadChkIssues(key, loca.location, rows) < 0) return dbFailure();
    const std::string today = LIB_DB_GetServerDate();
    LibArray table(11, static_cast<int>(rows.size()) + 2);
    const char* names[] = {"peri_id",           "peri_no",     "cover_vol",   "cover_issue",
                           "cover_issue_total", "expect_date", "aslack_date", "peri_type",
                           "received",          "subscribed",  "state"};
    for (int c = 0; c < 11; ++c)
        table(c, 0) = names[c];
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ChkInIssue& r = rows[i];
        const int row = static_cast<int>(i) + 2;
        std::string cells[] = {r.periId,
                               std::to_string(r.periNo),
                               r.coverVol,
                               r.coverIssue,
                               r.coverIssueTotal,
                               r.expectDate,
                               r.aslackDate,
                               PeriTypeLabel(r.periType),
                               std::to_string(r.received),
                               std::to_string(loca.subQty),
                               ArrivalText(IssueArrival(r, loca.subQty, today))};
        for (int c = 0; c < 11; ++c)
            table(c, row) = cells[c];
    }
    if (!csv) {
        std::cout << line.title << "  " << key.publCode << " " << key.periOrdYear << " "
                  << key.asordNo << "  订户 " << loca.location << "\n"
                  << LibArrayPrinter::format(table);
        return 0;
    }
    for (int r = 0; r < table.rows(); ++r) {
        if (r == 1) continue;
        for (int c = 0; c < 11; ++c)
            std::cout << (c ? "," : "") << sqltext::csvField(table(c, r).str());
        std::cout << "\n";
    }
    return 0;
}

// receive and undo: the issue's order line and the location, then the operation.
int onIssue(const std::vector<std::string>& args, bool receive) {
    int copies = -1;
    if (receive && args.size() == 4 && args[2] == "--copies") {
        copies = static_cast<int>(LibVar(args[3]).integer());
        if (copies <= 0) return usageError();
    } else if (args.size() != 2) {
        return usageError();
    }
    ChkOrderKey key;
    int found = intFindIssueLine(args[0], key);
    if (found < 0) return dbFailure();
    if (found > 0) {
        std::cerr << "无此卷期：" << args[0] << "\n";
        return 1;
    }
    ChkInOrderLine line;
    ChkInLocation loca;
    if (int rc = loadLineAndLocation(key, args[1], line, loca); rc != 0)
        return rc < 0 ? dbFailure() : 1;
    if (receive) {
        int added = intCheckInIssues(line, loca, {args[0]}, copies);
        if (added < 0) return 1;
        std::cout << "签收 " << added << " 册\n";
    } else {
        int removed = intUndoCheckIn(line, loca, {args[0]});
        if (removed < 0) return 1;
        std::cout << "撤销签收 " << removed << " 册\n";
    }
    return 0;
}

// The run the batch screen proposes, with the count (and first date) given.
int batch(const std::vector<std::string>& args) {
    if (args.size() != 6 && args.size() != 8) return usageError();
    if (args[4] != "--count" || (args.size() == 8 && args[6] != "--first")) return usageError();
    ChkOrderKey key{args[0], args[1], args[2]};
    ChkInOrderLine line;
    ChkInLocation loca;
    if (int rc = loadLineAndLocation(key, args[3], line, loca); rc != 0)
        return rc < 0 ? dbFailure() : 1;
    IssueBatch b;
    if (issueBatchDefaults(line, b) < 0) return dbFailure();
    b.count = static_cast<int>(LibVar(args[5]).integer());
    if (args.size() == 8) b.firstDate = args[7];
    const int added = addIssueBatch(line, loca.location, b);
    if (added < 0) return 1;
    std::cout << "新增 " << added << " 期，自 " << b.firstDate << " 起\n";
    return 0;
}

int search(const std::vector<std::string>& args) {
    if (args.size() != 2 && !(args.size() == 4 && args[2] == "--year")) return usageError();
    ChkSearchQuery query;
    bool known = false;
    std::vector<ChkSearchField> fields = LoadChkSearchFields();
    for (std::size_t i = 0; i < fields.size() && !known; ++i)
        if (fields[i].caption == args[0] || std::to_string(i + 1) == args[0]) {
            query.field = fields[i];
            known = true;
        }
    if (!known) {
        std::cerr << "检索途径应为以下之一：";
        for (std::size_t i = 0; i < fields.size(); ++i)
            std::cerr << (i ? "、" : "") << fields[i].caption;
        std::cerr << "\n";
        return 2;
    }
    query.text = args[1];
    if (args.size() == 4) query.year = args[3];
    LibArray rows;
    int rc = intChkSearch(query, rows);
    if (rc != 0) return 1;
    const char* names[] = {"发行商", "年度批次", "订购号", "题名",  "ISSN",
                           "语种",   "获得方式", "载体",   "记录号"};
    for (int c = 0; c < rows.cols() && c < 9; ++c)
        rows(c, 0) = names[c];
    std::cout << LibArrayPrinter::format(rows);
    return 0;
}

int checkin(const std::vector<std::string>& args) {
    static const std::map<std::string, std::function<int(const std::vector<std::string>&)>> sub{
        {"issues", issues},
        {"receive", [](const auto& a) { return onIssue(a, true); }},
        {"undo", [](const auto& a) { return onIssue(a, false); }},
        {"search", search},
        {"batch", batch},
    };
    if (args.empty()) return usageError();
    auto it = sub.find(args[0]);
    if (it == sub.end()) return usageError();
    // Each sub-verb opens the session itself, so that one that needs no database can join them.
    if (!ctlStartSession(rights::kCheckIn)) return 1;
    return it->second(std::vector<std::string>(args.begin() + 1, args.end()));
}

}  // namespace

void registerCheckinVerbs() {
    ctlVerbs().push_back({"checkin", kUsage,
                          "期刊签收：卷期到刊情况、签收与撤销签收、签收检索、批量新增卷期", false,
                          nullptr, checkin});
}
