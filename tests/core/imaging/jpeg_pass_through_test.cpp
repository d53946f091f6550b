#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <jpeglib.h>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "imaging/camera_orientation.h"
#include "imaging/jpeg_pass_through.h"
#include "imaging/rotate.h"
#include "support/libjpeg_decode.h"
#include "support/test_pictures.h"

namespace vellumar {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::decodeWithLibjpeg;
using testing::samePixels;

// A segment to write beside the picture: its marker and its data.
struct Segment {
    int marker;
    std::string data;
};

struct SourceOptions {
    int lumaWidthSampling = 2; // 2 and 2: chroma at half size both ways
    int lumaHeightSampling = 2;
    J_COLOR_SPACE stored = JCS_YCbCr;
    bool progressive = false;
    bool arithmetic = false;
    unsigned int restartRows = 0;
    std::vector<Segment> segments;
};

// Blocks full of detail, and unlike themselves turned or mirrored, so that every
// coefficient matters and a wrong turn shows.
Bitmap detailedPicture(int width, int height) {
    Bitmap picture(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const auto noise = static_cast<std::uint8_t>((x * 7919 + y * 104729) % 97);
            picture.setPixel(x, y,
                             {static_cast<std::uint8_t>(x * 255 / width + noise / 4),
                              static_cast<std::uint8_t>(y * 200 / height + (x % 5) * 9),
                              static_cast<std::uint8_t>(noise * 2)});
        }
    }
    return picture;
}

// A JPEG written by libjpeg as cameras and editors write theirs.
Bytes writeSource(const Bitmap& picture, const SourceOptions& options = {}) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    const bool cmyk = options.stored == JCS_CMYK || options.stored == JCS_YCCK;
    info.image_width = static_cast<JDIMENSION>(picture.width());
    info.image_height = static_cast<JDIMENSION>(picture.height());
    info.input_components = cmyk ? 4 : 3;
    info.in_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 85, TRUE);
    jpeg_set_colorspace(&info, options.stored);
    if (options.stored == JCS_YCbCr) {
        info.comp_info[0].h_samp_factor = options.lumaWidthSampling;
        info.comp_info[0].v_samp_factor = options.lumaHeightSampling;
    }
    info.arith_code = options.arithmetic;
    info.restart_in_rows = static_cast<int>(options.restartRows);
    if (options.progressive) {
        jpeg_simple_progression(&info);
    }
    jpeg_start_compress(&info, TRUE);
    for (const Segment& segment : options.segments) {
        jpeg_write_marker(&info, segment.marker,
                          reinterpret_cast<const JOCTET*>(segment.data.data()),
                          static_cast<unsigned int>(segment.data.size()));
    }
    std::vector<std::uint8_t> row(static_cast<std::size_t>(picture.width()) * 4);
    while (info.next_scanline < info.image_height) {
        const std::uint8_t* rgb = picture.row(static_cast<int>(info.next_scanline));
        for (int x = 0; x < picture.width(); ++x) {
            for (int c = 0; c < info.input_components; ++c) {
                row[static_cast<std::size_t>(x * info.input_components + c)] =
                    rgb[x * 3 + (c < 3 ? c : 0)];
            }
        }
        JSAMPROW rows = row.data();
        jpeg_write_scanlines(&info, &rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    Bytes bytes(out, out + size);
    std::free(out);
    return bytes;
}

// What metadata writers put in a photo: EXIF with a preview and maker notes, XMP, IPTC,
// a comment, a colour profile, and segments of kinds nobody reads.
std::vector<Segment> metadataSegments() {
    const std::string preview = "\xFF\xD8\xFF\xDB preview picture \xFF\xD9";
    return {
        {JPEG_APP0, std::string("JFXX\0\x10", 6) + preview},
        {JPEG_APP0 + 1, std::string("Exif\0\0MM\0*\0\0\0\x08", 14) + "maker note" + preview},
        {JPEG_APP0 + 1, std::string("http://ns.adobe.com/xap/1.0/\0", 29) + "<x:xmpmeta/>"},
        {JPEG_APP0 + 13, std::string("Photoshop 3.0\0008BIM\x04\x04", 20) + "caption"},
        {JPEG_APP0 + 2, std::string("ICC_PROFILE\0\x01\x01", 14) + "a profile of the source"},
        {JPEG_COM, "made by a camera"},
        {JPEG_APP0 + 5, "private data"},
        {JPEG_APP0 + 15, "more private data"},
    };
}

SourceOptions storedAs(J_COLOR_SPACE space) {
    SourceOptions options;
    options.stored = space;
    return options;
}

SourceOptions withMetadata(SourceOptions options = {}) {
    options.segments = metadataSegments();
    return options;
}

// What libjpeg reads from a JPEG's header.
struct Header {
    // Every APPn and comment segment, in order, with the first four bytes of its data.
    std::vector<std::string> segments;
    bool arithmetic = false;
    Bytes profile; // empty when there is none
};

Header headerOf(const Bytes& jpeg) {
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, jpeg.data(), jpeg.size());
    jpeg_save_markers(&info, JPEG_COM, 0xFFFF);
    for (int n = 0; n < 16; ++n) {
        jpeg_save_markers(&info, JPEG_APP0 + n, 0xFFFF);
    }
    jpeg_read_header(&info, TRUE);
    Header header;
    for (jpeg_saved_marker_ptr marker = info.marker_list; marker; marker = marker->next) {
        const std::string data(reinterpret_cast<const char*>(marker->data),
                               std::min<unsigned int>(marker->data_length, 4));
        header.segments.push_back(std::to_string(marker->marker) + " " + data);
    }
    header.arithmetic = info.arith_code;
    JOCTET* profile = nullptr;
    unsigned int length = 0;
    if (jpeg_read_icc_profile(&info, &profile, &length)) {
        header.profile.assign(profile, profile + length);
        std::free(profile);
    }
    jpeg_destroy_decompress(&info);
    return header;
}

