#include <cstddef>
#include <cstdint>

#include "project_error.h"
#include "readers/pcx_reader.h"

// Seeds: tests/data/readers/pcx/.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const vellumar::PcxReader reader;
    const vellumar::PictureSource source{{data, size}, ""};
    reader.sniff(source.bytes);
    try {
        reader.probe(source);
    } catch (const vellumar::ProjectError&) {
    }
    try {
        reader.decode(source);
    } catch (const vellumar::ProjectError&) {
    }
    return 0;
}
