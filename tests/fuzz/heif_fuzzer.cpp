#include <cstddef>
#include <cstdint>

#include "reader_fuzzing.h"
#include "readers/heif_reader.h"

// Seeds: tests/data/readers/heic/, tests/data/readers/avif/.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return vellumar::fuzzing::probeAndDecode(vellumar::HeifReader(), data, size);
}
