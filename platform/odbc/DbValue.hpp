#pragma once

#include <compare>
#include <cstdint>
#include <string>

namespace tokeiya {

// A date and time as the database holds it: no time zone, whole seconds.
struct DbTimestamp {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    auto operator<=>(const DbTimestamp&) const = default;
};

enum class DbType { Integer, Real, Text, Timestamp };

// One column value or statement parameter. NULL is explicit and still carries its type, so
// that a NULL parameter is bound with the column's SQL type. Texts are CP932.
class DbValue {
  public:
    DbValue() = default;
    static DbValue Null(DbType type) {
        DbValue v;
        v.m_type = type;
        return v;
    }
    DbValue(int value) : DbValue(static_cast<int64_t>(value)) {}
    DbValue(int64_t value) : m_type(DbType::Integer), m_null(false), m_int(value) {}
    DbValue(double value) : m_type(DbType::Real), m_null(false), m_real(value) {}
    DbValue(std::string value) : m_type(DbType::Text), m_null(false), m_text(std::move(value)) {}
    DbValue(const char* value) : DbValue(std::string(value)) {}
    DbValue(const DbTimestamp& value) : m_type(DbType::Timestamp), m_null(false), m_time(value) {}

    DbType Type() const { return m_type; }
    bool IsNull() const { return m_null; }

    // Typed reads: the fallback when NULL or of another type.
    int64_t AsInt(int64_t fallback = 0) const;
    double AsReal(double fallback = 0) const;
    std::string AsText(const std::string& fallback = {}) const;
    const DbTimestamp* AsTimestamp() const {
        return !m_null && m_type == DbType::Timestamp ? &m_time : nullptr;
    }

    bool operator==(const DbValue& other) const;

  private:
    DbType m_type = DbType::Text;
    bool m_null = true;
    int64_t m_int = 0;
    double m_real = 0;
    std::string m_text;
    DbTimestamp m_time;
};

}  // namespace tokeiya
