#include <cstddef>
#include <cstdint>

#include "reader_fuzzing.h"
#include "readers/eps_reader.h"

// Seeds: tests/data/readers/eps/. PostScript without a preview is not handed to Ghostscript
// here: the renderer answers that nothing can draw it.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const vellumar::EpsReader reader(
        [](vellumar::Bytes) { return std::optional<vellumar::Bitmap>{}; });
    return vellumar::fuzzing::probeAndDecode(reader, data, size);
}
