#include <cstdint>
#include <string>
#include <vector>
#include <zlib.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "project_error.h"
#include "readers/inflate_exact.h"

namespace vellumar {
namespace {

std::vector<std::uint8_t> deflated(const std::vector<std::uint8_t>& data) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    std::vector<std::uint8_t> packed(size);
    EXPECT_EQ(compress(packed.data(), &size, data.data(), static_cast<uLong>(data.size())), Z_OK);
    packed.resize(size);
    return packed;
}

std::string inflateError(const std::vector<std::uint8_t>& compressed, std::size_t size) {
    try {
        inflateExactly(compressed, size);
    } catch (const ProjectError& error) {
        return error.what();
    }
    return "no error";
}

TEST(InflateExactly, GivesBackExactlyWhatWasPacked) {
    const std::vector<std::uint8_t> data(100000, 7);
    EXPECT_EQ(inflateExactly(deflated(data), data.size()), data);
    EXPECT_TRUE(inflateExactly(deflated({}), 0).empty());
}

TEST(InflateExactly, RefusesAStreamThatGivesMoreOrFewerBytesOrIsDamaged) {
    const std::vector<std::uint8_t> data(1000, 42);
    const std::vector<std::uint8_t> packed = deflated(data);
    EXPECT_EQ(inflateError(packed, 999), "the compressed picture data is damaged");
    EXPECT_EQ(inflateError(packed, 1001), "the compressed picture data is damaged");

    const std::vector<std::uint8_t> cut(packed.begin(), packed.end() - 6);
    EXPECT_EQ(inflateError(cut, 1000), "the compressed picture data is damaged");
    std::vector<std::uint8_t> checksumWrong = packed;
    checksumWrong.back() ^= 1;
    EXPECT_EQ(inflateError(checksumWrong, 1000), "the compressed picture data is damaged");
    EXPECT_EQ(inflateError({1, 2, 3, 4}, 4), "the compressed picture data is damaged");
}

TEST(InflateExactly, RefusesSizesZlibCannotCount) {
    EXPECT_EQ(inflateError({}, std::size_t{1} << 33), "the compressed picture data is too large");
}

} // namespace
} // namespace vellumar
