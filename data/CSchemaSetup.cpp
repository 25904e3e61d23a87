#include "data/CSchemaSetup.hpp"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <utility>

#include "data/CCodeRZ.hpp"
#include "platform/Cp932.hpp"
#include "platform/odbc/CRecordset.hpp"
#include "platform/odbc/DbException.hpp"

namespace tokeiya {
namespace embedded {
const std::map<std::string, std::string_view>& Files();
}

namespace {

const char* EngineFolder(SqlDialect::Engine engine) {
    switch (engine) {
        case SqlDialect::Engine::PostgreSQL:
            return "db/postgresql/";
        case SqlDialect::Engine::SQLite:
            return "db/sqlite/";
        case SqlDialect::Engine::SqlServer:
            break;
    }
    return "db/sqlserver/";
}

bool IsGoLine(std::string_view line) {
    auto notSpace = [](char c) { return !std::isspace(static_cast<unsigned char>(c)); };
    auto first = std::find_if(line.begin(), line.end(), notSpace);
    auto last = std::find_if(line.rbegin(), line.rend(), notSpace).base();
    if (first >= last || last - first != 2) {
        return false;
    }
    return std::toupper(static_cast<unsigned char>(first[0])) == 'G' &&
           std::toupper(static_cast<unsigned char>(first[1])) == 'O';
}

bool IsBlank(std::string_view text) {
    // A batch of nothing but comments and blanks is not sent.
    size_t i = 0;
    while (i < text.size()) {
        size_t end = text.find('\n', i);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(i, end - i);
        size_t start = line.find_first_not_of(" \t\r");
        if (start != std::string_view::npos && line.substr(start, 2) != "--") {
            return false;
        }
        i = end + 1;
    }
    return true;
}

}  // namespace

CSchemaSetup::CSchemaSetup(CConnection& connection, CPasswordHash passwords)
    : m_connection(connection), m_passwords(passwords) {}

std::vector<std::string> CSchemaSetup::SplitBatches(std::string_view script) {
    std::vector<std::string> batches;
    std::string current;
    size_t i = 0;
    while (i <= script.size()) {
        size_t end = script.find('\n', i);
        if (end == std::string_view::npos) {
            end = script.size();
        }
        std::string_view line = script.substr(i, end - i);
        if (IsGoLine(line)) {
            if (!IsBlank(current)) {
                batches.push_back(current);
            }
            current.clear();
        } else {
            current.append(line);
            current.push_back('\n');
        }
        i = end + 1;
    }
    if (!IsBlank(current)) {
        batches.push_back(current);
    }
    return batches;
}

std::vector<CSchemaSetup::Script> CSchemaSetup::Scripts() const {
    std::string folder = EngineFolder(m_connection.Dialect().GetEngine());
    std::vector<Script> scripts;
    for (const auto& [name, text] : embedded::Files()) {
        if (name.rfind(folder, 0) != 0) {
            continue;
        }
        int version = std::atoi(name.c_str() + folder.size());
        if (version > 0) {
            scripts.push_back({version, text});
        }
    }
    std::sort(scripts.begin(), scripts.end(),
              [](const Script& a, const Script& b) { return a.version < b.version; });
    return scripts;
}

int CSchemaSetup::LatestVersion() const {
    std::vector<Script> scripts = Scripts();
    return scripts.empty() ? 0 : scripts.back().version;
}

int CSchemaSetup::CurrentVersion() {
    CRecordset set(m_connection.Database());
    try {
        set.Open(m_connection.Dialect().Render("SELECT [nVersion] FROM [dbo].[TSchemaVersion]"), {},
                 {DbType::Integer});
    } catch (const CDBException&) {
        return 0;  // no version table: nothing has been set up yet
    }
    return set.IsEOF() ? 0 : static_cast<int>(set.GetField(0).AsInt(0));
}

int CSchemaSetup::Upgrade(int target) {
    int version = CurrentVersion();
    CDatabase& db = m_connection.Database();
    for (const Script& script : Scripts()) {
        if (script.version <= version || (target > 0 && script.version > target)) {
            continue;
        }
        CTransaction transaction(db);
        for (const std::string& batch : SplitBatches(script.text)) {
            db.ExecuteSQL(cp932::FromUtf8(batch));
        }
        if (script.version == kPasswordHashVersion) {
            HashScrambledPasswords();
        }
        db.ExecuteSQL(
            m_connection.Dialect().Render("UPDATE [dbo].[TSchemaVersion] SET [nVersion]=?"),
            {DbValue(script.version)});
        transaction.Commit();
        version = script.version;
    }
    return version;
}

void CSchemaSetup::HashScrambledPasswords() {
    CDatabase& db = m_connection.Database();
    const SqlDialect& dialect = m_connection.Dialect();
    std::vector<std::pair<int, std::string>> scrambled;
    {
        CRecordset set(db);
        set.Open(dialect.Render("SELECT [idUser], [strPassword] FROM [dbo].[Tユーザー] WHERE "
                                "[strPassword] IS NOT NULL AND [strPassword]<>''"),
                 {}, {DbType::Integer, DbType::Text});
        for (; !set.IsEOF(); set.MoveNext()) {
            scrambled.emplace_back(static_cast<int>(set.GetField(0).AsInt(0)),
                                   set.GetField(1).AsText());
        }
    }
    const std::string update =
        dialect.Render("UPDATE [dbo].[Tユーザー] SET [strPasswordHash]=? WHERE [idUser]=?");
    for (const auto& [idUser, text] : scrambled) {
        std::optional<std::string> hash = m_passwords.Hash(UnscramblePassword(text));
        if (!hash) {
            throw CDBException("HY001", CPasswordHash::kHashFailed, update);
        }
        db.ExecuteSQL(update, {DbValue(*hash), DbValue(idUser)});
    }
    db.ExecuteSQL(dialect.Render("UPDATE [dbo].[Tユーザー] SET [strPassword]=''"));
}

}  // namespace tokeiya
