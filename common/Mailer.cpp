#include "common/Mailer.h"

#include <curl/curl.h>

#include <cctype>
#include <chrono>
#include <cstring>
#include <ctime>
#include <fstream>
#include <mutex>
#include <random>
#include <sstream>

#include "common/IniFile.h"
#include "common/OperatorState.h"
#include "common/basQKEnv.h"
#include "db/basLibDB.h"

std::string QK_strSmtpAddr;
bool QK_bolSmtp = false;
MailAccount g_mailAccount;

void readMailSettings(const std::string& iniPath) {
    auto ini = IniFile::load(iniPath);
    IniFile empty = IniFile::parse("");
    const IniFile& f = ini ? *ini : empty;
    QK_strSmtpAddr = f.get("MAIL", "SMTP");
    QK_bolSmtp = f.get("MAIL", "USE_SMTP") == "1" && !QK_strSmtpAddr.empty();
    g_mailAccount.user = f.get("MAIL", "USER");
    g_mailAccount.password = LIB_DecodePassword(f.get("MAIL", "PASSWORD"));
    g_mailAccount.tls = f.get("MAIL", "TLS") == "1";
    g_mailAccount.from = f.get("MAIL", "FROM");
    g_mailAccount.fromName = f.get("MAIL", "FROM_NAME");
    g_mailAccount.telephone = f.get("MAIL", "TELE");
}

int prepareSupplierMail(const std::string& publCode, SupplierMail& mail) {
    readMailSettings(g_strPath[0] + "mavren.ini");
    LibArray publ, wkr;
    if (LIB_DB_Select(
            "select publ_email,publ_name from publish_busi where publ_code=" + LIB_SqlStr(publCode),
            publ) < 0 ||
        LIB_DB_Select("SELECT wkr_name,wkr_email,wkr_tele FROM lib_worker WHERE wkr_no=" +
                          LIB_SqlStr(g_strWkrNo),
                      wkr) < 0)
        return -1;
    mail = {};
    mail.to = publ.recordCount() ? publ(0, 2).str() : "";
    mail.toName = publ.recordCount() ? publ(1, 2).str() : "";
    const std::string name = wkr.recordCount() ? wkr(0, 2).str() : "";
    const std::string email = wkr.recordCount() ? wkr(1, 2).str() : "";
    mail.telephone = wkr.recordCount() ? wkr(2, 2).str() : "";
    mail.from = email.empty() ? g_mailAccount.from : email;
    mail.fromName = g_mailAccount.fromName.empty() ? name : g_mailAccount.fromName;
    if (mail.telephone.empty()) mail.telephone = g_mailAccount.telephone;
    return 0;
}

std::string mailProblem(const SupplierMail& mail) {
    if (mail.from.empty()) return "请输入完整的发信人信息！";
    if (mail.to.empty()) return "请输入完整的收信人信息！";
    if (mail.subject.find_first_not_of(' ') == std::string::npos) return "请输入主题！";
    return "";
}

int sendSupplierMail(const SupplierMail& mail, const std::vector<std::string>& attachments,
                     std::string& error) {
    readMailSettings(g_strPath[0] + "mavren.ini");
    if (!QK_bolSmtp) {
        error = "未设置邮件服务器（mavren.ini 的 [MAIL] 节）。";
        return -1;
    }
    return sendMailWith(QK_strSmtpAddr, g_mailAccount, mail, attachments, error);
}

int sendMailWith(const std::string& server, const MailAccount& account, const SupplierMail& mail,
                 const std::vector<std::string>& attachments, std::string& error) {
    Mailer m;
    m.From = mail.from;
    m.FromName = mail.fromName;
    m.Subject = mail.subject;
    m.Body = mail.body;
    m.MailServerUserName = account.user;
    m.MailServerPassWord = account.password;
    m.RequireTls = account.tls;
    m.AddRecipient(mail.to, mail.toName);
    if (mail.copyToMe && mail.from != mail.to) m.AddRecipient(mail.from, mail.fromName);
    for (const std::string& a : attachments)
        m.AddAttachment(a);
    if (m.Send(server) == 0) return 0;
    error = m.error();
    return -1;
}

