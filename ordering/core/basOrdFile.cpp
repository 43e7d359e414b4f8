// Writing and reading the order file (CSV, one record per line, the kind first).
#include "ordering/core/basOrdFile.h"

#include <fstream>
#include <set>
#include <sstream>

#include "db/Gbk.h"
#include "db/SqlText.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"
#include "ordering/core/basOrdCheck.h"
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

}  // namespace

bool SplitOrdCsv(const std::string& text, std::vector<OrdCsvRecord>& out, std::string& error) {
    int line = 1;
    std::size_t i = 0;
    while (i < text.size()) {
        OrdCsvRecord r{{}, line};
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

std::string OrdCsvRecord::field(std::size_t i) const {
    return i < fields.size() ? fields[i] : std::string();
}

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
    std::vector<OrdCsvRecord> records;
    if (!SplitOrdCsv(text, records, error)) return -1;
    for (const OrdCsvRecord& r : records) {
        const std::string kind = r.fields[0];
        auto where = [&](const std::string& why) {
            error = "第 " + std::to_string(r.line) + " 行：" + why;
            return -1;
        };
        if (kind == "D") {
            OrdFileDetail fd;
            fd.line = r.line;
            fd.detail = NewOrdDetail(r.field(1), r.field(2));
            for (std::size_t i = 0; i < std::size(kDetailFields); ++i)
                fd.detail.*kDetailFields[i] = r.field(i + 1);
            if (fd.detail.newFlag.empty()) fd.detail.newFlag = "0";
            out.push_back(std::move(fd));
        } else if (kind == "S") {
            if (out.empty()) return where("订户行之前没有订购明细行");
            out.back().detail.subs.push_back(
                {r.field(1), r.field(2), r.field(3), r.field(4), r.field(5), {}, {}});
        } else if (kind == "F" || kind == "T") {
            if (out.empty() || out.back().detail.subs.empty())
                return where("经费或分配行之前没有订户行");
            OrdSubscriber& s = out.back().detail.subs.back();
            if (kind == "F")
                s.funds.push_back({r.field(1), r.field(2), r.field(3), r.field(4)});
            else
                s.dists.push_back({r.field(1), r.field(2), r.field(3)});
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

int intReadOrdText(const std::string& path, std::string& text, std::string& error) {
    std::ifstream f(path, std::ios::binary);
    if (!f) {
        error = "无法读取文件 " + path;
        return -1;
    }
    std::stringstream in;
    in << f.rdbuf();
    text = in.str();
    if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);
    // Chinese spreadsheets save CSV in GBK; a text that is neither is refused, not guessed at.
    if (!isValidUtf8(text)) {
        text = gbkToUtf8(text);
        if (text.find("\xEF\xBF\xBD") != std::string::npos) {
            error = "文件 " + path + " 既不是 UTF-8 也不是 GBK 编码的文本，无法读取";
            return -1;
        }
    }
    return 0;
}

int intReadOrdFile(const std::string& path, std::vector<OrdFileDetail>& out, std::string& error) {
    std::string text;
    if (intReadOrdText(path, text, error) < 0) return -1;
    return intParseOrdFile(text, out, error);
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
    OrdCodeTables codes;
    if (intLoadOrdCodeTables(codes) < 0) {
        error = g_ErrInfo.strDesc;
        return -1;
    }
    std::set<std::pair<std::string, std::string>> known;
    for (OrdFileDetail& f : details) {
        OrdDetail& d = f.detail;
        NormalizeOrdNumbers(d);
        FillDerivedValues(d);
        const auto cata = std::make_pair(d.pub, d.ordYear);
        // A code missing from its table is reported with everything else the detail lacks.
        bool ok = true;
        if (std::vector<std::string> wrong = OrdCodeErrors(d, codes); !wrong.empty()) {
            std::vector<std::string> all = OrdDetailErrors(d);
            all.insert(all.end(), wrong.begin(), wrong.end());
            LIB_ShowMsg("E" + strOrdErrorText(all, d.asordNo));
            ok = false;
        }
        if (ok && !known.count(cata)) {
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
