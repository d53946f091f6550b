#include <cstddef>
#include <cstdint>

#include "project_error.h"
#include "readers/pnm_reader.h"

// Any input may be refused with a ProjectError; anything else (a crash, a sanitizer report,
// another exception, a hang) is a finding.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const vellumar::PnmReader reader;
    const vellumar::PictureSource source{{data, size}, ""};
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
