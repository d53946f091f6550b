#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "imaging/memory_budget.h"
#include "pipeline/picture_render.h"
#include "project_error.h"
#include "readers/reader_table.h"
#include "support/scratch_folder.h"

namespace vellumar {
namespace {

std::string refusalOf(MemoryBudget& budget, PictureSize size, std::uint64_t bytes) {
    try {
        budget.reserve("/photos/x.png", size, bytes);
    } catch (const ProjectError& error) {
        return error.what();
    }
    return "not refused";
}

TEST(MemoryBudget, RefusesAPictureThatAloneNeedsMoreThanTheLimit) {
    MemoryBudget budget(1'000'000'000);
    EXPECT_EQ(refusalOf(budget, {20000, 20000}, 1'200'000'000),
              "Picture too large to load in memory: /photos/x.png (20000 x 20000 pixels needs "
              "1,200 MB; the limit is 1,000 MB)");
    // Parts of a megabyte count as a whole one.
    MemoryBudget small(2'500'000);
    EXPECT_EQ(refusalOf(small, {1000, 1000}, 3'000'001),
              "Picture too large to load in memory: /photos/x.png (1000 x 1000 pixels needs 4 MB; "
              "the limit is 3 MB)");
    EXPECT_EQ(refusalOf(small, {1000, 833}, 2'500'000), "not refused");
}

TEST(MemoryBudget, APictureThatFitsAloneWaitsForThoseInHand) {
    MemoryBudget budget(100);
    auto first = budget.reserve("a", {1, 1}, 60);
    std::atomic<bool> reserved = false;
    std::thread second([&] {
        const auto held = budget.reserve("b", {1, 1}, 50);
        reserved = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(reserved);
    first = {};
    second.join();
    EXPECT_TRUE(reserved);
    // Everything was given back: the whole limit can be taken again.
    const auto whole = budget.reserve("c", {1, 1}, 100);
}

// A PNG that declares width x height pixels and holds nothing else: any decode fails, so
// only a refusal from the header alone names the memory.
std::string pngHeaderOnly(const std::filesystem::path& path, int width, int height) {
    std::string bytes("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
    for (const int side : {width, height}) {
        for (const int shift : {24, 16, 8, 0}) {
            bytes += static_cast<char>((side >> shift) & 0xFF);
        }
    }
    bytes += std::string("\x08\x02\0\0\0", 5);
    testing::writeFile(path, bytes);
    return path.string();
}

std::string renderFailure(const RenderRequest& request) {
    try {
        renderPicture(request, pictureFormats());
    } catch (const ProjectError& error) {
        return error.what();
    }
    return "rendered";
}

TEST(MemoryBudget, RenderingRefusesBeforeDecodingCountingAQuarterTurnTwice) {
    const testing::ScratchFolder folder;
    RenderRequest request;
    request.path = pngHeaderOnly(folder.path() / "wide.png", 3000, 2000);
    request.thumbnail = PictureBox{100, 100, true};
    request.largePicture = true;
    request.memory = std::make_shared<MemoryBudget>(30'000'000);
    // 18 MB fits: the decode is tried and meets the missing data.
    EXPECT_EQ(renderFailure(request).find("Cannot read picture " + request.path), 0u);
    // Turned by a quarter, the own-size large picture is held twice; the file's bytes, held
    // while it decodes, take the figure past 36 MB.
    request.rotate = 1;
    EXPECT_EQ(renderFailure(request), "Picture too large to load in memory: " + request.path +
                                          " (3000 x 2000 pixels needs 37 MB; the limit is 30 MB)");
}

} // namespace
} // namespace vellumar