int writeMailSettings(const std::string& iniPath, const std::string& server, bool use,
                      const MailAccount& account, std::string& error) {
    std::string kept;
    {
        std::ifstream in(iniPath, std::ios::binary);
        std::string line;
        bool inMail = false;
        while (std::getline(in, line)) {
            std::string t = line;
            t.erase(0, t.find_first_not_of(" \t"));
            if (!t.empty() && t[0] == '[') {
                std::string name = t.substr(1, t.find(']') - 1);
                for (char& c : name)
                    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
                inMail = name == "MAIL";
            }
            if (!inMail) kept += line + "\n";
        }
    }
    // A value runs to the end of its line: a line break in one would start another key.
    for (const std::string* v :
         {&server, &account.user, &account.from, &account.fromName, &account.telephone})
        if (v->find_first_of("\r\n") != std::string::npos) {
            error = "设置中不能含有换行。";
            return -1;
        }
    if (!kept.empty() && kept.back() != '\n') kept += "\n";
    kept += "[MAIL]\nSMTP=" + server + "\nUSE_SMTP=" + (use ? "1" : "0") +
            "\nUSER=" + account.user + "\nPASSWORD=" + LIB_EncodePassword(account.password) +
            "\nTLS=" + (account.tls ? "1" : "0") + "\nFROM=" + account.from +
            "\nFROM_NAME=" + account.fromName + "\nTELE=" + account.telephone + "\n";
    std::ofstream out(iniPath, std::ios::binary | std::ios::trunc);
    out << kept;
    out.close();
    if (!out) {
        error = "写入文件失败 " + iniPath;
        return -1;
    }
    return 0;
}

std::string base64Encode(const std::string& data, bool wrap) {
    static const char* const kDigits =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve(data.size() * 4 / 3 + data.size() / 38 + 4);
    std::size_t line = 0;
    for (std::size_t i = 0; i < data.size(); i += 3) {
        unsigned n = static_cast<unsigned char>(data[i]) << 16;
        if (i + 1 < data.size()) n |= static_cast<unsigned char>(data[i + 1]) << 8;
        if (i + 2 < data.size()) n |= static_cast<unsigned char>(data[i + 2]);
        out += kDigits[(n >> 18) & 63];
        out += kDigits[(n >> 12) & 63];
        out += i + 1 < data.size() ? kDigits[(n >> 6) & 63] : '=';
        out += i + 2 < data.size() ? kDigits[n & 63] : '=';
        line += 4;
        if (wrap && line >= 76 && i + 3 < data.size()) {
            out += "\r\n";
            line = 0;
        }
    }
    return out;
}

