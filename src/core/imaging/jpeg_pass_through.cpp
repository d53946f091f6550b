#include "jpeg_pass_through.h"

#include <algorithm>
#include <array>
#include <turbojpeg.h>

#include "imaging/camera_orientation.h"
#include "imaging/jpeg_segments.h"
#include "imaging/jpeg_writer.h"
#include "imaging/rotate.h"

namespace vellumar {

namespace {

// A quantised coefficient is two bytes, 64 to a block.
constexpr std::uint64_t kBytesPerBlock = 64 * 2;

// A TurboJPEG transformer, null when it could not be made.
struct TurboHandle {
    tjhandle handle = tjInitTransform();
    TurboHandle() = default;
    ~TurboHandle() {
        if (handle != nullptr) {
            tjDestroy(handle);
        }
    }
    TurboHandle(const TurboHandle&) = delete;
    TurboHandle& operator=(const TurboHandle&) = delete;
};

// The bytes TurboJPEG writes, in memory it allocated.
struct TurboBuffer {
    unsigned char* bytes = nullptr;
    unsigned long size = 0;
    ~TurboBuffer() { tjFree(bytes); }
};

// The one lossless operation that stands a picture as turn asks. The orientation turns by a
// and then perhaps mirrors left to right, the quarter turns by q more. Mirroring first and
// turning by -a after is the same as turning by a and mirroring, so a mirrored picture is a
// mirror first and a turn by q - a; an unmirrored one is a turn by a + q.
TJXOP operationFor(PictureTurn turn) {
    const CameraTurn camera = cameraTurnOf(turn.orientation);
    const int extra = quarterTurnsToDegrees(turn.quarterTurns) / 90;
    const int held = camera.angle / 90;
    if (camera.mirrored) {
        // Mirrored first, then turned by none, one, two or three quarters clockwise.
        constexpr std::array<TJXOP, 4> kMirrored = {TJXOP_HFLIP, TJXOP_TRANSVERSE, TJXOP_VFLIP,
                                                    TJXOP_TRANSPOSE};
        return kMirrored[static_cast<std::size_t>((extra - held + 4) % 4)];
    }
    constexpr std::array<TJXOP, 4> kTurned = {TJXOP_NONE, TJXOP_ROT90, TJXOP_ROT180, TJXOP_ROT270};
    return kTurned[static_cast<std::size_t>((extra + held) % 4)];
}

// libjpeg-turbo mirrors left to right where the coefficients lie; every other move writes
// them into a second set.
bool movesIntoCopy(TJXOP operation) {
    return operation != TJXOP_NONE && operation != TJXOP_HFLIP;
}

struct Header {
    int width = 0;
    int height = 0;
    int sampling = 0;
    int colourSpace = 0;
};

std::optional<Header> readHeader(tjhandle handle, std::span<const std::uint8_t> source) {
    Header header;
    if (handle == nullptr || source.empty() ||
        tjDecompressHeader3(handle, source.data(), static_cast<unsigned long>(source.size()),
                            &header.width, &header.height, &header.sampling,
                            &header.colourSpace) != 0) {
        return std::nullopt;
    }
    return header;
}

// Whether the operation keeps every block whole: blocks cut short at the right or bottom edge
// must stay there (libjpeg-turbo's own rule for TJXOPT_PERFECT). Samplings TurboJPEG has no
// name for are taken as never whole.
bool keepsBlocksWhole(const Header& header, TJXOP operation) {
    if (operation == TJXOP_NONE || operation == TJXOP_TRANSPOSE) {
        return true;
    }
    if (header.sampling < 0 || header.sampling >= TJ_NUMSAMP) {
        return false;
    }
    const bool wholeAcross = header.width % tjMCUWidth[header.sampling] == 0;
    const bool wholeDown = header.height % tjMCUHeight[header.sampling] == 0;
    switch (operation) {
    case TJXOP_HFLIP:
    case TJXOP_ROT270:
        return wholeAcross;
    case TJXOP_VFLIP:
    case TJXOP_ROT90:
        return wholeDown;
    default:
        return wholeAcross && wholeDown;
    }
}

// The blocks of the whole picture. Pictures whose sampling TurboJPEG has no name for are
// counted as if every component had all its samples, the most any can have.
std::uint64_t blockCount(const Header& header) {
    if (header.sampling < 0 || header.sampling >= TJ_NUMSAMP) {
        return ((static_cast<std::uint64_t>(header.width) + 7) / 8) *
               ((static_cast<std::uint64_t>(header.height) + 7) / 8) * 3;
    }
    const int mcuWidth = tjMCUWidth[header.sampling];
    const int mcuHeight = tjMCUHeight[header.sampling];
    const std::uint64_t mcus =
        ((static_cast<std::uint64_t>(header.width) + mcuWidth - 1) / mcuWidth) *
        ((static_cast<std::uint64_t>(header.height) + mcuHeight - 1) / mcuHeight);
    const std::uint64_t lumaBlocks = static_cast<std::uint64_t>(mcuWidth / 8) * (mcuHeight / 8);
    return mcus * (header.sampling == TJSAMP_GRAY ? 1 : lumaBlocks + 2);
}

// Runs one transform with a transformer of its own: libjpeg-turbo 2.1 writes damaged data
// when a transformer that wrote progressive scans is used again for sequential ones. A
// warning means damaged data that libjpeg-turbo would make up: refused like an error, as
// soon as it is met, and so is a progressive picture of absurdly many scans.
bool transformed(std::span<const std::uint8_t> source, tjtransform transform, TurboBuffer& out) {
    const TurboHandle turbo;
    return turbo.handle != nullptr &&
           tjTransform(turbo.handle, source.data(), static_cast<unsigned long>(source.size()), 1,
                       &out.bytes, &out.size, &transform,
                       TJFLAG_STOPONWARNING | TJFLAG_LIMITSCANS) == 0;
}

} // namespace

std::optional<std::vector<std::uint8_t>> passThroughJpeg(std::span<const std::uint8_t> source,
                                                         PictureTurn turn,
                                                         std::span<const std::uint8_t> iccProfile) {
    const std::optional<Header> header = readHeader(TurboHandle().handle, source);
    if (!header || header->colourSpace == TJCS_CMYK || header->colourSpace == TJCS_YCCK) {
        return std::nullopt;
    }
    tjtransform transform{};
    transform.op = operationFor(turn);
    transform.options = TJXOPT_PERFECT | TJXOPT_COPYNONE;
    if (transform.op == TJXOP_NONE) {
        // Its bytes are copied as they are, which costs a fraction of writing them again and
        // keeps the source's coding; whether the coded data is sound is for the decode of its
        // thumbnail to find, which reads all of it.
        if (auto copied = keepDecodingSegments(source, iccProfile)) {
            return copied;
        }
        // Arithmetic coding, or segments laid out as the copy does not follow: written afresh.
    }
    // Written as the encoder would write the large picture: progressive scans, smaller and
    // shown early, except for pictures so large that the extra passes cost more than a whole
    // pass-through does. The coefficients are held either way, so this costs no memory.
    if (jpegCodingFor({header->width, header->height}, true) == JpegCoding::Progressive) {
        transform.options |= TJXOPT_PROGRESSIVE;
    }
    TurboBuffer written;
    if (!transformed(source, transform, written)) {
        return std::nullopt;
    }
    return keepDecodingSegments({written.bytes, written.size}, iccProfile);
}

bool passesThroughAsItIs(std::span<const std::uint8_t> source, PictureTurn turn) {
    const std::optional<Header> header = readHeader(TurboHandle().handle, source);
    return header && header->colourSpace != TJCS_CMYK && header->colourSpace != TJCS_YCCK &&
           keepsBlocksWhole(*header, operationFor(turn));
}

std::uint64_t passThroughMemory(std::span<const std::uint8_t> source, PictureTurn turn) {
    const std::optional<Header> header = readHeader(TurboHandle().handle, source);
    if (!header) {
        return 0;
    }
    const std::uint64_t coefficients = blockCount(*header) * kBytesPerBlock;
    // The written bytes, about as many as the source's, grow in a buffer that doubles and
    // are copied once into the result.
    return coefficients * (movesIntoCopy(operationFor(turn)) ? 2 : 1) + 3 * source.size();
}

} // namespace vellumar
