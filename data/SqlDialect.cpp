#include "data/SqlDialect.hpp"

#include "data/TimeValue.hpp"
#include "platform/Cp932.hpp"

#include <algorithm>

namespace tokeiya {
namespace {

std::string FormatLocal(const CTime& t) {
    return t.Format("%Y-%m-%d %H:%M:%S");
}

std::string Join(std::string_view name, std::initializer_list<int> args, const char* open,
                 const char* close) {
    std::string text(name);
    text += open;
    bool first = true;
    for (int a : args) {
        if (!first) {
            text += ",";
        }
        text += std::to_string(a);
        first = false;
    }
    return text + close;
}

// SQL Server: the SQL as written.
class SqlServerDialect : public SqlDialect {
  public:
    Engine GetEngine() const override { return Engine::SqlServer; }
    std::string Year(std::string_view e) const override { return "YEAR(" + std::string(e) + ")"; }
    std::string Month(std::string_view e) const override { return "MONTH(" + std::string(e) + ")"; }
    std::string Day(std::string_view e) const override { return "DAY(" + std::string(e) + ")"; }
    // 'yyyy-mm-dd' text: servers before 2008 have no DATE type.
    std::string DateOf(std::string_view e) const override {
        return "CONVERT(CHAR(10), " + std::string(e) + ", 120)";
    }
    std::string DateTimeLiteral(const CTime& t) const override {
        return SqlDateTimeLiteral(t, 2005);
    }
    std::string ProcedureCall(std::string_view name,
                              std::initializer_list<int> args) const override {
        return Join("EXECUTE " + std::string(name), args, " ", "");
    }
    SavepointSyntax Savepoints() const override {
        return {"SAVE TRANSACTION %s", "", "ROLLBACK TRANSACTION %s"};
    }

  protected:
    std::string ObjectName(std::string_view schema, std::string_view name) const override {
        return "[" + std::string(schema) + "].[" + std::string(name) + "]";
    }
    std::string Identifier(std::string_view name) const override {
        return "[" + std::string(name) + "]";
    }
};

// PostgreSQL: objects live in schema dbo under unquoted (case-folded) names.
class PostgreSqlDialect : public SqlDialect {
  public:
    Engine GetEngine() const override { return Engine::PostgreSQL; }
    bool FailureEndsTransaction() const override { return true; }
    std::string Year(std::string_view e) const override { return Part("YEAR", e); }
    std::string Month(std::string_view e) const override { return Part("MONTH", e); }
    std::string Day(std::string_view e) const override { return Part("DAY", e); }
    std::string DateTimeLiteral(const CTime& t) const override {
        return IsEmptyTime(t) ? "NULL" : "TIMESTAMP '" + FormatLocal(t) + "'";
    }
    std::string ProcedureCall(std::string_view name,
                              std::initializer_list<int> args) const override {
        return Join("CALL dbo." + std::string(name), args, "(", ")");
    }

  protected:
    std::string ObjectName(std::string_view schema, std::string_view name) const override {
        return std::string(schema) + "." + std::string(name);
    }
    std::string Identifier(std::string_view name) const override { return std::string(name); }

  private:
    static std::string Part(const char* field, std::string_view e) {
        return "CAST(EXTRACT(" + std::string(field) + " FROM " + std::string(e) + ") AS INTEGER)";
    }
};

// SQLite: one database file, no schemas; date-times are 'YYYY-MM-DD HH:MM:SS' texts, which
// is also how they are bound, so that equality tests compare like with like.
class SqliteDialect : public SqlDialect {
  public:
    Engine GetEngine() const override { return Engine::SQLite; }
    std::string Year(std::string_view e) const override { return Part("%Y", e); }
    std::string Month(std::string_view e) const override { return Part("%m", e); }
    std::string Day(std::string_view e) const override { return Part("%d", e); }
    // The date part of the stored text, which groups like the date without reading it.
    std::string DateOf(std::string_view e) const override {
        return "substr(" + std::string(e) + ", 1, 10)";
    }
    std::string DateTimeLiteral(const CTime& t) const override {
        return IsEmptyTime(t) ? "NULL" : "'" + FormatLocal(t) + "'";
    }
    DbValue DateTimeParam(const CTime& t) const override {
        return IsEmptyTime(t) ? DbValue::Null(DbType::Text) : DbValue(FormatLocal(t));
    }
    // SQLite has no stored procedures: the calculation lives in a trigger on a call table
    // of the procedure's name, and inserting the arguments runs it.
    std::string ProcedureCall(std::string_view name,
                              std::initializer_list<int> args) const override {
        return Join("INSERT INTO " + std::string(name) + " VALUES ", args, "(", ")");
    }

  protected:
    std::string ObjectName(std::string_view, std::string_view name) const override {
        return std::string(name);
    }
    std::string Identifier(std::string_view name) const override { return std::string(name); }

