#include "binding/core/basCallNo.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "binding/core/BindDb.h"
#include "common/basSysPara.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"

using binddb::cell;
using binddb::kDbFailed;
using binddb::refuse;

namespace {

std::string q(const std::string& v) {
    return LIB_SqlStr(v);
}

std::string classWhere(const ClassKey& k) {
    return " WHERE cls_id=" + q(k.clsId) + " AND doc_type_code=" + q(k.docType) +
           " AND cls_no=" + q(k.clsNo) + " AND grp_code=" + q(k.grpCode);
}

std::string classArgs(const ClassKey& k) {
    return q(k.docType) + "," + q(k.clsId) + "," + q(k.clsNo) + "," + q(k.grpCode);
}

// Takes the next serial inside the caller's transaction.
int takeSerial(const ClassKey& k, int& serial) {
    LIB_DB_ParamAdd("SERIAL", 0, kParamOutput);
    int rc = LIB_DB_Execute("Begin update01_max_class_serial(" + classArgs(k) + ",:SERIAL); end;");
    serial = static_cast<int>(LIB_DB_ParamValue("SERIAL").integer());
    LIB_DB_ParamRemove("SERIAL");
    return rc;
}

// The characters of a UTF-8 text, one string each.
std::vector<std::string> characters(const std::string& s) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        std::size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        out.push_back(s.substr(i, n));
        i += n;
    }
    return out;
}

// Pinyin of each character the pinyin table knows (the first reading).
std::map<std::string, std::string> pinyinOf(const std::vector<std::string>& chars) {
    std::map<std::string, std::string> out;
    if (chars.empty()) return out;
    LibArray a;
    if (LIB_DB_Select(
            "SELECT hz,py FROM pytable WHERE hz IN " + binddb::inList(chars) + " ORDER BY py DESC",
            a) < 0)
        return out;
    for (int i = 0; i < a.recordCount(); ++i) {
        std::string py = cell(a, 1, i);
        std::transform(py.begin(), py.end(), py.begin(), ::tolower);
        out[cell(a, 0, i)] = py;
    }
    return out;
}

std::string pad3(const std::string& n) {
    return n.size() >= 3 ? n : std::string(3 - n.size(), '0') + n;
}

}  // namespace

std::string strCallNoSeparator() {
    std::string s = LIB_GetSysPara(21).str();
    return s.empty() ? "/" : s;
}

std::string strCallNoClass(const std::string& callNo) {
    return callNo.substr(0, callNo.find(strCallNoSeparator()));
}

