#include "common/PasswordHash.h"

#include <sodium.h>

#include <stdexcept>

#include "db/DbBackend.h"
#include "db/SqlText.h"
#include "db/basLibDB.h"

namespace {

PasswordCost g_cost = PasswordCost::Interactive;

void initSodium() {
    static const int ready = sodium_init();
    if (ready < 0) throw std::runtime_error("libsodium could not be initialised");
}

}  // namespace

void setPasswordCost(PasswordCost cost) {
    g_cost = cost;
}

std::string hashPassword(const std::string& password) {
    initSodium();
    const std::string upper = sqltext::upper(password);
    bool minimum = g_cost == PasswordCost::Minimum;
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(
            out, upper.data(), upper.size(),
            minimum ? crypto_pwhash_OPSLIMIT_MIN : crypto_pwhash_OPSLIMIT_INTERACTIVE,
            minimum ? crypto_pwhash_MEMLIMIT_MIN : crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        throw std::runtime_error("out of memory while hashing a password");
    return out;
}

bool verifyPassword(const std::string& hash, const std::string& password) {
    initSodium();
    const std::string upper = sqltext::upper(password);
    return !hash.empty() && crypto_pwhash_str_verify(hash.c_str(), upper.data(), upper.size()) == 0;
}

void hashPlainPasswords(DbBackend& db) {
    RawResult plain = db.query(
        "SELECT wkr_no, password FROM lib_worker WHERE password IS NOT NULL AND password <> ''");
    // One update per operator: each row's hash is made from its own password and salt.
    for (const auto& row : plain.rows)
        db.execute("UPDATE lib_worker SET pwd_hash=" + LIB_SqlStr(hashPassword(row[1].str())) +
                   ", password=NULL WHERE wkr_no=" + LIB_SqlStr(row[0].str()));
}
