#pragma once

namespace vellumar {

// 100 * done / total rounded to the nearest integer, halves to the even neighbour, as every
// build loop reports its progress. A total of 0 or less gives 0.
int progressPercent(long long done, long long total);

} // namespace vellumar
