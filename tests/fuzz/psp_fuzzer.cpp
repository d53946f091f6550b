#include <cstddef>
#include <cstdint>

#include "reader_fuzzing.h"
#include "readers/psp_reader.h"

// Seeds: tests/data/readers/psp/.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const vellumar::PspReader reader;
    return vellumar::fuzzing::probeAndDecode(reader, data, size);
}
