#pragma once

#include <atomic>
#include <compare>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

namespace tokeiya {

// A point in time as seconds since 1970-01-01 00:00 UTC, read in the local time zone.
// The value 0 is the canonical empty time.
class CTime {
  public:
    constexpr CTime() = default;
    constexpr explicit CTime(int64_t seconds) : m_seconds(seconds) {}
    // From local time; the system decides whether daylight saving applies. Fields out of
    // range are normalised (31 April is 1 May); a time that cannot be represented gives
    // the empty time.
    CTime(int year, int month, int day, int hour, int minute, int second);

    // As the constructor, but tells an unrepresentable time apart from the empty time.
    static std::optional<CTime> FromLocal(int year, int month, int day, int hour, int minute,
                                          int second);
    static CTime GetCurrentTime();

    int64_t GetTime() const { return m_seconds; }

    // Local-time fields; all 0 when the value cannot be converted to local time.
    int GetYear() const;
    int GetMonth() const;  // 1..12
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const;  // 1 = Sunday .. 7 = Saturday

    bool GetLocalTm(std::tm& out) const;
    // strftime of the local time; empty when unconvertible or longer than 127 characters.
    std::string Format(const char* strftimeFormat) const;

    // Saturate at the ends of the 64-bit range instead of overflowing.
    CTime AddSeconds(int64_t seconds) const;
    CTime AddMinutes(int64_t minutes) const;

    // NOLINTNEXTLINE(modernize-use-nullptr): clang-tidy 14 misreads the defaulted comparison
    auto operator<=>(const CTime&) const = default;

  private:
    int64_t m_seconds = 0;
};

// The program's one source of the current time, so that tests can fix it.
class Clock {
  public:
    // Seconds since 1970-01-01 00:00 UTC: the system time unless an override is alive.
    static int64_t Now();
};

// While alive, Clock::Now() returns a fixed value; the previous source comes back on
// destruction. Overrides nest: the newest one alive is in force. One that goes out of turn
// (a test desktop's clock outliving an override made after it) only leaves the stack.
class ScopedClockOverride {
  public:
    explicit ScopedClockOverride(int64_t seconds);
    ~ScopedClockOverride();
    ScopedClockOverride(const ScopedClockOverride&) = delete;
    ScopedClockOverride& operator=(const ScopedClockOverride&) = delete;

    void Set(int64_t seconds) { m_seconds.store(seconds); }
    int64_t Get() const { return m_seconds.load(); }

  private:
    std::atomic<int64_t> m_seconds;
    ScopedClockOverride* m_previous;        // the one below this on the stack
    ScopedClockOverride* m_next = nullptr;  // the one above, while there is one
};

// A time is empty when it lies before 2 January 1970 00:00:00 local time; CTime() is the
// canonical empty time.
bool IsEmptyTime(const CTime& time);

}  // namespace tokeiya
