#include <cstddef>
#include <cstdint>

#include "reader_fuzzing.h"
#include "readers/rla_reader.h"

// Seeds: tests/data/readers/rla/.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const vellumar::RlaReader reader;
    return vellumar::fuzzing::probeAndDecode(reader, data, size);
}
