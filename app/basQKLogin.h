// Login and the operator session: the login check against lib_worker and the workstation,
// the rights check, and the password change. The login form and serialsctl both run these;
// the messages reach the operator through the message presenter.
#pragma once

#include <functional>
#include <string>

enum class LoginFailure {
    None,
    NoSuchOperator,      // ECM500
    NotInUse,            // ECM501
    WrongPassword,       // ECM502
    WrongWorkstation,    // ECM503
    MustChangePassword,  // the password is right, but must be changed before logging in
    DatabaseError,       // reported through LIB_DB_ShowError
};

// The login check; on success the operator globals hold the operator, rights and locations.
// A failure has been shown; the globals are then those of nobody.
LoginFailure LIB_LoginCheck(const std::string& user, const std::string& password);

// Kind 0: the operator holds right `code`; 4: always; 5: the special right (code2 = "1").
// ROOT passes every check. A refusal shows ECM504 when showMsg is true.
bool LIB_CheckRight(const std::string& code, int kind = 0, bool showMsg = true);

// After a successful check: the right to use the serials client ("5000"). Granted, the login
// is complete and logged; refused (ECM504 shown), the operator is forgotten.
bool LIB_LoginGranted();
// The whole login: the check, then the right. True when logged in.
bool LIB_Login(const std::string& user, const std::string& password);
// Whether the operator exists, is in use and has this password; shows nothing. A wrong try
// counts as a failed login.
bool LIB_PasswordMatches(const std::string& user, const std::string& password);

// Changes the operator's password after a successful check; ECM510 when the two differ, and
// an empty password is refused. The password is stored as its hash and the must-change mark
// is cleared. 0, or -1 after the failure has been shown.
int LIB_ChangePassword(const std::string& user, const std::string& newPassword,
                       const std::string& confirmation);

// After this many failed logins in a row for one operator number, each further try waits.
inline constexpr int kFreeLoginTries = 5;
inline constexpr int kLoginDelaySeconds = 3;
// How a slowed login waits (seconds); tests record the wait instead. Null restores sleeping.
void setLoginWait(std::function<void(int)> wait);

// This workstation's name as compared with the workstation groups (upper case).
std::string LIB_ComputerName();
// Tests and the demo data set it; empty returns to the machine's own name.
void LIB_SetComputerName(const std::string& name);
