#pragma once

namespace vellumar {

struct PictureSize {
    int width = 0;
    int height = 0;
    bool operator==(const PictureSize&) const = default;
};

} // namespace vellumar
