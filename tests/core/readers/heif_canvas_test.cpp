#include <cstdint>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "project_error.h"
#include "readers/heif_canvas.h"
#include "readers/heif_reader.h"

namespace vellumar::testing {
namespace {

using Data = std::vector<std::uint8_t>;

void putBig(Data& data, std::uint64_t value, unsigned bytes) {
    for (unsigned i = bytes; i-- > 0;) {
        data.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

Data box(const std::string& type, const Data& payload) {
    Data data;
    putBig(data, 8 + payload.size(), 4);
    data.insert(data.end(), type.begin(), type.end());
    data.insert(data.end(), payload.begin(), payload.end());
    return data;
}

Data fullBox(const std::string& type, std::uint8_t version, std::uint32_t flags, Data payload) {
    Data header{version};
    putBig(header, flags, 3);
    payload.insert(payload.begin(), header.begin(), header.end());
    return box(type, payload);
}

Data joined(std::initializer_list<Data> parts) {
    Data data;
    for (const Data& part : parts) {
        data.insert(data.end(), part.begin(), part.end());
    }
    return data;
}

Data gridDescriptor(std::uint32_t width, std::uint32_t height, bool wideFields) {
    Data data{0, static_cast<std::uint8_t>(wideFields ? 1 : 0), 0, 0};
    putBig(data, width, wideFields ? 4 : 2);
    putBig(data, height, wideFields ? 4 : 2);
    return data;
}

Data overlayDescriptor(std::uint16_t width, std::uint16_t height) {
    Data data{0, 0};
    putBig(data, 0xffff'ffff'ffff'ffff, 8); // fill colour
    putBig(data, width, 2);
    putBig(data, height, 2);
    putBig(data, 0, 4); // the one picture's offset
    return data;
}

Data itemEntry(std::uint32_t item, const std::string& type) {
    Data payload;
    putBig(payload, item, 2);
    putBig(payload, 0, 2);
    payload.insert(payload.end(), type.begin(), type.end());
    return fullBox("infe", 2, 0, payload);
}

// An HEVC decoder configuration for 8-bit 4:2:0 without parameter sets: enough for libheif to
// read the file, which is all these tests ask of it.
Data hevcConfiguration() {
    Data configuration(23);
    configuration[0] = 1;  // version
    configuration[16] = 1; // 4:2:0
    configuration[21] = 3; // 4-byte lengths
    return configuration;
}

// A picture made of one 64 x 48 tile (item 1) by a derived item 2, whose descriptor lies in the
// idat box and whose declared size is given unless it is 0 x 0.
struct DerivedPicture {
    std::string type = "grid";
    Data descriptor;
    HeifItemSize declared{64, 48};
    std::size_t claimedLength = 0; // the descriptor's length in the item locations if not 0
    std::uint16_t primaryItem = 2; // 1: the tile is the picture shown
};

Data heifFile(const DerivedPicture& picture) {
    Data entries;
    putBig(entries, 2, 2);
    const Data iinf =
        fullBox("iinf", 0, 0, joined({entries, itemEntry(1, "hvc1"), itemEntry(2, picture.type)}));
    Data locations{0x44, 0x00}; // 4-byte offsets and lengths, no base offset
    putBig(locations, 2, 2);
    for (const std::uint32_t item : {1u, 2u}) {
        putBig(locations, item, 2);
        putBig(locations, item == 2 ? 1 : 0, 2); // the descriptor lies in the idat box
        putBig(locations, 0, 2);
        putBig(locations, 1, 2);
        putBig(locations, 0, 4);
        const std::size_t length =
            picture.claimedLength != 0 ? picture.claimedLength : picture.descriptor.size();
        putBig(locations, item == 2 ? length : 0, 4);
    }
    Data primary;
    putBig(primary, picture.primaryItem, 2);
    Data references;
    putBig(references, 2, 2);
    putBig(references, 1, 2);
    putBig(references, 1, 2);
    Data size;
    putBig(size, picture.declared.width, 4);
    putBig(size, picture.declared.height, 4);
    Data tileSize;
    putBig(tileSize, 64, 4);
    putBig(tileSize, 48, 4);
    Data associations;
    putBig(associations, 2, 4);
    putBig(associations, 1, 2);
    associations.insert(associations.end(), {2, 0x82, 0x83}); // the tile's size and coding
    putBig(associations, 2, 2);
    const bool declared = picture.declared != HeifItemSize{};
    associations.push_back(declared ? 1 : 0);
    if (declared) {
        associations.push_back(0x81);
    }
    const Data meta =
        fullBox("meta", 0, 0,
                joined({fullBox("hdlr", 0, 0, Data{0, 0, 0, 0, 'p', 'i', 'c', 't', 0, 0, 0,
                                                   0, 0, 0, 0, 0,   0,   0,   0,   0, 0}),
                        fullBox("pitm", 0, 0, primary), iinf, fullBox("iloc", 1, 0, locations),
                        box("iref", joined({Data{0, 0, 0, 0}, box("dimg", references)})),
                        box("iprp", joined({box("ipco", joined({fullBox("ispe", 0, 0, size),
                                                                fullBox("ispe", 0, 0, tileSize),
                                                                box("hvcC", hevcConfiguration())})),
                                            fullBox("ipma", 0, 0, associations)})),
                        box("idat", picture.descriptor)}));
    const Data brands{'h', 'e', 'i', 'c', 0, 0, 0, 0, 'm', 'i', 'f', '1', 'h', 'e', 'i', 'c'};
    return joined({box("ftyp", brands), meta});
}

TEST(HeifCanvas, ReadsGridAndOverlayCanvasesWithTheirDeclaredSizes) {
    for (const bool wide : {false, true}) {
        const std::vector<HeifCanvas> canvases =
            heifCanvases(heifFile({"grid", gridDescriptor(70000 >> (wide ? 0 : 2), 3, wide)}));
        ASSERT_EQ(canvases.size(), 1u);
        EXPECT_EQ(canvases[0].item, 2u);
        EXPECT_EQ(canvases[0].canvas, (HeifItemSize{70000u >> (wide ? 0 : 2), 3}));
        EXPECT_EQ(canvases[0].declared, (HeifItemSize{64, 48}));
    }
    const std::vector<HeifCanvas> overlay =
        heifCanvases(heifFile({"iovl", overlayDescriptor(500, 400), {}}));
    ASSERT_EQ(overlay.size(), 1u);
    EXPECT_EQ(overlay[0].canvas, (HeifItemSize{500, 400}));
    EXPECT_EQ(overlay[0].declared, HeifItemSize{});
}

// Item locations of version 2: 32-bit item numbers, a base offset and extent indices, with
// the descriptor split over two extents in the file itself.
TEST(HeifCanvas, FollowsExtentsIntoTheFile) {
    const Data descriptor = gridDescriptor(640, 480, false);
    Data entries;
    putBig(entries, 1, 4);
    const Data iinf =
        fullBox("iinf", 1, 0, joined({entries, fullBox("infe", 3, 0, [] {
                                          Data entry;
                                          putBig(entry, 0x10000, 4);
                                          putBig(entry, 0, 2);
                                          entry.insert(entry.end(), {'g', 'r', 'i', 'd'});
                                          return entry;
                                      }())}));
    const Data ftyp = box("ftyp", Data{'m', 'i', 'f', '1', 0, 0, 0, 0});
    // Everything before the descriptor, whose length does not depend on where it lies.
    const auto metaWith = [&](std::uint64_t base) {
        Data locations{0x24, 0x82}; // 2-byte offsets, 4-byte lengths, 8-byte base, 2-byte index
        putBig(locations, 1, 4);
        putBig(locations, 0x10000, 4);
        putBig(locations, 0, 2); // construction method 0: the file
        putBig(locations, 0, 2);
        putBig(locations, base, 8);
        putBig(locations, 2, 2);
        for (const std::uint64_t offset : {0u, 5u}) {
            putBig(locations, 0, 2);
            putBig(locations, offset, 2);
            putBig(locations, offset == 0 ? 5 : 0, 4); // the second runs to the file's end
        }
        return fullBox("meta", 0, 0, joined({iinf, fullBox("iloc", 2, 0, locations)}));
    };
    const std::size_t descriptorAt = ftyp.size() + metaWith(0).size() + 8;
    const Data file = joined({ftyp, metaWith(descriptorAt), box("mdat", descriptor)});
    const std::vector<HeifCanvas> canvases = heifCanvases(file);
    ASSERT_EQ(canvases.size(), 1u);
    EXPECT_EQ(canvases[0].item, 0x10000u);
    EXPECT_EQ(canvases[0].canvas, (HeifItemSize{640, 480}));
}

TEST(HeifCanvas, LeavesOutDescriptorsLibheifRefusesAndFailsOnDamagedBoxes) {
    Data newerVersion = gridDescriptor(640, 480, false);
    newerVersion[0] = 1;
    EXPECT_TRUE(heifCanvases(heifFile({"grid", newerVersion})).empty());
    EXPECT_TRUE(heifCanvases(heifFile({"grid", Data{0, 1, 0, 0, 0, 0, 2}})).empty());
    EXPECT_TRUE(heifCanvases(heifFile({"hvc1", gridDescriptor(640, 480, false)})).empty());

    Data cut = heifFile({"grid", gridDescriptor(640, 480, false)});
    cut.resize(cut.size() - 3);
    EXPECT_THAT([&] { heifCanvases(cut); },
                ::testing::ThrowsMessage<ProjectError>(::testing::HasSubstr("truncated")));
    const Data pastItsData = heifFile({"grid", gridDescriptor(8192, 6144, false), {64, 48}, 9});
    EXPECT_THAT([&] { heifCanvases(pastItsData); },
                ::testing::ThrowsMessage<ProjectError>(::testing::StrEq(
                    "the HEIF file places a picture's data past the end of its item data box")));
    Data tiny = box("meta", Data(8));
    tiny[3] = 4; // a box of four bytes, less than its own header
    EXPECT_THAT([&] { heifCanvases(tiny); },
                ::testing::ThrowsMessage<ProjectError>(
                    ::testing::HasSubstr("box shorter than its header at offset 0")));
}

// libheif allocates the canvas before decoding a tile, so a grid of another size than it
// declares, or larger than the picture shown, is refused before anything is decoded.
TEST(HeifCanvas, TheReaderRefusesAGridOfAnotherSizeBeforeDecoding) {
    const HeifReader reader;
    for (const DerivedPicture& picture :
         {DerivedPicture{"grid", gridDescriptor(26725, 26989, false)},
          DerivedPicture{"grid", gridDescriptor(65, 48, false)},
          DerivedPicture{"iovl", overlayDescriptor(65, 48)},
          DerivedPicture{"grid", gridDescriptor(640, 480, false), {640, 480}, 0, 1}}) {
        const Data file = heifFile(picture);
        EXPECT_THAT(
            [&] {
                reader.probe({file, "grid.heic"});
            },
            ::testing::ThrowsMessage<ProjectError>(
                ::testing::StrEq("the HEIF picture decodes to another size than it declares")));
    }
    const Data fitting = heifFile({"grid", gridDescriptor(64, 48, false)});
    EXPECT_EQ(reader.probe({fitting, "grid.heic"}), (PictureSize{64, 48}));
}

} // namespace
} // namespace vellumar::testing
