// serialsctl verbs of binding and accession: find titles to bind and create their binding
// records, keep the binder's batches, send them and check the volumes back, accession bound
// volumes and single issues, undo an accession, and take call numbers. They call the same core
// as the screens, so the whole road from checked-in issues to an accessioned volume runs
// without the client.
#include <iostream>
#include <map>
#include <set>

#include "app/ctl/Ctl.h"
#include "binding/core/BindList.h"
#include "binding/core/basBindFunc.h"
#include "binding/core/basCallNo.h"
#include "binding/core/basStoreFunc.h"
#include "common/RightCodes.h"
#include "common/print/ListPrint.h"
#include "db/basLibDB.h"

namespace {

// Arguments split into positional words, options with a value and flags.
struct Args {
    std::vector<std::string> words;
    std::map<std::string, std::string> options;
    std::set<std::string> flags;
    std::string get(const std::string& name, const std::string& fallback = "") const {
        auto it = options.find(name);
        return it == options.end() ? fallback : it->second;
    }
};

Args parse(const std::vector<std::string>& args, const std::set<std::string>& flagNames) {
    Args a;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i].rfind("--", 0) != 0) {
            a.words.push_back(args[i]);
        } else if (flagNames.count(args[i])) {
            a.flags.insert(args[i]);
        } else if (i + 1 < args.size()) {
            a.options[args[i]] = args[i + 1];
            ++i;
        } else {
            a.words.push_back(args[i]);  // a dangling option: reported as bad usage
        }
    }
    return a;
}

int usage(const char* text) {
    std::cerr << "用法: serialsctl " << text << "\n";
    return 2;
}

int status(int rc) {
    return rc < 0 ? 1 : 0;
}

const char* const kBindUsage =
    "bind find TEXT [--by title|publ|asord] [--year YYYY] [--keep] | "
    "bind create TEXT --binder CODE --batch NO --year YYYY [--keep] [--copies N] [--by ...] | "
    "bind batch BINDER BATCH [--remark TEXT] | bind list [BINDER BATCH] [--pdf FILE] | "
    "bind send BINDER BATCH | bind receive BINDNO [--undo] | bind delete BINDNO...";

BindSearch searchFrom(const Args& a) {
    BindSearch s;
    std::string by = a.get("--by", "title");
    s.field = by == "publ"    ? BindSearchField::PublCode
              : by == "asord" ? BindSearchField::AsordNo
                              : BindSearchField::IndexGroup;
    s.text = a.words.size() > 1 ? a.words[1] : "";
    s.year = a.get("--year");
    s.keep = a.flags.count("--keep") > 0;
    return s;
}

void printTitles(const std::vector<BindTitle>& titles) {
    for (const BindTitle& t : titles)
        std::cout << t.marcRecNo << "  " << t.title << "  " << t.publCode << "/" << t.periOrdYear
                  << "/" << t.asordNo << "  " << t.location << "/" << t.disLocation << "  "
                  << t.issues << " 期 " << t.copies << " 册\n";
}

void printRecord(const BindRecord& r) {
    static const char* const flags[] = {"在装订", "已验收", "已入藏"};
    std::cout << r.bindNo << "  " << r.title << "  " << r.bgnEndYear << "  " << r.bgnEndVol << "  "
              << r.qtyOfBind << " 期  " << r.callNo << "  " << r.binder << "/" << r.batchNo << "  "
              << (r.boundFlag >= 0 && r.boundFlag <= 2 ? flags[r.boundFlag] : "") << "\n";
}

// The binding list with its slips, written to a PDF file.
int listToPdf(const std::string& binder, const std::string& batchNo, const std::string& path) {
    PrintSession print;
    QString html;
    if (intBindListHtml(binder, batchNo, html) < 0) return 1;
    if (!printedListToPdf(html, QString::fromStdString(path))) {
        std::cerr << "无法写入文件：" << path << "\n";
        return 1;
    }
    return 0;
}

int bind(const std::vector<std::string>& raw) {
    Args a = parse(raw, {"--keep", "--undo"});
    if (a.words.empty()) return usage(kBindUsage);
    const std::string& what = a.words[0];
    if (what == "find" && a.words.size() == 2) {
        std::vector<BindTitle> titles;
        if (intFindBindTitles(searchFrom(a), titles) < 0) return 1;
        printTitles(titles);
        return 0;
    }
    if (what == "create" && a.words.size() == 2) {
        std::vector<BindTitle> titles;
        if (intFindBindTitles(searchFrom(a), titles) < 0) return 1;
        BindCreate r;
        r.binder = a.get("--binder");
        r.batchNo = a.get("--batch");
        r.keep = a.flags.count("--keep") > 0;
        r.year = a.get("--year");
        r.copies = static_cast<int>(LibVar(a.get("--copies", "1")).integer());
        std::vector<std::string> nos;
        if (intCreateBindRecords(r, titles, nos) < 0) return 1;
        for (const std::string& no : nos)
            std::cout << no << "\n";
        return 0;
    }
    if (what == "batch" && a.words.size() == 3)
        return status(intSaveBindBatch({a.words[1], a.words[2], a.get("--remark"), "", ""}));
    if (what == "list" && (a.words.size() == 1 || a.words.size() == 3)) {
        std::string binder = a.words.size() == 3 ? a.words[1] : "";
        std::string batchNo = a.words.size() == 3 ? a.words[2] : "";
        if (!a.get("--pdf").empty()) return listToPdf(binder, batchNo, a.get("--pdf"));
        std::vector<BindRecord> records;
        if (intListBindRecords(binder, batchNo, records) < 0) return 1;
        for (const BindRecord& r : records)
            printRecord(r);
        return 0;
    }
    if (what == "send" && a.words.size() == 3)
        return status(intSendBindBatch(a.words[1], a.words[2]));
    if (what == "receive" && a.words.size() == 2)
        return status(intCheckBound(a.words[1], a.flags.count("--undo") > 0));
    if (what == "delete" && a.words.size() >= 2)
        return status(intDeleteBindRecords({a.words.begin() + 1, a.words.end()}));
    return usage(kBindUsage);
}