const std::string kJfif = std::to_string(JPEG_APP0) + " JFIF";
const std::string kIcc = std::to_string(JPEG_APP0 + 2) + " ICC_";
const std::string kAdobe = std::to_string(JPEG_APP0 + 14) + " Adob";

std::optional<Bytes> passThrough(const Bytes& source, PictureTurn turn = {},
                                 const Bytes& profile = {}) {
    return passThroughJpeg(source, turn, profile);
}

TEST(JpegPassThrough, KeepsThePixelsOfEveryCodingAndDropsEveryMetadataSegment) {
    const Bitmap picture = detailedPicture(61, 43); // partial blocks at both edges
    using Change = std::function<void(SourceOptions&)>;
    const std::vector<std::pair<std::string, Change>> codings = {
        {"4:2:0", [](SourceOptions&) {}},
        {"4:2:2", [](SourceOptions& o) { o.lumaHeightSampling = 1; }},
        {"4:4:4", [](SourceOptions& o) { o.lumaWidthSampling = o.lumaHeightSampling = 1; }},
        {"grey", [](SourceOptions& o) { o.stored = JCS_GRAYSCALE; }},
        {"progressive", [](SourceOptions& o) { o.progressive = true; }},
        {"arithmetic", [](SourceOptions& o) { o.arithmetic = true; }},
        {"restart intervals", [](SourceOptions& o) { o.restartRows = 1; }},
    };
    for (const auto& [name, change] : codings) {
        SourceOptions options;
        change(options);
        options.segments = metadataSegments();
        const Bytes source = writeSource(picture, options);
        ASSERT_GT(headerOf(source).segments.size(), 7u) << name;
        const std::optional<Bytes> passed = passThrough(source);
        ASSERT_TRUE(passed) << name;
        EXPECT_TRUE(
            samePixels(decodeWithLibjpeg(*passed).picture, decodeWithLibjpeg(source).picture))
            << name;
        EXPECT_EQ(headerOf(*passed).segments, std::vector<std::string>{kJfif}) << name;
        // Passed through again, it is what it was: only what decoding needs is left.
        EXPECT_EQ(passThrough(*passed), passed) << name;
        if (options.arithmetic) {
            // Browsers do not decode it: written afresh with Huffman coding, in progressive
            // scans as the encoder writes a large picture of this size.
            EXPECT_FALSE(headerOf(*passed).arithmetic);
            EXPECT_TRUE(decodeWithLibjpeg(*passed).progressive);
        } else {
            // The source's own bytes, less what was left out.
            std::size_t left = 0;
            for (const Segment& segment : options.segments) {
                left += 4 + segment.data.size();
            }
            EXPECT_EQ(passed->size(), source.size() - left) << name;
            EXPECT_EQ(decodeWithLibjpeg(*passed).progressive, options.progressive) << name;
        }
    }
}

TEST(JpegPassThrough, TurnedPicturesAreWrittenInTheCodingTheEncoderGivesTheirSize) {
    const Bytes small = writeSource(testing::filledPicture(64, 48, {90, 140, 200}));
    EXPECT_TRUE(decodeWithLibjpeg(*passThrough(small, {3, 0})).progressive);
    // Too large for fitted tables: sequential, whatever the source was.
    SourceOptions progressive;
    progressive.progressive = true;
    progressive.stored = JCS_GRAYSCALE;
    const Bytes large =
        writeSource(testing::filledPicture(3008, 3008, {90, 140, 200}), progressive);
    const std::optional<Bytes> passed = passThrough(large, {3, 0});
    ASSERT_TRUE(passed);
    EXPECT_FALSE(decodeWithLibjpeg(*passed).progressive);
}

