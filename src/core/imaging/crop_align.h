#pragma once

namespace vellumar {

// Where a crop window sits on the picture. Stored in project files as its decimal number, so
// the values are fixed.
enum class CropAlign { NoCrop = 0, TopLeft = 1, Center = 2, RightBottom = 3 };

} // namespace vellumar
