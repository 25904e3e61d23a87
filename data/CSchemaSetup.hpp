#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "data/CConnection.hpp"
#include "data/CPasswordHash.hpp"

namespace tokeiya {

// Creates or upgrades a database from the scripts under db/<engine>/, which are compiled
// into the program. Scripts are numbered (001_schema.sql, 002_...); each one runs in its
// own transaction and moves the version kept in [dbo].[TSchemaVersion] to its number.
// What SQL cannot do is done by the program in the same transaction: script 005 leaves
// it the hashing of the scrambled passwords.
class CSchemaSetup {
  public:
    // The version from which passwords are stored as hashes only.
    static constexpr int kPasswordHashVersion = 5;

    // `passwords` makes the hashes of the upgrade to kPasswordHashVersion.
    explicit CSchemaSetup(CConnection& connection, CPasswordHash passwords = CPasswordHash());

    // The version the database is at; 0 for an empty database.
    int CurrentVersion();
    // The number of the newest script for this engine.
    int LatestVersion() const;
    // Applies every script newer than the database, up to `target` (0: the newest);
    // returns the version reached. Throws CDBException, leaving the database at the last
    // script that went through.
    int Upgrade(int target = 0);

    // Splits a script into batches at lines holding only "GO" (any case).
    static std::vector<std::string> SplitBatches(std::string_view script);

  private:
    struct Script {
        int version;
        std::string_view text;  // UTF-8
    };
    std::vector<Script> Scripts() const;
    // Replaces every scrambled password by its hash and empties the scrambled column.
    // Throws CDBException, the transaction then undoing the script, when a hash cannot be
    // computed.
    void HashScrambledPasswords();

    CConnection& m_connection;
    CPasswordHash m_passwords;
};

}  // namespace tokeiya
