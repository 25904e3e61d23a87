#include "data/ProcessValues.hpp"

namespace tokeiya {

ProcessValues& Process() {
    static ProcessValues values;
    return values;
}

}  // namespace tokeiya
