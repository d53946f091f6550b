#pragma once

#include <cstdint>

namespace vellumar {

// The integer nearest to numerator / denominator (denominator > 0), a half going to the even
// neighbour: 5/2 gives 2, 7/2 gives 4, -5/2 gives -2. Exact, with no floating point.
inline std::int64_t divideRoundingHalfEven(std::int64_t numerator, std::int64_t denominator) {
    std::int64_t quotient = numerator / denominator;
    std::int64_t remainder = numerator % denominator;
    if (remainder < 0) { // make the quotient the floor
        --quotient;
        remainder += denominator;
    }
    const std::int64_t twice = 2 * remainder;
    if (twice > denominator || (twice == denominator && quotient % 2 != 0)) {
        ++quotient;
    }
    return quotient;
}

} // namespace vellumar
