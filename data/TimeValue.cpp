#include "data/TimeValue.hpp"

namespace tokeiya {

bool IsEmptyTime(const CTime& time) {
    // Recomputed on every call: the boundary moves with the time zone, which tests change.
    // Should the zone rules fail to place it, the UTC boundary is the nearest sound answer.
    constexpr int64_t kUtcBoundary = 24 * 60 * 60;
    const CTime boundary = CTime::FromLocal(1970, 1, 2, 0, 0, 0).value_or(CTime(kUtcBoundary));
    return time < boundary;
}

std::string SqlDateTimeLiteral(const CTime& time, int serverVersion) {
    if (IsEmptyTime(time)) {
        return "NULL";
    }
    if (serverVersion >= 2005) {
        return time.Format("{ts '%Y-%m-%d %H:%M:%S'}");
    }
    return time.Format("CONVERT(DATETIME,'%Y/%m/%d %H:%M:%S',111)");
}

CTime TimeOfDay(int hour, int minute) {
    return CTime(2000, 1, 1, hour, minute, 0);
}

}  // namespace tokeiya
