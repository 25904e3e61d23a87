#include "data/TimeValue.hpp"

namespace tokeiya {

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
