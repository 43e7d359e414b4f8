// Call numbers: class number, the separator of system parameter 21 ("/"), book number. The book
// number is the class's next serial (max_class_serial) or an author number from the author tables
// (auth_char and auth_fufen for Chinese names, cartable for Western ones). Every call number given
// out is kept in call_no_lst for its record.
#pragma once

#include <string>
#include <vector>

// Which class series a serial comes from.
struct ClassKey {
    std::string docType, clsId, clsNo, grpCode = "01";
};

// Between class number and book number: system parameter 21, "/" when it is empty.
std::string strCallNoSeparator();
// The class number of a call number: the text before the separator.
std::string strCallNoClass(const std::string& callNo);
// Call numbers already given out for the class (F4).
int intUsedCallNos(const std::string& classNo, std::vector<std::string>& callNos);

// The serial a new call number of the class would get (F1). A class with no series asks
// whether to add one and creates it at 0. 0 with the proposal, 1 when the operator declined,
// -1 after the message.
int intProposeClassSerial(const ClassKey& key, int& serial);
// Takes the class's next serial and keeps it, in one transaction.
int intTakeClassSerial(const ClassKey& key, int& serial);

// One class series as class maintenance shows and edits it.
struct ClassSerial {
    ClassKey key;
    std::string prefix;
    int maxSerial = 0;
};
// The series of a classification scheme (empty: every scheme), by class number.
int intListClassSerials(const std::string& clsId, std::vector<ClassSerial>& series);
// Adds a series (`isNew`; refused when the class has one) or rewrites the prefix and last serial
// of one, its row locked for the transaction as taking a serial locks it. The last serial may
// not go below a serial the class has already given out in call_no_lst.
int intSaveClassSerial(const ClassSerial& series, bool isNew);
// Deletes a series after asking; refused once the class has given out a call number. 0
// deleted, 1 not confirmed, -1 refused or failed.
int intDeleteClassSerial(const ClassKey& key);

// Confirms a call number for a record (cmdOk). With `serialFrom`, the book number is the
// class's next serial taken now (so two workstations never share one), and `callNo` is
// rewritten with it. A call number another record has is refused with EQK640.
int intConfirmCallNo(const std::string& marcRecNo, std::string& callNo, const ClassKey* serialFrom);

// The longest leading part of a Chinese name found in auth_char.
std::string GetAuthWord(const std::string& name);
// The author code of a Chinese name: the auth_char entry of its leading part whose pinyin
// range holds the name's pinyin; "" when the table has none.
std::string GetAuthPeiHao(const std::string& name);
// The additional number from auth_fufen for the name's type and the initial of the character
// after the leading part.
std::string GetAuthFuFen(const std::string& name);
// Whether author numbers come from the Chinese tables: system parameter 20 beginning "C";
// otherwise the Western table.
bool bolChineseAuthorTables();
// The author number from the Chinese tables (code and additional number joined by "/", each
// padded to three digits) or from the Western table.
std::string strAuthorNumber(const std::string& name, bool chinese);
// The same from the tables system parameter 20 names.
std::string strAuthorNumber(const std::string& name);
// The Cutter-style number of a Western name ("MC" read as "MAC").
std::string strWesternAuthorNumber(const std::string& name);
