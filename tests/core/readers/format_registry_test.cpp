#include <algorithm>

#include <gtest/gtest.h>

#include "project_error.h"
#include "readers/format_registry.h"
#include "readers/reader_table.h"

namespace vellumar {
namespace {

const PictureFormatRegistry& registry() {
    return pictureFormats();
}

std::vector<std::string> split(const std::string& text, const std::string& separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find(separator, start)) != std::string::npos;
         start = at + separator.size()) {
        parts.push_back(text.substr(start, at - start));
    }
    parts.push_back(text.substr(start));
    return parts;
}

TEST(FormatRegistry, HoldsTheFortyRowsInRegistrationOrderThenTheNewerFormats) {
    const auto extensions = registry().extensions();
    ASSERT_EQ(extensions.size(), 46u);
    EXPECT_EQ(extensions.front(), "bmp");
    EXPECT_EQ(extensions[5], "jpg");
    EXPECT_EQ(extensions[17], "fax");
    EXPECT_EQ(extensions[39], "png");
    EXPECT_EQ(std::vector<std::string>(extensions.begin() + 40, extensions.end()),
              (std::vector<std::string>{"webp", "heic", "heif", "avif", "jxl", "mpo"}));
    EXPECT_EQ(registry().readerClass("THEIFGraphic")->rowCount, 3);
    EXPECT_TRUE(registry().acceptsFile("IMG_0001.HEIC"));
    EXPECT_TRUE(registry().acceptsFile("cat.webp"));
    EXPECT_EQ(registry().rows()[9].description, "Device independant Windows bitmaps");
    EXPECT_EQ(registry().rows()[9].reader->name, "TBitmap");
}

TEST(FormatRegistry, CountsRowsPerReaderAndKeepsCommonDescriptions) {
    EXPECT_EQ(registry().readerClass("TBitmap")->rowCount, 3);
    EXPECT_EQ(registry().readerClass("TJPEGImage")->rowCount, 5);
    EXPECT_EQ(registry().readerClass("TTargaGraphic")->rowCount, 5);
    EXPECT_EQ(registry().readerClass("TSGIGraphic")->commonDescription, "SGI images");
    EXPECT_EQ(registry().readerClass("TTIFFGraphic")->commonDescription,
              "Tagged image file format images");
}

TEST(FormatRegistry, LooksUpReadersByExtensionIgnoringCase) {
    EXPECT_EQ(registry().readerFor("/p/photo.JPG").name, "TJPEGImage");
    EXPECT_EQ(registry().readerFor("photo.Jpeg").name, "TJPEGImage");
    EXPECT_EQ(registry().readerFor("photo.jfif").kind, ReaderKind::Jpeg);
    EXPECT_EQ(registry().readerFor("scan.tif").name, "TTIFFGraphic");
    EXPECT_EQ(registry().readerFor("scan.fax").name, "TTIFFGraphic");
    EXPECT_EQ(registry().readerFor("image.pic").name, "TAutodeskGraphic");
    EXPECT_EQ(registry().readerFor("logo.ico").kind, ReaderKind::Other);
    EXPECT_EQ(registry().readerFor("my.folder/a.b.png").name, "TPNGGraphic");
}

TEST(FormatRegistry, UnknownExtensionNamesItAsWritten) {
    try {
        registry().readerFor("x.XyZ");
        FAIL();
    } catch (const ProjectError& error) {
        EXPECT_STREQ(error.what(), "Unknown picture file extension (.XyZ)");
    }
    EXPECT_THROW(registry().readerFor("README"), ProjectError);
    EXPECT_THROW(registry().readerFor("dir.jpg/README"), ProjectError);
}

TEST(FormatRegistry, FolderScanAcceptsRegisteredExtensionsOnly) {
    for (const char* name :
         {"photo.JPG", "photo.Jpeg", "photo.jfif", "a.tif", "a.fax", "b.PCX", "/x/y/z.rgba"}) {
        EXPECT_TRUE(registry().acceptsFile(name)) << name;
    }
    for (const char* name :
         {"notes.txt", "README", "photo.jpg.bak", "photo.", "dir.jpg/file", ".jpg.txt"}) {
        EXPECT_FALSE(registry().acceptsFile(name)) << name;
    }
}

TEST(FormatRegistry, RegisteringAnExtensionTwiceFails) {
    PictureFormatRegistry fresh;
    fresh.registerFormat("abc", "ABC images", "", "TAbc", ReaderKind::Bitmap, nullptr);
    try {
        fresh.registerFormat("ABC", "", "", "TAbc", ReaderKind::Bitmap, nullptr);
        FAIL();
    } catch (const ProjectError& error) {
        EXPECT_STREQ(error.what(), "Attempt to register ABC twice.");
    }
    EXPECT_EQ(fresh.rows().front().description, "ABC images");
}

TEST(FormatRegistry, DialogFilterListsAllPatternsThenEachFormatNewestFirst) {
    const auto entries = split(registry().dialogFilter(), ";;");
    ASSERT_EQ(entries.size(), 53u);

    const std::string& all = entries.front();
    ASSERT_EQ(all.rfind("All (", 0), 0u);
    const auto patterns = split(all.substr(5, all.size() - 6), " ");
    ASSERT_EQ(patterns.size(), 52u);
    EXPECT_EQ(patterns.front(), "*.mpo");
    EXPECT_EQ(patterns[1], "*.jxl");
    EXPECT_EQ(patterns[6], "*.png");
    EXPECT_EQ(patterns[7], "*.psp");
    EXPECT_EQ(patterns[45], "*.bmp");
    const std::vector<std::string> platformTail(patterns.end() - 6, patterns.end());
    EXPECT_EQ(platformTail,
              (std::vector<std::string>{"*.jpg", "*.jpeg", "*.bmp", "*.ico", "*.emf", "*.wmf"}));

    EXPECT_EQ(entries[1], "Multi-picture JPEG images (*.mpo)");
    EXPECT_EQ(entries[2], "JPEG XL images (*.jxl)");
    EXPECT_EQ(entries[6], "WebP images (*.webp)");
    EXPECT_EQ(entries[7], "Portable network graphic images (*.png)");
    EXPECT_EQ(entries[8], "Paintshop Pro images (*.psp)");
    EXPECT_EQ(entries[46], "Windows bitmaps (*.bmp)");
    EXPECT_EQ(entries[47], "JPEG Image File (*.jpg)");
    EXPECT_EQ(entries[52], "Metafiles (*.wmf)");
}

} // namespace
} // namespace vellumar
