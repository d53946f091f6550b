#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vellumar {

// Integer settings hold the text the user typed; this is how that text becomes a number.
// Leading blanks and a sign are accepted, and "$" introduces hexadecimal digits. Anything
// else, an empty text or a value outside 32 bits gives no number.
std::optional<int> parseInteger(std::string_view text);

// "'<text>' is not a valid integer value"
std::string invalidIntegerMessage(std::string_view text);

// parseInteger, failing with invalidIntegerMessage.
int toInteger(std::string_view text);

} // namespace vellumar
