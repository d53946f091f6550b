#include "hashed_name.h"

#include <cstdint>
#include <cstdio>

namespace vellumar {

std::string hashedFileName(std::string_view text, std::string_view extension) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : text) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(hash));
    return std::string(digits) + std::string(extension);
}

} // namespace vellumar
