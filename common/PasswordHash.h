// Operators' passwords at rest: salted slow hashes (libsodium's crypto_pwhash) of the password
// in upper case, because the login compares passwords without regard to case.
#pragma once

#include <string>

class DbBackend;

// The work a new hash costs. Interactive is libsodium's interactive limit, for logins; the
// minimum exists only so that tests that change passwords stay fast.
enum class PasswordCost { Interactive, Minimum };
void setPasswordCost(PasswordCost cost);

// A self-describing hash string (algorithm, cost, salt); throws std::runtime_error when the
// memory for it cannot be had.
std::string hashPassword(const std::string& password);
// Whether `password` (in any case) is the one `hash` was made from.
bool verifyPassword(const std::string& hash, const std::string& password);

// Turns every plain-text password of lib_worker into its hash, through `db` (inside the
// caller's transaction). Throws DbError.
void hashPlainPasswords(DbBackend& db);
