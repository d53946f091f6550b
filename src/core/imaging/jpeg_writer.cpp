#include "jpeg_writer.h"

#include <array>
#include <cstdio>
#include <jpeglib.h>
#include <string>
#include <vector>

#include "imaging/jpeg_error.h"
#include "imaging/raster.h"
#include "project_error.h"

namespace vellumar {

namespace {

// Collects the encoded bytes in a vector. libjpeg fills a small chunk that is appended as it
// fills, so the vector only ever holds bytes that were written: a picture of its own size
// does not make memory resident for output it will not need.
struct VectorDestination {
    jpeg_destination_mgr manager;
    std::vector<std::uint8_t>* bytes;
    std::array<std::uint8_t, 64 * 1024> chunk;
};

VectorDestination& destinationOf(j_compress_ptr info) {
    return *reinterpret_cast<VectorDestination*>(info->dest);
}

void appendChunk(VectorDestination& destination, std::size_t used) {
    destination.bytes->insert(destination.bytes->end(), destination.chunk.begin(),
                              destination.chunk.begin() + static_cast<std::ptrdiff_t>(used));
    destination.manager.next_output_byte = destination.chunk.data();
    destination.manager.free_in_buffer = destination.chunk.size();
}

void startOutput(j_compress_ptr info) {
    // An eighth of the raw size holds most quality-90 photographs; busier ones grow once.
    // Reserved, not filled: only what is appended becomes resident.
    destinationOf(info).bytes->reserve(
        static_cast<std::size_t>(info->image_width) * info->image_height * 3 / 8 + 4096);
    appendChunk(destinationOf(info), 0);
}

boolean growOutput(j_compress_ptr info) {
    VectorDestination& destination = destinationOf(info);
    appendChunk(destination, destination.chunk.size());
    return TRUE;
}

void finishOutput(j_compress_ptr info) {
    VectorDestination& destination = destinationOf(info);
    appendChunk(destination, destination.chunk.size() - destination.manager.free_in_buffer);
}

// Destroys the compressor however the encoding ends.
struct CompressorGuard {
    jpeg_compress_struct& info;
    ~CompressorGuard() { jpeg_destroy_compress(&info); }
};

// Runs libjpeg over the rows of a 24-bit bitmap; its fatal errors are thrown as JpegError.
void compress(const Bitmap& rgb, JpegCoding coding, std::span<const std::uint8_t> iccProfile,
              std::vector<std::uint8_t>& bytes) {
    JpegErrorManager errors;
    jpeg_compress_struct info;
    info.err = &errors;
    jpeg_create_compress(&info);
    const CompressorGuard guard{info};

    VectorDestination destination;
    destination.manager.init_destination = startOutput;
    destination.manager.empty_output_buffer = growOutput;
    destination.manager.term_destination = finishOutput;
    destination.bytes = &bytes;
    info.dest = &destination.manager;

    info.image_width = static_cast<JDIMENSION>(rgb.width());
    info.image_height = static_cast<JDIMENSION>(rgb.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, kJpegQuality, TRUE);
    info.optimize_coding = coding != JpegCoding::Standard;
    if (coding == JpegCoding::Progressive) {
        jpeg_simple_progression(&info);
    }
    jpeg_start_compress(&info, TRUE);
    if (!iccProfile.empty()) {
        jpeg_write_icc_profile(&info, iccProfile.data(),
                               static_cast<unsigned int>(iccProfile.size()));
    }
    while (info.next_scanline < info.image_height) {
        // libjpeg takes rows as non-const pointers but only reads them.
        JSAMPROW row = const_cast<JSAMPROW>(rgb.row(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
}

// The coefficients a buffered encode keeps.
std::uint64_t coefficientBytes(PictureSize size) {
    // At 4:2:0 every 16 x 16 pixels hold four luma and two chroma blocks of 64 two-byte
    // coefficients.
    constexpr std::uint64_t kBytesPerMcu = 6 * 64 * 2;
    const auto mcus = [](int side) { return (static_cast<std::uint64_t>(side) + 15) / 16; };
    return mcus(size.width) * mcus(size.height) * kBytesPerMcu;
}

} // namespace

JpegCoding jpegCodingFor(PictureSize size, bool progressive) {
    if (static_cast<std::uint64_t>(size.width) * static_cast<std::uint64_t>(size.height) >
        kBufferedJpegPixelLimit) {
        return JpegCoding::Standard;
    }
    return progressive ? JpegCoding::Progressive : JpegCoding::Optimised;
}

std::uint64_t jpegCodingMemory(PictureSize size) {
    if (jpegCodingFor(size, false) == JpegCoding::Standard) {
        return 0;
    }
    return coefficientBytes(size);
}

std::uint64_t jpegCodingMemoryWithin(PictureSize bound) {
    // A bound too large to buffer may still hold a picture just small enough to be buffered.
    constexpr int kLargestBufferedSide = 3'000;
    static_assert(std::uint64_t{kLargestBufferedSide} * kLargestBufferedSide ==
                  kBufferedJpegPixelLimit);
    return jpegCodingFor(bound, false) == JpegCoding::Standard
               ? coefficientBytes({kLargestBufferedSide, kLargestBufferedSide})
               : coefficientBytes(bound);
}

std::vector<std::uint8_t> encodeJpeg(const Bitmap& bitmap, JpegCoding coding,
                                     std::span<const std::uint8_t> iccProfile) {
    std::vector<std::uint8_t> bytes;
    if (bitmap.isEmpty()) {
        return bytes;
    }
    const Rgb24View view(bitmap);
    compress(view.bitmap(), coding, iccProfile, bytes);
    return bytes;
}

std::vector<std::uint8_t> encodeJpeg(const Bitmap& bitmap,
                                     std::span<const std::uint8_t> iccProfile) {
    return encodeJpeg(bitmap, jpegCodingFor({bitmap.width(), bitmap.height()}, false), iccProfile);
}

} // namespace vellumar
