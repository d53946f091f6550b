#include <algorithm>
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "imaging/jpeg_segments.h"
#include "imaging/jpeg_writer.h"
#include "support/test_pictures.h"

namespace vellumar {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Our encoder's JPEG: the start of image, a 16-byte JFIF header, then the tables.
Bytes encoded() {
    return encodeJpeg(testing::markedPicture(40, 24), JpegCoding::Standard);
}

constexpr std::ptrdiff_t kAfterJfif = 2 + 2 + 16;

Bytes joined(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

TEST(JpegSegments, KeepsTheJfifFieldsWithoutItsPreviewAndLeavesOutWhatCarriesNothing) {
    const Bytes source = encoded();
    ASSERT_EQ(source[3], 0xE0);
    // 72 dots an inch, and a preview of 2 x 1 pixels.
    const Bytes jfifWithPreview = {0xFF, 0xE0, 0, 22, 'J', 'F', 'I', 'F', 0, 1, 2, 1,
                                   0,    72,   0, 72, 2,   1,   9,   9,   9, 9, 9, 9};
    const Bytes rest(source.begin() + kAfterJfif, source.end());
    // Fill bytes and markers without data between segments, and bytes after the end.
    const Bytes withPreview =
        joined({{0xFF, 0xD8}, jfifWithPreview, {0xFF, 0xFF, 0x01, 0xFF, 0xD3}, rest, {1, 2}});

    Bytes want = source;
    const Bytes fields = {'J', 'F', 'I', 'F', 0, 1, 2, 1, 0, 72, 0, 72, 0, 0};
    std::copy(fields.begin(), fields.end(), want.begin() + 6);
    EXPECT_EQ(keepDecodingSegments(withPreview, {}), want);
}

TEST(JpegSegments, RefusesDataItCannotFollowToTheEnd) {
    const Bytes source = encoded();
    for (std::size_t length = 0; length < source.size(); ++length) {
        EXPECT_FALSE(keepDecodingSegments(Bytes(source.begin(), source.begin() + length), {}))
            << length;
    }
    Bytes tooLong = source;
    tooLong[kAfterJfif + 2] = 0xFF; // the length of the first table past the end
    EXPECT_FALSE(keepDecodingSegments(tooLong, {}));
    Bytes stray = source;
    stray.insert(stray.begin() + kAfterJfif, 0);
    EXPECT_FALSE(keepDecodingSegments(stray, {}));
    Bytes arithmetic = source;
    const Bytes frame = {0xFF, 0xC0};
    const auto at = std::search(arithmetic.begin(), arithmetic.end(), frame.begin(), frame.end());
    ASSERT_NE(at, arithmetic.end());
    at[1] = 0xC9;
    EXPECT_FALSE(keepDecodingSegments(arithmetic, {}));
    EXPECT_FALSE(keepDecodingSegments(source, Bytes(255 * 65519 + 1, 0)));
    EXPECT_TRUE(keepDecodingSegments(source, Bytes(255 * 65519, 0)));
}

} // namespace
} // namespace vellumar