  private:
    static std::string Part(const char* field, std::string_view e) {
        return "CAST(strftime('" + std::string(field) + "'," + std::string(e) + ") AS INTEGER)";
    }
};

}  // namespace

std::unique_ptr<SqlDialect> SqlDialect::For(Engine engine) {
    switch (engine) {
        case Engine::PostgreSQL:
            return std::make_unique<PostgreSqlDialect>();
        case Engine::SQLite:
            return std::make_unique<SqliteDialect>();
        case Engine::SqlServer:
            break;
    }
    return std::make_unique<SqlServerDialect>();
}

std::unique_ptr<SqlDialect> SqlDialect::ForDbmsName(std::string_view dbmsName) {
    if (dbmsName.find("PostgreSQL") != std::string_view::npos) {
        return For(Engine::PostgreSQL);
    }
    if (dbmsName.find("SQLite") != std::string_view::npos) {
        return For(Engine::SQLite);
    }
    return For(Engine::SqlServer);
}

namespace {

// Finds `ch` from `from` on, stepping over double-byte characters: a CP932 trail byte can
// be ']' or '['.
size_t FindByte(std::string_view sql, char ch, size_t from) {
    for (size_t i = from; i < sql.size(); ++i) {
        if (sql[i] == ch) {
            return i;
        }
        if (cp932::IsLeadByte(static_cast<unsigned char>(sql[i])) && i + 1 < sql.size()) {
            ++i;
        }
    }
    return std::string_view::npos;
}

// The end (one past the closing quote) of the string literal starting at `open`.
size_t LiteralEnd(std::string_view sql, size_t open) {
    size_t i = open + 1;
    for (;;) {
        size_t quote = FindByte(sql, '\'', i);
        if (quote == std::string_view::npos) {
            return sql.size();
        }
        if (quote + 1 < sql.size() && sql[quote + 1] == '\'') {
            i = quote + 2;  // a doubled quote stays inside the literal
            continue;
        }
        return quote + 1;
    }
}

}  // namespace

std::string SqlDialect::Render(std::string_view sql) const {
    std::string out;
    out.reserve(sql.size());
    size_t i = 0;
    while (i < sql.size()) {
        char c = sql[i];
        if (c == '\'') {
            size_t end = LiteralEnd(sql, i);
            out.append(sql.substr(i, end - i));
            i = end;
            continue;
        }
        if (c != '[') {
            size_t n =
                cp932::IsLeadByte(static_cast<unsigned char>(c)) && i + 1 < sql.size() ? 2 : 1;
            out.append(sql.substr(i, n));
            i += n;
            continue;
        }
        size_t close = FindByte(sql, ']', i + 1);
        if (close == std::string_view::npos) {
            out.append(sql.substr(i));
            break;
        }
        std::string_view first = sql.substr(i + 1, close - i - 1);
        if (close + 2 < sql.size() && sql[close + 1] == '.' && sql[close + 2] == '[') {
            size_t close2 = FindByte(sql, ']', close + 3);
            if (close2 != std::string_view::npos) {
                out += ObjectName(first, sql.substr(close + 3, close2 - close - 3));
                i = close2 + 1;
                continue;
            }
        }
        out += Identifier(first);
        i = close + 1;
    }
    return out;
}

std::string SqlDialect::DateOf(std::string_view expr) const {
    return "CAST(" + std::string(expr) + " AS DATE)";
}

DbValue SqlDialect::DateTimeParam(const CTime& t) const {
    return ToDbTimestamp(t);
}

DbValue ToDbTimestamp(const CTime& t) {
    std::tm tm{};
    if (IsEmptyTime(t) || !t.GetLocalTm(tm)) {
        return DbValue::Null(DbType::Timestamp);
    }
    return DbValue(DbTimestamp{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min,
                               tm.tm_sec});
}

CTime FromDbValue(const DbValue& value) {
    const DbTimestamp* ts = value.AsTimestamp();
    if (ts == nullptr) {
        return CTime();
    }
    CTime t(ts->year, ts->month, ts->day, ts->hour, ts->minute, ts->second);
    return IsEmptyTime(t) ? CTime() : t;  // anything before the epoch's second day is "no time"
}

CTime CTimeReader::From(const DbValue& value) {
    const DbTimestamp* ts = value.AsTimestamp();
    if (ts == nullptr) {
        return FromDbValue(value);
    }
    const int64_t key = ((int64_t{ts->year} * 100 + ts->month) * 100 + ts->day) * 100 + ts->hour;
    auto hour = m_hours.find(key);
    if (hour == m_hours.end()) {
        hour = m_hours
                   .emplace(key, FromDbValue(DbValue(
                                     DbTimestamp{ts->year, ts->month, ts->day, ts->hour, 0, 0})))
                   .first;
    }
    // An hour before the epoch's second day is no time, whatever its minutes.
    return IsEmptyTime(hour->second)
               ? CTime()
               : hour->second.AddSeconds(int64_t{ts->minute} * 60 + ts->second);
}

}  // namespace tokeiya