TEST(JpegPassThrough, RgbPicturesKeepTheAdobeMarkerThatSaysSo) {
    const Bitmap picture = detailedPicture(32, 32);
    const Bytes source = writeSource(picture, withMetadata(storedAs(JCS_RGB)));
    const std::optional<Bytes> passed = passThrough(source, {}, Bytes(300, 7));
    ASSERT_TRUE(passed);
    EXPECT_TRUE(samePixels(decodeWithLibjpeg(*passed).picture, decodeWithLibjpeg(source).picture));
    EXPECT_EQ(headerOf(*passed).segments, (std::vector<std::string>{kAdobe, kIcc}));
}

TEST(JpegPassThrough, EmbedsTheGivenProfileInPlaceOfTheSources) {
    const Bytes source = writeSource(detailedPicture(48, 32), withMetadata());
    // One segment holds 65519 bytes of a profile; larger ones are split.
    for (const std::size_t size : {std::size_t{1}, std::size_t{65519}, std::size_t{150'000}}) {
        Bytes profile(size);
        for (std::size_t i = 0; i < size; ++i) {
            profile[i] = static_cast<std::uint8_t>(i * 31 + i / 256);
        }
        const std::optional<Bytes> passed = passThrough(source, {6, 0}, profile);
        ASSERT_TRUE(passed) << size;
        EXPECT_EQ(headerOf(*passed).profile, profile) << size;
        const std::vector<std::string> segments = headerOf(*passed).segments;
        ASSERT_FALSE(segments.empty());
        EXPECT_EQ(segments.front(), kJfif);
        EXPECT_EQ(segments.size(), 1 + (size + 65518) / 65519) << size;
    }
    EXPECT_TRUE(headerOf(*passThrough(source)).profile.empty());
    // More than 255 segments cannot be numbered.
    EXPECT_FALSE(passThrough(source, {}, Bytes(255 * 65519 + 1, 1)));
}

// The picture libjpeg decodes from source, stood up as turnAsCameraHeld and Rotate do.
Bitmap turnedReference(const Bytes& source, PictureTurn turn) {
    return Rotate(turnAsCameraHeld(decodeWithLibjpeg(source).picture, turn.orientation),
                  quarterTurnsToDegrees(turn.quarterTurns));
}

// Moving coefficients is lossless, but a block's inverse transform rounds its samples in an
// order the turn changes, and chroma is interpolated from one side: a sample may differ by a
// few levels from the same block decoded and then turned, never by more.
void expectNearlySame(const Bitmap& got, const Bitmap& want, const std::string& what) {
    ASSERT_EQ(got.width(), want.width()) << what;
    ASSERT_EQ(got.height(), want.height()) << what;
    int worst = 0;
    for (int y = 0; y < want.height(); ++y) {
        for (int x = 0; x < want.width() * 3; ++x) {
            worst = std::max(worst, std::abs(got.row(y)[x] - want.row(y)[x]));
        }
    }
    EXPECT_LE(worst, 3) << what;
}

TEST(JpegPassThrough, TurnsAsTheCameraWasHeldAndThenByQuarterTurnsWithoutLoss) {
    const Bytes source = writeSource(detailedPicture(64, 48));
    const Bitmap original = decodeWithLibjpeg(source).picture;
    for (int orientation = 1; orientation <= 8; ++orientation) {
        for (int quarterTurns = 0; quarterTurns < 4; ++quarterTurns) {
            const PictureTurn turn{orientation, quarterTurns};
            const std::string what =
                std::to_string(orientation) + " then " + std::to_string(quarterTurns) + " quarters";
            std::optional<Bytes> passed = passThrough(source, turn);
            ASSERT_TRUE(passed) << what;
            expectNearlySame(decodeWithLibjpeg(*passed).picture, turnedReference(source, turn),
                             what);
            // Four times the same turn stands any picture as it was: nothing was lost on the way.
            for (int again = 1; again < 4 && passed; ++again) {
                passed = passThrough(*passed, turn);
            }
            ASSERT_TRUE(passed) << what;
            EXPECT_TRUE(samePixels(decodeWithLibjpeg(*passed).picture, original)) << what;
        }
    }
}

TEST(JpegPassThrough, PartialBlocksRefuseOnlyTheTurnsThatWouldMoveThem) {
    // Whole 16-pixel blocks down but not across: the right edge must stay on the right.
    const Bytes wide = writeSource(detailedPicture(70, 48));
    // Not across nor down: only a mirror along the main diagonal keeps both edges.
    const Bytes ragged = writeSource(detailedPicture(70, 45));
    for (int orientation = 1; orientation <= 8; ++orientation) {
        const bool rightEdgeStays =
            orientation == 1 || orientation == 4 || orientation == 5 || orientation == 6;
        const std::optional<Bytes> passed = passThrough(wide, {orientation, 0});
        EXPECT_EQ(passed.has_value(), rightEdgeStays) << orientation;
        if (passed) {
            expectNearlySame(decodeWithLibjpeg(*passed).picture,
                             turnedReference(wide, {orientation, 0}), std::to_string(orientation));
        }
        EXPECT_EQ(passThrough(ragged, {orientation, 0}).has_value(),
                  orientation == 1 || orientation == 5)
            << orientation;
        // The header alone tells the same, for every turn added to the orientation.
        for (int quarterTurns = 0; quarterTurns < 4; ++quarterTurns) {
            for (const Bytes* source : {&wide, &ragged}) {
                const PictureTurn turn{orientation, quarterTurns};
                EXPECT_EQ(passesThroughAsItIs(*source, turn),
                          passThrough(*source, turn).has_value())
                    << orientation << " " << quarterTurns;
            }
        }
    }
    // A quarter turn back undoes orientation 8's quarter turn: together they leave the picture.
    EXPECT_TRUE(passThrough(ragged, {8, 1}));
}

TEST(JpegPassThrough, RefusesWhatMustBeDecodedOrIsDamaged) {
    const Bitmap picture = detailedPicture(48, 32);
    EXPECT_FALSE(passThrough(writeSource(picture, storedAs(JCS_CMYK))));
    EXPECT_FALSE(passThrough(writeSource(picture, storedAs(JCS_YCCK))));

    EXPECT_FALSE(passThrough({}));
    EXPECT_FALSE(passThrough(Bytes(5000, 0xFF)));
    EXPECT_FALSE(passThrough(Bytes{0xFF, 0xD8, 0xFF, 0xD9}));

    SourceOptions progressive;
    progressive.progressive = true;
    const Bytes source = writeSource(picture, progressive);
    // Cut anywhere: within the header, a scan or before the end-of-image marker.
    for (std::size_t length = 0; length < source.size(); ++length) {
        const Bytes cut(source.begin(), source.begin() + static_cast<std::ptrdiff_t>(length));
        EXPECT_FALSE(passThrough(cut, {3, 0})) << length;
    }
    // 12-bit samples and lossless coding: the frame header says what the data cannot be.
    const Bytes sequential = writeSource(picture);
    constexpr std::uint8_t kBaselineFrame[] = {0xFF, 0xC0};
    const auto frame = std::search(sequential.begin(), sequential.end(), std::begin(kBaselineFrame),
                                   std::end(kBaselineFrame));
    ASSERT_NE(frame, sequential.end());
    const auto at = static_cast<std::size_t>(frame - sequential.begin());
    Bytes twelveBit = sequential;
    twelveBit[at + 4] = 12;
    EXPECT_FALSE(passThrough(twelveBit));
    Bytes lossless = sequential;
    lossless[at + 1] = 0xC3;
    EXPECT_FALSE(passThrough(lossless));
    // A marker in the middle of the scan: libjpeg-turbo only warns and makes up the rest, so
    // a turn is refused; unturned, the data is copied as it is, and shown as any browser shows
    // it, as the decode of its thumbnail does.
    Bytes broken = sequential;
    broken.insert(broken.end() - 100, {0xFF, 0xD3});
    EXPECT_FALSE(passThrough(broken, {6, 0}));
}

TEST(JpegPassThrough, MemoryCountsEveryCoefficientAndTheCopyTurnsMake) {
    const Bytes source = writeSource(detailedPicture(64, 48));
    // 4 x 3 blocks of 16 x 16 pixels, each 4 luma and 2 chroma blocks of 64 two-byte values.
    const std::uint64_t coefficients = 4 * 3 * 6 * 64 * 2;
    EXPECT_EQ(passThroughMemory(source, {}), coefficients + 3 * source.size());
    EXPECT_EQ(passThroughMemory(source, {2, 0}), coefficients + 3 * source.size());
    EXPECT_EQ(passThroughMemory(source, {1, 1}), 2 * coefficients + 3 * source.size());
    EXPECT_EQ(passThroughMemory(Bytes(100, 0), {}), 0u);
}

} // namespace
} // namespace vellumar