const char* const kAccessionUsage =
    "accession batch NO CLASS --type bound|single [--remark TEXT] | "
    "accession bound BATCH BINDNO --barcode CODE [--prop NO] [--callno CALLNO] "
    "[--lend-grade CODE] [--circ-type CODE] | "
    "accession single BATCH PERIID LOCATION DISLOCATION ITEMNO --barcode CODE [--prop NO] "
    "[--callno CALLNO] [--lend-grade CODE] [--circ-type CODE] | accession undo PROPNO";

StoreEntry entryFrom(const Args& a) {
    StoreEntry e;
    e.propNo = a.get("--prop");
    e.barCode = a.get("--barcode");
    e.callNo = a.get("--callno");
    e.bookStatCode = a.get("--status", e.bookStatCode);
    e.remark = a.get("--remark");
    e.lendGrade = a.get("--lend-grade");
    e.circType = a.get("--circ-type");
    return e;
}

int printStored(int rc, const StoreEntry& e) {
    if (rc < 0) return 1;
    std::cout << "财产号 " << e.propNo << "  条码号 " << e.barCode << "  索书号 " << e.callNo
              << "\n";
    return 0;
}

int accession(const std::vector<std::string>& raw) {
    Args a = parse(raw, {});
    if (a.words.empty()) return usage(kAccessionUsage);
    const std::string& what = a.words[0];
    if (what == "batch" && a.words.size() == 3) {
        std::string type = a.get("--type");
        if (type != "bound" && type != "single") return usage(kAccessionUsage);
        return status(intSaveCheckAcct(
            {a.words[1], a.words[2], "", "", a.get("--remark"), type == "single" ? 1 : 0}));
    }
    if (what == "bound" && a.words.size() == 3) {
        StoreEntry e = entryFrom(a);
        return printStored(intStoreBound(a.words[1], a.words[2], e), e);
    }
    if (what == "single" && a.words.size() == 6) {
        StoreEntry e = entryFrom(a);
        BoundCopy copy{a.words[2],
                       a.words[3],
                       a.words[4],
                       "",
                       "",
                       "",
                       static_cast<int>(LibVar(a.words[5]).integer())};
        return printStored(intStoreSingle(a.words[1], copy, e), e);
    }
    if (what == "undo" && a.words.size() == 2) return status(intUndoStore(a.words[1]));
    return usage(kAccessionUsage);
}

const char* const kCallNoUsage =
    "callno next CLASS [--scheme CLC] [--doc 11] | "
    "callno assign RECNO CALLNO | callno assign RECNO --class CLASS [--scheme CLC] [--doc 11] | "
    "callno used CLASS | callno author NAME";

ClassKey classFrom(const Args& a, const std::string& classNo) {
    ClassKey k;
    k.docType = a.get("--doc", "11");
    k.clsId = a.get("--scheme", "CLC");
    k.clsNo = classNo;
    return k;
}

int callno(const std::vector<std::string>& raw) {
    Args a = parse(raw, {});
    if (a.words.empty()) return usage(kCallNoUsage);
    const std::string& what = a.words[0];
    if (what == "next" && a.words.size() == 2) {
        ClassKey k = classFrom(a, a.words[1]);
        int proposed = 0, serial = 0;
        int rc = intProposeClassSerial(k, proposed);
        if (rc != 0) return rc < 0 ? 1 : 0;
        if (intTakeClassSerial(k, serial) < 0) return 1;
        std::cout << serial << "\n";
        return 0;
    }
    if (what == "assign" && (a.words.size() == 2 || a.words.size() == 3)) {
        std::string classNo = a.get("--class");
        if ((a.words.size() == 3) == !classNo.empty()) return usage(kCallNoUsage);
        std::string callNo = a.words.size() == 3 ? a.words[2] : classNo;
        ClassKey k = classFrom(a, classNo);
        int proposed = 0;
        if (!classNo.empty()) {
            int rc = intProposeClassSerial(k, proposed);
            if (rc != 0) return rc < 0 ? 1 : 0;
        }
        if (intConfirmCallNo(a.words[1], callNo, classNo.empty() ? nullptr : &k) < 0) return 1;
        std::cout << callNo << "\n";
        return 0;
    }
    if (what == "used" && a.words.size() == 2) {
        std::vector<std::string> used;
        if (intUsedCallNos(a.words[1], used) < 0) return 1;
        for (const std::string& c : used)
            std::cout << c << "\n";
        return 0;
    }
    if (what == "author" && a.words.size() == 2) {
        std::string number = strAuthorNumber(a.words[1]);
        if (number.empty()) {
            std::cerr << "著者号表中没有该著者。\n";
            return 1;
        }
        std::cout << number << "\n";
        return 0;
    }
    return usage(kCallNoUsage);
}

}  // namespace

void registerBindingVerbs() {
    ctlVerbs().push_back({"bind", kBindUsage,
                          "期刊装订：查找可装订的期刊、生成合订本、装订批次、送装、验收、删除",
                          true, rights::kBinding, bind});
    ctlVerbs().push_back({"accession", kAccessionUsage,
                          "合订本与单刊登录入藏：验收批次、入藏、撤销入藏", true,
                          rights::kAccession, accession});
    ctlVerbs().push_back({"callno", kCallNoUsage,
                          "索书号：取分类种次号、给书目记录分配索书号、已用索书号、著者号", true,
                          rights::kAccession, callno});
}
