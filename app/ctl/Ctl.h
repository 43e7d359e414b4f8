// serialsctl: the command line for administrators and scheduled jobs. Each area adds its verbs
// to the one table; a verb gets its own arguments (global options already taken) and returns the
// process exit code.
#pragma once

#include <functional>
#include <string>
#include <vector>

struct CtlVerb {
    std::string name;
    std::string usage;    // "query SQL"
    std::string summary;  // one line for the help text
    // True when the verb needs the database session opened the way the client opens it.
    bool needsSession = true;
    // The right the operator needs (after logging in with --user/--password); null when the
    // verb runs without an operator.
    const char* right = nullptr;
    std::function<int(const std::vector<std::string>& args)> run;
};

std::vector<CtlVerb>& ctlVerbs();

// Verbs of the foundation: init-db, query, exec, call, encode-password, version.
void registerBaseVerbs();
// upgrade-db.
void registerUpgradeVerbs();
// The operator's verbs: whoami, passwd, log.
void registerOperatorVerbs();
// Ordering: order catalogues, show, import, delete, renew, batch.
void registerOrderVerbs();
// The order manager's verbs (send, unsend, progress, print, export, mail, refresh-prices,
// standard, rename, move, copy), reached through "order"; -1 when `verb` is none of them.
extern const char* const kOrderManagerUsage;
int runOrderManagerVerb(const std::string& verb, const std::vector<std::string>& args);
// order search: orders or pre-orders across catalogues.
extern const char* const kOrderSearchUsage;
int runOrderSearch(const std::vector<std::string>& args);
// marc import/export/show/dump/search.
void registerMarcVerbs();
// checkin issues/receive/undo/search.
void registerCheckinVerbs();
// Check-in configuration: checkin predict (no database), checkin config.
void registerCheckinConfigVerbs();
// Binding and accession: bind, accession, callno.
void registerBindingVerbs();
// Claims: claims list, record, mail.
void registerClaimVerbs();
// Statistical reports: report NAME.
void registerReportVerbs();

// The operator named by --user/--password or SERIALS_USER/SERIALS_PASSWORD.
struct CtlLogin {
    std::string user;
    std::string password;
};
CtlLogin& ctlLogin();

// Opens the session the way the client does (environment, database, parameters); a failing
// step is reported and ends the program. With a right, the operator of --user/--password then
// logs in and must hold it; false when the login or the right was refused (already reported).
bool ctlStartSession(const char* right = nullptr);

// Prints a result as a table: a header of names, then the rows, columns aligned for CJK text.
struct LibArrayPrinter {
    static std::string format(const class LibArray& a);
};
