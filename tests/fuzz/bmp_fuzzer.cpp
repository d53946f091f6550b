#include <cstddef>
#include <cstdint>

#include "project_error.h"
#include "readers/bmp_reader.h"

// Any input may be refused with a ProjectError; anything else (a crash, a sanitizer report,
// another exception, a hang) is a finding. Pictures the probe finds larger than a few million
// pixels are not decoded: a run-length file of a few bytes may rightly claim 400 million
// pixels, and filling those would slow the search a hundredfold; the size check bounds them.
constexpr std::int64_t kMaxDecodedPixels = 4'000'000;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const vellumar::BmpReader reader;
    const vellumar::PictureSource source{{data, size}, ""};
    try {
        const vellumar::PictureSize picture = reader.probe(source);
        if (std::int64_t{picture.width} * picture.height > kMaxDecodedPixels) {
            return 0;
        }
    } catch (const vellumar::ProjectError&) {
    }
    try {
        reader.decode(source);
    } catch (const vellumar::ProjectError&) {
    }
    return 0;
}
