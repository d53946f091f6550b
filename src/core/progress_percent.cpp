#include "progress_percent.h"

namespace vellumar {

int progressPercent(long long done, long long total) {
    if (total <= 0) {
        return 0;
    }
    const long long scaled = 100 * done;
    long long percent = scaled / total;
    const long long twiceRest = 2 * (scaled % total);
    if (twiceRest > total || (twiceRest == total && percent % 2 != 0)) {
        ++percent;
    }
    return static_cast<int>(percent);
}

} // namespace vellumar
