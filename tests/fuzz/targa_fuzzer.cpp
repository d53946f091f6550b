#include <cstddef>
#include <cstdint>

#include "reader_fuzzing.h"
#include "readers/targa_reader.h"

// Seeds: tests/data/readers/targa/.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return vellumar::fuzzing::probeAndDecode(vellumar::TargaReader(), data, size);
}
