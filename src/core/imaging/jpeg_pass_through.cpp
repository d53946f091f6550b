#include "jpeg_pass_through.h"

#include <algorithm>
#include <array>
#include <turbojpeg.h>

#include "imaging/camera_orientation.h"
#include "imaging/jpeg_writer.h"
#include "imaging/rotate.h"

namespace vellumar {

namespace {

// An APP2 segment holds at most 65533 bytes after its length; the profile's chunks share
// them with a 12-byte signature and two bytes that number them, at most 255 chunks.
constexpr std::array<std::uint8_t, 12> kIccSignature = {'I', 'C', 'C', '_', 'P', 'R',
                                                        'O', 'F', 'I', 'L', 'E', '\0'};
constexpr std::size_t kIccChunkBytes = 65533 - kIccSignature.size() - 2;
constexpr std::size_t kMaxIccChunks = 255;

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

// Where the profile goes: after the start of image and the JFIF or Adobe segment that
// libjpeg-turbo wrote first, where libjpeg's own encoder puts it too.
std::size_t profilePlace(std::span<const std::uint8_t> jpeg) {
    std::size_t at = 2;
    while (at + 4 <= jpeg.size() && jpeg[at] == 0xFF &&
           (jpeg[at + 1] == 0xE0 || jpeg[at + 1] == 0xEE)) {
        at += 2 + (static_cast<std::size_t>(jpeg[at + 2]) << 8 | jpeg[at + 3]);
    }
    return std::min(at, jpeg.size());
}

std::size_t chunkCount(std::span<const std::uint8_t> profile) {
    return (profile.size() + kIccChunkBytes - 1) / kIccChunkBytes;
}

// The profile in APP2 segments, each a chunk after the signature, its number and the count.
void appendProfile(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> profile) {
    const std::size_t count = chunkCount(profile);
    for (std::size_t index = 0; index < count; ++index) {
        const std::span<const std::uint8_t> chunk =
            profile.subspan(index * kIccChunkBytes,
                            std::min(kIccChunkBytes, profile.size() - index * kIccChunkBytes));
        const std::size_t length = 2 + kIccSignature.size() + 2 + chunk.size();
        out.insert(out.end(), {0xFF, 0xE2, static_cast<std::uint8_t>(length >> 8),
                               static_cast<std::uint8_t>(length & 0xFF)});
        out.insert(out.end(), kIccSignature.begin(), kIccSignature.end());
        out.push_back(static_cast<std::uint8_t>(index + 1));
        out.push_back(static_cast<std::uint8_t>(count));
        out.insert(out.end(), chunk.begin(), chunk.end());
    }
}

struct Header {
    int width = 0;
    int height = 0;
    int sampling = 0;
    int colourSpace = 0;
};

std::optional<Header> readHeader(tjhandle handle, std::span<const std::uint8_t> source) {
    Header header;
    if (source.empty() ||
        tjDecompressHeader3(handle, source.data(), static_cast<unsigned long>(source.size()),
                            &header.width, &header.height, &header.sampling,
                            &header.colourSpace) != 0) {
        return std::nullopt;
    }
    return header;
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

} // namespace

std::optional<std::vector<std::uint8_t>> passThroughJpeg(std::span<const std::uint8_t> source,
                                                         PictureTurn turn,
                                                         std::span<const std::uint8_t> iccProfile) {
    if (chunkCount(iccProfile) > kMaxIccChunks) {
        return std::nullopt;
    }
    const TurboHandle turbo;
    if (turbo.handle == nullptr) {
        return std::nullopt;
    }
    const std::optional<Header> header = readHeader(turbo.handle, source);
    if (!header || header->colourSpace == TJCS_CMYK || header->colourSpace == TJCS_YCCK) {
        return std::nullopt;
    }
    tjtransform transform{};
    transform.op = operationFor(turn);
    transform.options = TJXOPT_PERFECT | TJXOPT_COPYNONE;
    // Written as the encoder would write the large picture: progressive scans, smaller and
    // shown early, except for pictures so large that the extra passes cost more than a whole
    // pass-through does. The coefficients are held either way, so this costs no memory.
    if (jpegCodingFor({header->width, header->height}, true) == JpegCoding::Progressive) {
        transform.options |= TJXOPT_PROGRESSIVE;
    }
    TurboBuffer written;
    // A warning means damaged data that libjpeg-turbo would make up: refused like an error,
    // as soon as it is met.
    // A progressive picture of absurdly many scans is refused too rather than read for ever.
    if (tjTransform(turbo.handle, source.data(), static_cast<unsigned long>(source.size()), 1,
                    &written.bytes, &written.size, &transform,
                    TJFLAG_STOPONWARNING | TJFLAG_LIMITSCANS) != 0) {
        return std::nullopt;
    }
    const std::span<const std::uint8_t> jpeg(written.bytes, written.size);
    const std::size_t place = profilePlace(jpeg);
    std::vector<std::uint8_t> out;
    out.reserve(jpeg.size() + iccProfile.size() +
                chunkCount(iccProfile) * (4 + kIccSignature.size() + 2));
    out.insert(out.end(), jpeg.begin(), jpeg.begin() + static_cast<std::ptrdiff_t>(place));
    appendProfile(out, iccProfile);
    out.insert(out.end(), jpeg.begin() + static_cast<std::ptrdiff_t>(place), jpeg.end());
    return out;
}

std::uint64_t passThroughMemory(std::span<const std::uint8_t> source, PictureTurn turn) {
    const TurboHandle turbo;
    if (turbo.handle == nullptr) {
        return 0;
    }
    const std::optional<Header> header = readHeader(turbo.handle, source);
    if (!header) {
        return 0;
    }
    const std::uint64_t coefficients = blockCount(*header) * kBytesPerBlock;
    // The written bytes, about as many as the source's, grow in a buffer that doubles and
    // are copied once into the result.
    return coefficients * (movesIntoCopy(operationFor(turn)) ? 2 : 1) + 3 * source.size();
}

} // namespace vellumar
