#include <cstddef>
#include <cstdint>

#include "reader_fuzzing.h"
#include "readers/pnm_reader.h"

// Seeds: tests/data/readers/pnm/.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return vellumar::fuzzing::probeAndDecode(vellumar::PnmReader(), data, size);
}
