#pragma once

namespace vellumar {

// Where a crop window sits on the picture. Stored in project files as its decimal number, so
// the values are fixed. A project file may hold any number, and it is kept to be written back
// as it was read: numbers above RightBottom place the window as Center does, numbers below
// NoCrop shape the picture as NoCrop does.
enum class CropAlign { NoCrop = 0, TopLeft = 1, Center = 2, RightBottom = 3 };

// Whether the picture is shaped by a crop window rather than scaled.
constexpr bool cutsWindow(CropAlign crop) {
    return static_cast<int>(crop) > static_cast<int>(CropAlign::NoCrop);
}

} // namespace vellumar
