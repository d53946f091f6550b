#include <cstddef>
#include <cstdint>

#include "reader_fuzzing.h"
#include "readers/metafile_reader.h"

// Seeds: tests/data/readers/metafile/.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const vellumar::MetafileReader reader;
    // Drawing may cover a picture many times over; smaller pictures keep the runs quick.
    return vellumar::fuzzing::probeAndDecode(reader, data, size, std::int64_t{1} << 16);
}
