// Mail to suppliers and readers: a message with a plain-text body and file attachments, sent
// over SMTP through libcurl. The text goes out base64-encoded in UTF-8 (subject and names as
// encoded words), so Chinese arrives intact whatever the server passes through.
#pragma once

#include <string>
#include <vector>

// Mail settings of the workstation, from the [MAIL] section of mavren.ini: SMTP (the server,
// "host[:port]" or an smtp:// or smtps:// address), USE_SMTP (1: mail is used), USER and
// PASSWORD (the account, the password in its stored form or plain), TLS (1: the connection must
// be encrypted), FROM, FROM_NAME and TELE (the sender and contact telephone when the operator
// has none).
extern std::string QK_strSmtpAddr;
extern bool QK_bolSmtp;
struct MailAccount {
    std::string user, password;
    bool tls = false;
    std::string from, fromName, telephone;
};
extern MailAccount g_mailAccount;
// Reads the settings from `iniPath`; a missing file or section leaves mail switched off.
void readMailSettings(const std::string& iniPath);

// A mail to a distributor as the mail screens show it before it goes.
struct SupplierMail {
    std::string from, fromName, to, toName, subject, body, telephone;
    bool copyToMe = false;
};
// Reads the workstation's mail settings and fills the sender and telephone from the logged-in
// operator (lib_worker), falling back to the settings, and the recipient from publish_busi.
// 0, or -1 with the failure in g_ErrInfo.
int prepareSupplierMail(const std::string& publCode, SupplierMail& mail);
// The mail screens' checks, in order: the message of the first that fails, or "".
std::string mailProblem(const SupplierMail& mail);
// Sends the mail with its attachments through the settings' server and account (and a copy to
// the sender when asked). 0, or -1 with the reason in `error`.
int sendSupplierMail(const SupplierMail& mail, const std::vector<std::string>& attachments,
                     std::string& error);
// The same through the given server and account, whatever the settings say.
int sendMailWith(const std::string& server, const MailAccount& account, const SupplierMail& mail,
                 const std::vector<std::string>& attachments, std::string& error);

// Replaces the [MAIL] section of `iniPath` (the other sections stay as they are) with these
// settings, the password in its stored form. 0, or -1 with the reason in `error`.
int writeMailSettings(const std::string& iniPath, const std::string& server, bool use,
                      const MailAccount& account, std::string& error);

class Mailer {
public:
    std::string From, FromName, Subject, Body;
    std::string Charset = "UTF-8";
    std::string MailServerUserName, MailServerPassWord;
    bool RequireTls = false;

    void AddRecipient(const std::string& address, const std::string& name = "");
    // The file is read when the message is built; its name is the attachment's name.
    void AddAttachment(const std::string& path);
    // Sends to every recipient through `server`; 0, or -1 with the transport's text in error().
    int Send(const std::string& server);
    const std::string& error() const { return error_; }

    // The whole message as it goes over the wire; empty with error() set when an attachment
    // cannot be read.
    std::string message();

private:
    struct Recipient {
        std::string address, name;
    };
    std::vector<Recipient> to_;
    std::vector<std::string> attachments_;
    std::string error_;
};

// Base64 of `data`, in lines of 76 characters separated by CR LF when `wrap`.
std::string base64Encode(const std::string& data, bool wrap = false);
