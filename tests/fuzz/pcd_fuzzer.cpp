#include <cstddef>
#include <cstdint>

#include "reader_fuzzing.h"
#include "readers/pcd_reader.h"

// Seeds: tests/data/readers/pcd/.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const vellumar::PcdReader reader;
    return vellumar::fuzzing::probeAndDecode(reader, data, size);
}
