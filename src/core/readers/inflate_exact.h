#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "readers/picture_reader.h"

namespace vellumar {

// Inflates a zlib stream that must give exactly `size` bytes; more or fewer is an error, so
// a hostile stream can never make the output grow beyond what the caller expects.
std::vector<std::uint8_t> inflateExactly(Bytes compressed, std::size_t size);

} // namespace vellumar
