#include "integer_text.h"

#include <cstdint>

#include "project_error.h"

namespace vellumar {

namespace {

int digitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return 99;
}

} // namespace

std::optional<int> parseInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    }
    if (i == text.size()) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit = digitValue(text[i]);
        if (digit >= base) {
            return std::nullopt;
        }
        value = value * base + digit;
        if (value >= std::int64_t{1} << 32) {
            return std::nullopt;
        }
    }
    if (negative) {
        value = -value;
    }
    if (base == 16 && value > INT32_MAX) {
        value -= std::int64_t{1} << 32; // hexadecimal text may spell a negative 32-bit number
    }
    if (value < INT32_MIN || value > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

std::string invalidIntegerMessage(std::string_view text) {
    std::string message = "'";
    message.append(text).append("' is not a valid integer value");
    return message;
}

int toInteger(std::string_view text) {
    const auto value = parseInteger(text);
    if (!value) {
        throw ProjectError(invalidIntegerMessage(text));
    }
    return *value;
}

} // namespace vellumar
