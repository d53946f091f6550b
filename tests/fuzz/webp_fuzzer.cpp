#include <cstddef>
#include <cstdint>

#include "reader_fuzzing.h"
#include "readers/webp_reader.h"

// Seeds: tests/data/readers/webp/.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return vellumar::fuzzing::probeAndDecode(vellumar::WebpReader(), data, size);
}
