#include <cstddef>
#include <cstdint>

#include "reader_fuzzing.h"
#include "readers/jxl_reader.h"

// Seeds: tests/data/readers/jxl/.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return vellumar::fuzzing::probeAndDecode(vellumar::JxlReader(), data, size);
}
