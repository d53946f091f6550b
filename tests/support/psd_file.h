#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vellumar::testing {

// One row packed as PackBits: runs of three or more equal bytes repeated, the rest literal.
inline void appendPackBits(const std::uint8_t* row, std::size_t size,
                           std::vector<std::uint8_t>& out) {
    const auto runAt = [&](std::size_t i) {
        return i + 2 < size && row[i] == row[i + 1] && row[i] == row[i + 2];
    };
    std::size_t i = 0;
    while (i < size) {
        std::size_t count = 1;
        if (runAt(i)) {
            while (i + count < size && count < 128 && row[i + count] == row[i]) {
                ++count;
            }
            out.push_back(static_cast<std::uint8_t>(1 - static_cast<int>(count)));
            out.push_back(row[i]);
        } else {
            while (i + count < size && count < 128 && !runAt(i + count)) {
                ++count;
            }
            out.push_back(static_cast<std::uint8_t>(count - 1));
            out.insert(out.end(), row + i, row + i + count);
        }
        i += count;
    }
}

// A Photoshop picture of the colour mode (1 gray, 3 RGB, 4 CMYK) whose channels are the planes
// given (16-bit samples big-endian), carrying the profile, when there is one, among its image
// resources; its channels are stored raw, one after another, or packed row by row.
inline std::vector<std::uint8_t> psdWith(int width, int height, int mode,
                                         const std::vector<std::vector<std::uint8_t>>& planes,
                                         const std::vector<std::uint8_t>& icc, int depth = 8,
                                         bool packBits = false) {
    std::vector<std::uint8_t> file;
    const auto be = [&](std::uint64_t value, int bytes) {
        for (int i = bytes - 1; i >= 0; --i) {
            file.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
        }
    };
    file.insert(file.end(), {'8', 'B', 'P', 'S'});
    be(1, 2);
    be(0, 6);
    be(planes.size(), 2); // channels
    be(static_cast<std::uint32_t>(height), 4);
    be(static_cast<std::uint32_t>(width), 4);
    be(static_cast<std::uint64_t>(depth), 2);
    be(static_cast<std::uint64_t>(mode), 2);
    be(0, 4); // no colour mode data
    if (icc.empty()) {
        be(0, 4);
    } else {
        const std::uint32_t resource = 4 + 2 + 2 + 4 + static_cast<std::uint32_t>(icc.size()) +
                                       static_cast<std::uint32_t>(icc.size() % 2);
        be(resource, 4);
        file.insert(file.end(), {'8', 'B', 'I', 'M'});
        be(1039, 2);
        be(0, 2); // empty name, padded
        be(static_cast<std::uint32_t>(icc.size()), 4);
        file.insert(file.end(), icc.begin(), icc.end());
        if (icc.size() % 2) {
            file.push_back(0);
        }
    }
    be(0, 4); // no layers
    be(packBits ? 1 : 0, 2);
    if (!packBits) {
        for (const auto& plane : planes) {
            file.insert(file.end(), plane.begin(), plane.end());
        }
        return file;
    }
    // The byte counts of every row of every channel, then the rows.
    const std::size_t rowBytes =
        static_cast<std::size_t>(width) * static_cast<std::size_t>(depth) / 8;
    std::vector<std::uint8_t> rows;
    for (const auto& plane : planes) {
        for (int y = 0; y < height; ++y) {
            const std::size_t before = rows.size();
            appendPackBits(plane.data() + static_cast<std::size_t>(y) * rowBytes, rowBytes, rows);
            be(rows.size() - before, 2);
        }
    }
    file.insert(file.end(), rows.begin(), rows.end());
    return file;
}

} // namespace vellumar::testing
