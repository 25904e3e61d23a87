#pragma once

#include <cstdint>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "platform/CTime.hpp"
#include "platform/odbc/DbErrorSink.hpp"
#include "platform/odbc/DbValue.hpp"

namespace tokeiya {

// What differs between the database engines. SQL is written once, in the SQL Server form
// with bracketed names (`[dbo].[Tタイムカード]`, `[idUser]`); Render turns it into the
// engine's form. Date parts, date-time literals and the procedure call differ in syntax and
// are rendered separately.
class SqlDialect {
  public:
    enum class Engine { SqlServer, PostgreSQL, SQLite };

    virtual ~SqlDialect() = default;

    // Chooses the dialect from the DBMS name the driver reports; SQL Server for any
    // name it does not know, since that is what the SQL is written for.
    static std::unique_ptr<SqlDialect> ForDbmsName(std::string_view dbmsName);
    static std::unique_ptr<SqlDialect> For(Engine engine);

    virtual Engine GetEngine() const = 0;

    // Renders bracketed names outside string literals: `[dbo].[X]` and `[x]`.
    std::string Render(std::string_view sql) const;

    // YEAR(x), MONTH(x), DAY(x) of a date-time expression, as integers.
    virtual std::string Year(std::string_view expr) const = 0;
    virtual std::string Month(std::string_view expr) const = 0;
    virtual std::string Day(std::string_view expr) const = 0;
    // The calendar day of a date-time expression, as something to group by.
    virtual std::string DateOf(std::string_view expr) const;

    // A date-time literal for local time `t`; "NULL" for the empty time.
    virtual std::string DateTimeLiteral(const CTime& t) const = 0;

    // A date-time as a statement parameter (NULL for the empty time).
    virtual DbValue DateTimeParam(const CTime& t) const;

    // The call of a stored procedure with integer arguments.
    virtual std::string ProcedureCall(std::string_view name,
                                      std::initializer_list<int> args) const = 0;

    // The statements of a savepoint: the standard ones, as SQLite and PostgreSQL take them.
    virtual SavepointSyntax Savepoints() const { return {}; }
    // Whether a failed statement leaves its transaction able to run nothing more until it is
    // rolled back (PostgreSQL); elsewhere only the statement is undone.
    virtual bool FailureEndsTransaction() const { return false; }

  protected:
    // How `[dbo].[name]` and `[name]` are written on this engine.
    virtual std::string ObjectName(std::string_view schema, std::string_view name) const = 0;
    virtual std::string Identifier(std::string_view name) const = 0;
};

// The local date-time of `t` as the database holds it, and back; an empty time is NULL.
DbValue ToDbTimestamp(const CTime& t);
CTime FromDbValue(const DbValue& value);

// Reads many date-times as FromDbValue does, turning each hour into a time once: a month's
// rows fall on few distinct hours, and the local-time conversion is what reading them
// costs. Within an hour the offset from UTC does not change.
class CTimeReader {
  public:
    CTime From(const DbValue& value);

  private:
    std::map<int64_t, CTime> m_hours;
};

}  // namespace tokeiya
