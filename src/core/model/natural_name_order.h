#pragma once

#include <string_view>

namespace vellumar {

// Whether name a comes before name b as a file manager lists them: letters compared without
// regard to case, and every run of digits compared as the number it spells, so IMG_2 comes
// before IMG_10. Names that differ only in case or in leading zeros are still told apart,
// byte by byte, so the order is total and a listing comes out the same every time.
bool naturalNameLess(std::string_view a, std::string_view b);

} // namespace vellumar
