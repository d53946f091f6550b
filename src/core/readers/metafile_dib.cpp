#include "metafile_dib.h"

#include <string>
#include <vector>

#include "project_error.h"
#include "readers/dib_decoder.h"

namespace vellumar {

namespace {

template <typename Decode>
MetafileDib decodeNamingTheBitmap(Decode&& decode) {
    try {
        return decode();
    } catch (const ProjectError& error) {
        throw ProjectError(std::string("a bitmap in the metafile cannot be read: ") + error.what());
    }
}

MetafileDib decodeJoined(Bytes dib, const DibHeader& header, std::uint64_t pixelOffset) {
    DibPicture decoded = decodeDib(ByteSource(dib), header, pixelOffset);
    decoded.bitmap.convertToRgb24();
    return {std::move(decoded.bitmap), !header.topDown};
}

} // namespace

MetafileDib decodeMetafileDib(Bytes info, Bytes bits) {
    // The records keep header and rows apart; the decoder reads them as one block.
    return decodeNamingTheBitmap([&] {
        std::vector<std::uint8_t> joined(info.begin(), info.end());
        joined.insert(joined.end(), bits.begin(), bits.end());
        return decodeJoined(joined, readDibHeader(joined), info.size());
    });
}

MetafileDib decodePackedMetafileDib(Bytes packed) {
    return decodeNamingTheBitmap([&] {
        const DibHeader header = readDibHeader(packed);
        return decodeJoined(packed, header, header.defaultPixelOffset());
    });
}

} // namespace vellumar
