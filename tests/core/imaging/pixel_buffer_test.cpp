#include <cstdint>
#include <cstring>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "imaging/pixel_buffer.h"

namespace vellumar {
namespace {

constexpr std::size_t kMiB = 1024 * 1024;

void fill(PixelBuffer& buffer, std::uint8_t seed) {
    for (std::size_t i = 0; i < buffer.size(); ++i) {
        buffer.data()[i] = static_cast<std::uint8_t>(seed + i * 7);
    }
}

bool holds(const PixelBuffer& buffer, std::size_t count, std::uint8_t seed) {
    for (std::size_t i = 0; i < count; ++i) {
        if (buffer.data()[i] != static_cast<std::uint8_t>(seed + i * 7)) {
            return false;
        }
    }
    return true;
}

// The next raster of about the same size reuses a freed block, and growing within the
// block's room or beyond it keeps every byte written.
TEST(PixelBuffer, AFreedLargeBlockServesTheNextRasterAndGrowsKeepingItsBytes) {
    const std::uint8_t* freed = nullptr;
    {
        PixelBuffer first(3 * kMiB);
        fill(first, 1);
        freed = first.data();
    }
    PixelBuffer second(3 * kMiB - 100);
    EXPECT_EQ(second.data(), freed);
    fill(second, 2);

    second.resize(4 * kMiB); // the rounded block holds it
    EXPECT_EQ(second.data(), freed);
    EXPECT_TRUE(holds(second, 3 * kMiB - 100, 2));

    second.resize(9 * kMiB);
    EXPECT_TRUE(holds(second, 3 * kMiB - 100, 2));
    fill(second, 3);
    const PixelBuffer copy = second;
    EXPECT_TRUE(holds(copy, 9 * kMiB, 3));
}

// Blocks freed by threads that end, or by another thread than the one that made them, are
// neither lost nor freed twice (the sanitizers watch this).
TEST(PixelBuffer, BlocksOutliveTheThreadsThatMadeThem) {
    std::vector<PixelBuffer> handedOver;
    std::thread worker([&] {
        for (int i = 0; i < 20; ++i) {
            PixelBuffer kept((2 + i % 5) * kMiB);
            fill(kept, static_cast<std::uint8_t>(i));
            if (i % 4 == 0) {
                handedOver.push_back(std::move(kept));
            }
        }
    });
    worker.join();
    ASSERT_EQ(handedOver.size(), 5u);
    for (std::size_t i = 0; i < handedOver.size(); ++i) {
        EXPECT_TRUE(holds(handedOver[i], handedOver[i].size(), static_cast<std::uint8_t>(4 * i)));
    }
    handedOver.clear();
    PixelBuffer after(6 * kMiB);
    fill(after, 9);
    EXPECT_TRUE(holds(after, after.size(), 9));
}

} // namespace
} // namespace vellumar
