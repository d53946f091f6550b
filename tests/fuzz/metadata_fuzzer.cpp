#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "readers/picture_metadata.h"

// Seeds: tests/data/readers/metadata/. Whatever the bytes, reading them gives values within
// their documented ranges and never fails.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const vellumar::PictureMetadata metadata = vellumar::readEmbeddedMetadata({data, size});
    if (metadata.orientation < 1 || metadata.orientation > 8 ||
        metadata.description.size() > 64 * 1024) {
        std::abort();
    }
    if (metadata.dateTaken && vellumar::dateTakenText(*metadata.dateTaken).size() != 16) {
        std::abort();
    }
    return 0;
}