namespace {

bool isAscii(const std::string& s) {
    for (unsigned char c : s)
        if (c >= 0x80 || c < 0x20) return false;
    return true;
}

std::string encodedWord(const std::string& text, const std::string& charset) {
    if (isAscii(text)) return text;
    return "=?" + charset + "?B?" + base64Encode(text) + "?=";
}

std::string mailbox(const std::string& address, const std::string& name,
                    const std::string& charset) {
    if (name.empty()) return "<" + address + ">";
    return encodedWord(name, charset) + " <" + address + ">";
}

std::string baseName(const std::string& path) {
    auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string contentType(const std::string& name) {
    auto dot = name.find_last_of('.');
    std::string ext = dot == std::string::npos ? "" : name.substr(dot + 1);
    if (ext == "xlsx") return "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet";
    if (ext == "xls") return "application/vnd.ms-excel";
    if (ext == "pdf") return "application/pdf";
    if (ext == "csv" || ext == "txt") return "text/plain";
    return "application/octet-stream";
}

std::string rfc2822Date() {
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    gmtime_r(&now, &tm);
    char buf[64];
    std::strftime(buf, sizeof buf, "%a, %d %b %Y %H:%M:%S +0000", &tm);
    return buf;
}

struct Upload {
    const std::string* text;
    std::size_t pos = 0;
};

std::size_t readChunk(char* buffer, std::size_t size, std::size_t items, void* user) {
    auto* up = static_cast<Upload*>(user);
    std::size_t n = std::min(size * items, up->text->size() - up->pos);
    std::memcpy(buffer, up->text->data() + up->pos, n);
    up->pos += n;
    return n;
}

std::string serverUrl(const std::string& server) {
    if (server.find("://") != std::string::npos) return server;
    return "smtp://" + server;
}

}  // namespace

void Mailer::AddRecipient(const std::string& address, const std::string& name) {
    to_.push_back({address, name});
}

void Mailer::AddAttachment(const std::string& path) {
    attachments_.push_back(path);
}

std::string Mailer::message() {
    std::random_device rd;
    std::string boundary = "=_serials_" + std::to_string(rd()) + std::to_string(rd());
    std::ostringstream m;
    m << "Date: " << rfc2822Date() << "\r\n";
    m << "From: " << mailbox(From, FromName, Charset) << "\r\n";
    m << "To: ";
    for (std::size_t i = 0; i < to_.size(); ++i)
        m << (i ? ", " : "") << mailbox(to_[i].address, to_[i].name, Charset);
    m << "\r\n";
    m << "Subject: " << encodedWord(Subject, Charset) << "\r\n";
    m << "MIME-Version: 1.0\r\n";
    m << "Content-Type: multipart/mixed; boundary=\"" << boundary << "\"\r\n\r\n";
    m << "--" << boundary << "\r\n";
    m << "Content-Type: text/plain; charset=" << Charset << "\r\n";
    m << "Content-Transfer-Encoding: base64\r\n\r\n";
    m << base64Encode(Body, true) << "\r\n";
    for (const std::string& path : attachments_) {
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            error_ = "无法读取附件 " + path;
            return "";
        }
        std::stringstream data;
        data << in.rdbuf();
        std::string name = encodedWord(baseName(path), Charset);
        m << "--" << boundary << "\r\n";
        m << "Content-Type: " << contentType(baseName(path)) << "; name=\"" << name << "\"\r\n";
        m << "Content-Transfer-Encoding: base64\r\n";
        m << "Content-Disposition: attachment; filename=\"" << name << "\"\r\n\r\n";
        m << base64Encode(data.str(), true) << "\r\n";
    }
    m << "--" << boundary << "--\r\n";
    return m.str();
}

int Mailer::Send(const std::string& server) {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    error_.clear();
    if (to_.empty()) {
        error_ = "没有收信人";
        return -1;
    }
    std::string text = message();
    if (!error_.empty()) return -1;

    CURL* curl = curl_easy_init();
    if (!curl) {
        error_ = "无法初始化邮件发送";
        return -1;
    }
    char errbuf[CURL_ERROR_SIZE] = {0};
    curl_slist* rcpt = nullptr;
    for (const Recipient& r : to_)
        rcpt = curl_slist_append(rcpt, ("<" + r.address + ">").c_str());
    std::string url = serverUrl(server);
    std::string from = "<" + From + ">";
    Upload up{&text};
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_MAIL_FROM, from.c_str());
    curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, rcpt);
    curl_easy_setopt(curl, CURLOPT_READFUNCTION, readChunk);
    curl_easy_setopt(curl, CURLOPT_READDATA, &up);
    curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errbuf);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 20L);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, 120L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    if (!MailServerUserName.empty()) {
        curl_easy_setopt(curl, CURLOPT_USERNAME, MailServerUserName.c_str());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, MailServerPassWord.c_str());
    }
    if (RequireTls) curl_easy_setopt(curl, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
    CURLcode rc = curl_easy_perform(curl);
    if (rc != CURLE_OK) error_ = errbuf[0] ? errbuf : curl_easy_strerror(rc);
    curl_slist_free_all(rcpt);
    curl_easy_cleanup(curl);
    return rc == CURLE_OK ? 0 : -1;
}
