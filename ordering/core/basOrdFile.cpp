// Writing and reading the order file (CSV, one record per line, the kind first).
#include "ordering/core/basOrdFile.h"

#include <fstream>
#include <set>
#include <sstream>

#include "db/SqlText.h"
#include "db/basLibDB.h"
#include "ordering/core/basOrdFunc.h"

namespace {

// The fields of a D record after its kind, in file order.
constexpr std::string OrdDetail::*kDetailFields[] = {&OrdDetail::pub,
                                                     &OrdDetail::ordYear,
                                                     &OrdDetail::asordNo,
                                                     &OrdDetail::marcNo,
                                                     &OrdDetail::periType,
                                                     &OrdDetail::getMode,
                                                     &OrdDetail::publFreq,
                                                     &OrdDetail::carrier,
                                                     &OrdDetail::moneyType,
                                                     &OrdDetail::price,
                                                     &OrdDetail::totalPrice,
                                                     &OrdDetail::forePrice,
                                                     &OrdDetail::foreTotalPrice,
                                                     &OrdDetail::kindNo,
                                                     &OrdDetail::newFlag,
                                                     &OrdDetail::remark};

std::string record(std::initializer_list<std::string> fields) {
    std::string out;
    for (const std::string& f : fields)
        out += (out.empty() ? "" : ",") + sqltext::csvField(f);
    return out + "\n";
}

// Splits the text into records of fields; a quoted field may span lines. Each record keeps the
// line it started on.
struct Record {
    std::vector<std::string> fields;
    int line;
};

bool splitRecords(const std::string& text, std::vector<Record>& out, std::string& error) {
    int line = 1;
    std::size_t i = 0;
    while (i < text.size()) {
        Record r{{}, line};
        std::string field;
        bool quoted = false, atStart = true;
        for (; i < text.size(); ++i) {
            char c = text[i];
            if (quoted) {
                if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else if (c == '"') {
                    quoted = false;
                } else {
                    if (c == '\n') ++line;
                    field += c;
                }
            } else if (c == '"' && atStart) {
                quoted = true;
                atStart = false;
            } else if (c == ',') {
                r.fields.push_back(field);
                field.clear();
                atStart = true;
            } else if (c == '\n') {
                ++i;
                break;
            } else if (c != '\r') {
                field += c;
                atStart = false;
            }
        }
        if (quoted) {
            error = "第 " + std::to_string(r.line) + " 行：引号不成对";
            return false;
        }
        r.fields.push_back(field);
        ++line;
        bool empty = r.fields.size() == 1 && r.fields[0].empty();
        if (!empty && r.fields[0].rfind("#", 0) != 0) out.push_back(std::move(r));
    }
    return true;
}

std::string field(const Record& r, std::size_t i) {
    return i < r.fields.size() ? r.fields[i] : std::string();
}

}  // namespace

std::string strOrdFileText(const std::vector<const OrdDetail*>& details) {
    std::string text =
        "# D,Pub,OrdYear,AsordNo,MarcNo,PeriType,GetMode,PublFreq,Carrier,MoneyType,Price,"
        "TotalPrice,ForePrice,ForeTotalPrice,KindNo,NewFlag,Remark\n"
        "# S,Location,ChkFlag,Count,Region,OrdRemark / F,FundSrc,Copies,Amount,Remark / "
        "T,DistLoca,Copies,Label\n";
    for (const OrdDetail* d : details) {
        std::string line = "D";
        for (auto f : kDetailFields)
            line += "," + sqltext::csvField(d->*f);
        text += line + "\n";
        for (const OrdSubscriber& s : d->subs) {
            text += record({"S", s.location, s.chkFlag, s.count, s.region, s.remark});
            for (const OrdFundLine& f : s.funds)
                text += record({"F", f.fundSrc, f.qty, f.amount, f.remark});
            for (const OrdDistLine& t : s.dists)
                text += record({"T", t.distLoca, t.qty, t.label});
        }
    }
    return text;
}

int intParseOrdFile(const std::string& text, std::vector<OrdFileDetail>& out, std::string& error) {
    out.clear();
    std::vector<Record> records;
    if (!splitRecords(text, records, error)) return -1;
    for (const Record& r : records) {
        const std::string kind = r.fields[0];
        auto where = [&](const std::string& why) {
            error = "第 " + std::to_string(r.line) + " 行：" + why;
            return -1;
        };
        if (kind == "D") {
            OrdFileDetail fd;
            fd.line = r.line;
            fd.detail = NewOrdDetail(field(r, 1), field(r, 2));
            for (std::size_t i = 0; i < std::size(kDetailFields); ++i)
                fd.detail.*kDetailFields[i] = field(r, i + 1);
            if (fd.detail.newFlag.empty()) fd.detail.newFlag = "0";
            out.push_back(std::move(fd));
        } else if (kind == "S") {
            if (out.empty()) return where("订户行之前没有订购明细行");
            out.back().detail.subs.push_back(
                {field(r, 1), field(r, 2), field(r, 3), field(r, 4), field(r, 5), {}, {}});
        } else if (kind == "F" || kind == "T") {
            if (out.empty() || out.back().detail.subs.empty())
                return where("经费或分配行之前没有订户行");
            OrdSubscriber& s = out.back().detail.subs.back();
            if (kind == "F")
                s.funds.push_back({field(r, 1), field(r, 2), field(r, 3), field(r, 4)});
            else
                s.dists.push_back({field(r, 1), field(r, 2), field(r, 3)});
        } else {
            return where("不认识的记录类型“" + kind + "”");
        }
    }
    return 0;
}

int intWriteOrdFile(const std::string& path, const std::vector<const OrdDetail*>& details,
                    std::string& error) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f << strOrdFileText(details);
    f.close();
    if (!f) {
        error = "无法写入文件 " + path;
        return -1;
    }
    return 0;
}

int intReadOrdFile(const std::string& path, std::vector<OrdFileDetail>& out, std::string& error) {
    std::ifstream f(path, std::ios::binary);
    if (!f) {
        error = "无法读取文件 " + path;
        return -1;
    }
    std::stringstream text;
    text << f.rdbuf();
    return intParseOrdFile(text.str(), out, error);
}

void FillDerivedValues(OrdDetail& d) {
    if (d.totalPrice.empty()) {
        std::string total = strAnnualPrice(d.price, d.publFreq, d.ordYear);
        if (!total.empty()) d.totalPrice = total;
    }
    for (OrdSubscriber& s : d.subs)
        for (OrdFundLine& f : s.funds)
            if (f.amount.empty()) f.amount = strDecimalTimes(d.totalPrice, LibVar(f.qty).integer());
}

int intImportOrdFile(const std::string& path, int& saved, std::vector<std::string>& skipped,
                     std::string& error) {
    saved = 0;
    skipped.clear();
    std::vector<OrdFileDetail> details;
    if (intReadOrdFile(path, details, error) < 0) return -1;
    std::set<std::pair<std::string, std::string>> known;
    for (OrdFileDetail& f : details) {
        OrdDetail& d = f.detail;
        FillDerivedValues(d);
        const auto cata = std::make_pair(d.pub, d.ordYear);
        bool ok = true;
        if (!known.count(cata)) {
            ok = intEnsureOrdCata(cata.first, cata.second) == 0;
            if (ok) known.insert(cata);
        }
        if (ok && intSaveOrdDetail(d, false) == 0)
            ++saved;
        else
            skipped.push_back("第 " + std::to_string(f.line) + " 行 " + d.pub + " " + d.ordYear +
                              " 征订号 " + d.asordNo);
    }
    return 0;
}
