#include "platform/CTime.hpp"

#include <limits>
#include <mutex>

namespace tokeiya {
namespace {

static_assert(sizeof(time_t) >= sizeof(int64_t), "time_t must hold 64-bit seconds");

// The override currently in force, or null for the system clock; the stack below it
// changes only under the mutex.
std::atomic<ScopedClockOverride*> g_clockOverride{nullptr};
std::mutex g_clockStack;

int64_t SaturatingAdd(int64_t a, int64_t b) {
    int64_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum)) {
        return b > 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
    }
    return sum;
}

int64_t SaturatingMultiply(int64_t a, int64_t b) {
    int64_t product = 0;
    if (__builtin_mul_overflow(a, b, &product)) {
        return (a < 0) != (b < 0) ? std::numeric_limits<int64_t>::min()
                                  : std::numeric_limits<int64_t>::max();
    }
    return product;
}

}  // namespace

CTime::CTime(int year, int month, int day, int hour, int minute, int second)
    : CTime(FromLocal(year, month, day, hour, minute, second).value_or(CTime())) {}

std::optional<CTime> CTime::FromLocal(int year, int month, int day, int hour, int minute,
                                      int second) {
    if (year < std::numeric_limits<int>::min() + 1900 || month == std::numeric_limits<int>::min()) {
        return std::nullopt;
    }
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    fields.tm_isdst = -1;
    // mktime returns -1 both for failure and for 1969-12-31 23:59:59 UTC; only a
    // successful call fills in the day of the week.
    fields.tm_wday = -1;
    const time_t seconds = mktime(&fields);
    if (seconds == static_cast<time_t>(-1) && fields.tm_wday < 0) {
        return std::nullopt;
    }
    return CTime(static_cast<int64_t>(seconds));
}

CTime CTime::GetCurrentTime() {
    return CTime(Clock::Now());
}

bool CTime::GetLocalTm(std::tm& out) const {
    const time_t seconds = static_cast<time_t>(m_seconds);
    return localtime_r(&seconds, &out) != nullptr;
}

int CTime::GetYear() const {
    std::tm fields{};
    return GetLocalTm(fields) ? fields.tm_year + 1900 : 0;
}

int CTime::GetMonth() const {
    std::tm fields{};
    return GetLocalTm(fields) ? fields.tm_mon + 1 : 0;
}

int CTime::GetDay() const {
    std::tm fields{};
    return GetLocalTm(fields) ? fields.tm_mday : 0;
}

int CTime::GetHour() const {
    std::tm fields{};
    return GetLocalTm(fields) ? fields.tm_hour : 0;
}

int CTime::GetMinute() const {
    std::tm fields{};
    return GetLocalTm(fields) ? fields.tm_min : 0;
}

int CTime::GetSecond() const {
    std::tm fields{};
    return GetLocalTm(fields) ? fields.tm_sec : 0;
}

int CTime::GetDayOfWeek() const {
    std::tm fields{};
    return GetLocalTm(fields) ? fields.tm_wday + 1 : 0;
}

std::string CTime::Format(const char* strftimeFormat) const {
    std::tm fields{};
    if (strftimeFormat == nullptr || !GetLocalTm(fields)) {
        return {};
    }
    char buffer[128];
    const size_t length = strftime(buffer, sizeof buffer, strftimeFormat, &fields);
    return std::string(buffer, length);
}

CTime CTime::AddSeconds(int64_t seconds) const {
    return CTime(SaturatingAdd(m_seconds, seconds));
}

CTime CTime::AddMinutes(int64_t minutes) const {
    return AddSeconds(SaturatingMultiply(minutes, 60));
}

int64_t Clock::Now() {
    if (const ScopedClockOverride* active = g_clockOverride.load()) {
        return active->Get();
    }
    // <chrono> cannot be compiled for the CP932 execution character set.
    return static_cast<int64_t>(time(nullptr));
}

ScopedClockOverride::ScopedClockOverride(int64_t seconds) : m_seconds(seconds) {
    std::lock_guard lock(g_clockStack);
    m_previous = g_clockOverride.load();
    if (m_previous != nullptr) {
        m_previous->m_next = this;
    }
    g_clockOverride.store(this);
}

ScopedClockOverride::~ScopedClockOverride() {
    std::lock_guard lock(g_clockStack);
    if (m_previous != nullptr) {
        m_previous->m_next = m_next;
    }
    if (m_next != nullptr) {
        m_next->m_previous = m_previous;
    } else {
        g_clockOverride.store(m_previous);
    }
}

bool IsEmptyTime(const CTime& time) {
    // No zone is more than a day from UTC, so any later time is a time wherever the program
    // runs; only those near the boundary pay for the zone rules.
    constexpr int64_t kUtcBoundary = 24 * 60 * 60;
    if (time.GetTime() >= 3 * kUtcBoundary) {
        return false;
    }
    // Recomputed on every call: the boundary moves with the time zone, which tests change.
    // Should the zone rules fail to place it, the UTC boundary is the nearest sound answer.
    const CTime boundary = CTime::FromLocal(1970, 1, 2, 0, 0, 0).value_or(CTime(kUtcBoundary));
    return time < boundary;
}

}  // namespace tokeiya
