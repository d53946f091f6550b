#include <cstddef>
#include <cstdint>

#include "reader_fuzzing.h"
#include "readers/bmp_reader.h"

// Seeds: tests/data/readers/bmp/.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return vellumar::fuzzing::probeAndDecode(vellumar::BmpReader(), data, size);
}
