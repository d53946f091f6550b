#include <cstddef>
#include <cstdint>

#include "reader_fuzzing.h"
#include "readers/autodesk_reader.h"

// Seeds: tests/data/readers/autodesk/.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return vellumar::fuzzing::probeAndDecode(vellumar::AutodeskReader(), data, size);
}
