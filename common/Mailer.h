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
