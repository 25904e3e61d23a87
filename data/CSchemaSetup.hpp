#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "data/CConnection.hpp"

namespace tokeiya {

// Creates or upgrades a database from the scripts under db/<engine>/, which are compiled
// into the program. Scripts are numbered (001_schema.sql, 002_...); each one runs in its
// own transaction and moves the version kept in [dbo].[TSchemaVersion] to its number.
class CSchemaSetup {
  public:
    explicit CSchemaSetup(CConnection& connection);

    // The version the database is at; 0 for an empty database.
    int CurrentVersion();
    // The number of the newest script for this engine.
    int LatestVersion() const;
    // Applies every script newer than the database; returns the version reached. Throws
    // CDBException, leaving the database at the last script that went through.
    int Upgrade();

    // Splits a script into batches at lines holding only "GO" (any case).
    static std::vector<std::string> SplitBatches(std::string_view script);

  private:
    struct Script {
        int version;
        std::string_view text;  // UTF-8
    };
    std::vector<Script> Scripts() const;

    CConnection& m_connection;
};

}  // namespace tokeiya
