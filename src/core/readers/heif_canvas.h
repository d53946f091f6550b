#pragma once

#include <cstdint>
#include <vector>

#include "readers/picture_reader.h"

namespace vellumar {

struct HeifItemSize {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    bool operator==(const HeifItemSize&) const = default;
};

// A derived picture of a HEIF file (a grid of tiles or an overlay): the canvas its descriptor
// says it is put together on, and the size its item properties declare (0 x 0 without one).
struct HeifCanvas {
    std::uint32_t item = 0;
    HeifItemSize canvas;
    HeifItemSize declared;
};

// Every grid and overlay of a HEIF file, read from its item boxes. libheif allocates such a
// canvas before it decodes any tile and never compares it with the declared size, which is
// the one a reader checks against the size limit and the memory budget; so the reader
// compares the two first. Descriptors libheif refuses to read (an unknown version, too few
// bytes, data in another item) are left out: libheif fails on them before allocating.
// Damaged boxes, and data placed past their end, fail with a ProjectError that says so.
std::vector<HeifCanvas> heifCanvases(Bytes file);

} // namespace vellumar
