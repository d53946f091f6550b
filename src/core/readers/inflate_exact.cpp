#include "inflate_exact.h"

#include <limits>
#include <zlib.h>

#include "project_error.h"

namespace vellumar {

std::vector<std::uint8_t> inflateExactly(Bytes compressed, std::size_t size) {
    if (compressed.size() > std::numeric_limits<uInt>::max() ||
        size > std::numeric_limits<uInt>::max()) {
        throw ProjectError("the compressed picture data is too large");
    }
    std::vector<std::uint8_t> out(size);
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) {
        throw ProjectError("the compressed picture data cannot be unpacked (out of memory)");
    }
    stream.next_in = const_cast<Bytef*>(compressed.data());
    stream.avail_in = static_cast<uInt>(compressed.size());
    // zlib refuses a null output buffer even when nothing is to be written.
    std::uint8_t nothing = 0;
    stream.next_out = out.empty() ? &nothing : out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = inflate(&stream, Z_FINISH);
    const std::size_t produced = out.size() - stream.avail_out;
    inflateEnd(&stream);
    if (result != Z_STREAM_END || produced != size) {
        throw ProjectError("the compressed picture data is damaged");
    }
    return out;
}

} // namespace vellumar