int intUsedCallNos(const std::string& classNo, std::vector<std::string>& callNos) {
    LibArray a;
    if (LIB_DB_Select("SELECT call_no FROM call_no_lst WHERE call_no like " +
                          q(classNo + strCallNoSeparator() + "%") + " ORDER BY call_no",
                      a) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    callNos.clear();
    for (int i = 0; i < a.recordCount(); ++i)
        callNos.push_back(cell(a, 0, i));
    return 0;
}

int intProposeClassSerial(const ClassKey& k, int& serial) {
    LibArray a;
    if (LIB_DB_Select(" SELECT doc_type_code,cls_id,cls_no,class_prefix,max_serial FROM "
                      "max_class_serial " +
                          classWhere(k),
                      a) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    if (a.recordCount() > 0) {
        serial = static_cast<int>(a(4, 2).integer()) + 1;
        return 0;
    }
    if (LIB_ShowMsg("Q未检索到" + k.clsNo + "类的最大号\r\n    分类种次表中新增该分类？") != kMsgOk)
        return 1;
    int rc = binddb::inTransaction(
        [&]() { return LIB_DB_CallProc("INSERT_max_class_serial " + classArgs(k) + "," + q("")); });
    if (rc < 0) return -1;
    serial = 1;
    return 0;
}

int intTakeClassSerial(const ClassKey& k, int& serial) {
    return binddb::inTransaction([&]() { return takeSerial(k, serial); });
}

int intListClassSerials(const std::string& clsId, std::vector<ClassSerial>& series) {
    LibArray a;
    if (LIB_DB_Select("SELECT doc_type_code,cls_id,cls_no,grp_code,class_prefix,max_serial FROM "
                      "max_class_serial" +
                          (clsId.empty() ? std::string() : " WHERE cls_id=" + q(clsId)) +
                          " ORDER BY cls_id,cls_no,doc_type_code,grp_code",
                      a) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    series.clear();
    for (int i = 0; i < a.recordCount(); ++i)
        series.push_back({{cell(a, 0, i), cell(a, 1, i), cell(a, 2, i), cell(a, 3, i)},
                          cell(a, 4, i),
                          static_cast<int>(binddb::number(a, 5, i))});
    return 0;
}

namespace {

// The highest serial the class has given out as a call number "class/serial"; 0: none.
int highestUsedSerial(const ClassKey& k, int& highest) {
    LibArray a;
    if (LIB_DB_Select("SELECT call_no FROM call_no_lst WHERE call_no like " +
                          q(k.clsNo + strCallNoSeparator() + "%"),
                      a) < 0)
        return kDbFailed;
    highest = 0;
    const std::size_t from = k.clsNo.size() + strCallNoSeparator().size();
    for (int i = 0; i < a.recordCount(); ++i) {
        std::string book = cell(a, 0, i).substr(from);
        if (!book.empty() && book.size() < 10 &&
            std::all_of(book.begin(), book.end(), [](unsigned char c) { return std::isdigit(c); }))
            highest = std::max(highest, std::stoi(book));
    }
    return 0;
}

bool validKey(const ClassKey& k) {
    return !k.docType.empty() && !k.clsId.empty() && !k.clsNo.empty() && !k.grpCode.empty();
}

}  // namespace

int intSaveClassSerial(const ClassSerial& row, bool isNew) {
    if (!validKey(row.key)) {
        LIB_ShowMsg("E分类号不能为空。");
        return -1;
    }
    if (row.maxSerial < 0) {
        LIB_ShowMsg("E最大种次号不能小于零。");
        return -1;
    }
    return binddb::inTransaction([&]() {
        LibArray a;
        // The same lock as taking a serial: no workstation takes one while this is written.
        if (LIB_DB_Select(" SELECT doc_type_code,cls_id,cls_no,class_prefix,max_serial FROM "
                          "max_class_serial " +
                              classWhere(row.key) + " FOR UPDATE",
                          a) < 0)
            return kDbFailed;
        if (isNew && a.recordCount() > 0) return refuse("E" + row.key.clsNo + "类已有种次号！");
        if (!isNew && a.recordCount() == 0)
            return refuse("E未检索到" + row.key.clsNo + "类的最大号");
        int highest = 0;
        if (highestUsedSerial(row.key, highest) < 0) return kDbFailed;
        if (row.maxSerial < highest)
            return refuse("E" + row.key.clsNo + "类已取到种次号" + std::to_string(highest) +
                          "，最大种次号不能小于它！");
        if (isNew && LIB_DB_CallProc("INSERT_max_class_serial " + classArgs(row.key) + "," +
                                     q(row.prefix)) < 0)
            return kDbFailed;
        return LIB_DB_Execute("UPDATE max_class_serial SET class_prefix=" + q(row.prefix) +
                              ",max_serial=" + std::to_string(row.maxSerial) + classWhere(row.key));
    });
}

int intDeleteClassSerial(const ClassKey& k) {
    if (LIB_ShowMsg("Q是否确认删除" + k.clsNo + "类的种次号？") != kMsgOk) return 1;
    return binddb::inTransaction([&]() {
        LibArray a;
        if (LIB_DB_Select(
                " SELECT max_serial FROM max_class_serial " + classWhere(k) + " FOR UPDATE", a) < 0)
            return kDbFailed;
        int highest = 0;
        if (highestUsedSerial(k, highest) < 0) return kDbFailed;
        if (highest > 0) return refuse("E" + k.clsNo + "类已有索书号，不能删除！");
        return LIB_DB_Execute("DELETE FROM max_class_serial" + classWhere(k));
    });
}

int intConfirmCallNo(const std::string& marcRecNo, std::string& callNo,
                     const ClassKey* serialFrom) {
    std::string result = callNo;
    int rc = binddb::inTransaction([&]() {
        if (serialFrom) {
            int serial = 0;
            if (takeSerial(*serialFrom, serial) < 0) return kDbFailed;
            result = strCallNoClass(callNo) + strCallNoSeparator() + std::to_string(serial);
        }
        LibArray a;
        if (LIB_DB_Select("SELECT call_no FROM call_no_lst WHERE call_no=" + q(result) +
                              " AND marc_rec_no<>" + q(marcRecNo),
                          a) < 0)
            return kDbFailed;
        if (a.recordCount() > 0) return binddb::refuse("EQK640" + result);
        if (LIB_DB_Select("SELECT call_no FROM call_no_lst WHERE call_no=" + q(result), a) < 0)
            return kDbFailed;
        if (a.recordCount() > 0) return 0;  // the record has it already
        return LIB_DB_CallProc("insert_call_no_lst " + q(result) + "," + q(marcRecNo) + "," +
                               q(serialFrom ? serialFrom->clsId : ""));
    });
    if (rc == 0) callNo = result;
    return rc;
}

std::string GetAuthWord(const std::string& name) {
    std::vector<std::string> chars = characters(name);
    std::vector<std::string> prefixes;
    std::string p;
    for (const std::string& c : chars)
        prefixes.push_back(p += c);
    if (prefixes.empty()) return "";
    LibArray a;
    if (LIB_DB_Select("SELECT chn_char FROM auth_char WHERE chn_char IN " +
                          binddb::inList(prefixes) + " ORDER BY LENGTH(chn_char) DESC",
                      a) < 0 ||
        a.recordCount() == 0)
        return "";
    return cell(a, 0, 0);
}

std::string GetAuthPeiHao(const std::string& name) {
    std::string word = GetAuthWord(name);
    if (word.empty()) return "";
    std::vector<std::string> chars = characters(name);
    std::map<std::string, std::string> py = pinyinOf(chars);
    std::string spelled;
    for (const std::string& c : chars)
        spelled += py.count(c) ? py[c] : "";
    std::string sql = "SELECT code_num,fufen_no FROM auth_char  WHERE chn_char = " + q(word);
    if (!spelled.empty()) sql += " AND top_py<=" + q(spelled) + " AND btm_py>=" + q(spelled);
    LibArray a;
    if (LIB_DB_Select(sql + " ORDER BY top_py", a) < 0 || a.recordCount() == 0) return "";
    return cell(a, 0, 0);
}

std::string GetAuthFuFen(const std::string& name) {
    std::string word = GetAuthWord(name);
    std::vector<std::string> chars = characters(name);
    std::size_t used = characters(word).size();
    if (word.empty() || used >= chars.size()) return "";
    std::map<std::string, std::string> py = pinyinOf({chars[used]});
    if (py.empty() || py.begin()->second.empty()) return "";
    std::string initial(1, static_cast<char>(std::toupper(py.begin()->second[0])));
    LibArray a;
    if (LIB_DB_Select("SELECT fufen_no FROM auth_char WHERE chn_char=" + q(word), a) < 0 ||
        a.recordCount() == 0)
        return "";
    std::string fufenNo = cell(a, 0, 0);
    if (LIB_DB_Select("SELECT num FROM auth_fufen WHERE fufen_no=" + q(fufenNo) + " AND NameType=" +
                          q(chars.size() == 2 ? "D" : "S") + " AND inial=" + q(initial),
                      a) < 0 ||
        a.recordCount() == 0)
        return "";
    return cell(a, 0, 0);
}

std::string strWesternAuthorNumber(const std::string& name) {
    std::string up;
    for (char c : name)
        if (std::isalpha(static_cast<unsigned char>(c)))
            up += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (up.rfind("MC", 0) == 0) up = "MAC" + up.substr(2);
    std::vector<std::string> prefixes;
    for (std::size_t n = 1; n <= up.size(); ++n)
        prefixes.push_back(up.substr(0, n));
    if (prefixes.empty()) return "";
    LibArray a;
    if (LIB_DB_Select("SELECT auth_name,auth_code FROM cartable  WHERE auth_name IN " +
                          binddb::inList(prefixes) + " ORDER BY LENGTH(auth_name) DESC",
                      a) < 0 ||
        a.recordCount() == 0)
        return "";
    return cell(a, 1, 0);
}

bool bolChineseAuthorTables() {
    return LIB_GetSysPara(20).str().rfind("C", 0) == 0;
}

std::string strAuthorNumber(const std::string& name) {
    return strAuthorNumber(name, bolChineseAuthorTables());
}

std::string strAuthorNumber(const std::string& name, bool chinese) {
    if (!chinese) return strWesternAuthorNumber(name);
    std::string code = GetAuthPeiHao(name);
    if (code.empty()) return "";
    std::string extra = GetAuthFuFen(name);
    return pad3(code) + (extra.empty() ? "" : "/" + pad3(extra));
}
