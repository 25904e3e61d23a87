#include "platform/odbc/DbValue.hpp"

#include <cstdlib>
#include <cstring>

namespace tokeiya {

int64_t DbValue::AsInt(int64_t fallback) const {
    if (m_null) {
        return fallback;
    }
    switch (m_type) {
        case DbType::Integer:
            return m_int;
        case DbType::Real:
            return static_cast<int64_t>(m_real);
        case DbType::Text: {
            char* end = nullptr;
            long long v = std::strtoll(m_text.c_str(), &end, 10);
            return end != m_text.c_str() ? v : fallback;
        }
        case DbType::Timestamp:
            break;
    }
    return fallback;
}

double DbValue::AsReal(double fallback) const {
    if (m_null) {
        return fallback;
    }
    switch (m_type) {
        case DbType::Integer:
            return static_cast<double>(m_int);
        case DbType::Real:
            return m_real;
        case DbType::Text: {
            char* end = nullptr;
            double v = std::strtod(m_text.c_str(), &end);
            return end != m_text.c_str() ? v : fallback;
        }
        case DbType::Timestamp:
            break;
    }
    return fallback;
}

std::string DbValue::AsText(const std::string& fallback) const {
    if (m_null) {
        return fallback;
    }
    switch (m_type) {
        case DbType::Integer:
            return std::to_string(m_int);
        case DbType::Real:
            return std::to_string(m_real);
        case DbType::Text:
            return m_text;
        case DbType::Timestamp: {
            char buf[32];
            std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", m_time.year,
                          m_time.month, m_time.day, m_time.hour, m_time.minute, m_time.second);
            return buf;
        }
    }
    return fallback;
}

bool DbValue::operator==(const DbValue& other) const {
    if (m_null || other.m_null) {
        return m_null == other.m_null;
    }
    if (m_type != other.m_type) {
        return false;
    }
    switch (m_type) {
        case DbType::Integer:
            return m_int == other.m_int;
        case DbType::Real:  // bitwise, so that a stored float compares equal to itself
            // NOLINTNEXTLINE(bugprone-suspicious-memory-comparison): NaN must equal itself
            return std::memcmp(&m_real, &other.m_real, sizeof m_real) == 0;
        case DbType::Text:
            return m_text == other.m_text;
        case DbType::Timestamp:
            return m_time == other.m_time;
    }
    return false;
}

}  // namespace tokeiya
