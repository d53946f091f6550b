#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <sys/stat.h>
#include <utime.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fake_pictures.h"
#include "model/picture_adding.h"
#include "model/picture_sort.h"
#include "project_error.h"
#include "support/scripted_frontend.h"

namespace vellumar {
namespace {

using ::testing::ElementsAre;
using testing::FakeFormats;
using testing::ScriptedFrontend;
using testing::TempFolder;

struct PictureSortTest : ::testing::Test {
    void add(const std::string& path) { ASSERT_TRUE(AddPic(list, path, frontend, formats)); }
    void sort(SortKey key, SortDirection direction) { sortPictures(list, key, direction, formats); }
    // Each entry's title tells where it came from.
    void numberTitles() {
        for (int position = 1; position <= list.count(); ++position) {
            list.entry(position).title = std::to_string(position);
        }
    }
    std::vector<std::string> titles() const {
        std::vector<std::string> result;
        for (const TImgEntry& entry : list.entries()) {
            result.push_back(entry.title);
        }
        return result;
    }
    static void setModified(const std::string& path, int year, int month, int day, int hour,
                            int minute, int second) {
        std::tm local{};
        local.tm_year = year - 1900;
        local.tm_mon = month - 1;
        local.tm_mday = day;
        local.tm_hour = hour;
        local.tm_min = minute;
        local.tm_sec = second;
        local.tm_isdst = -1;
        const std::time_t stamp = std::mktime(&local);
        const utimbuf times{stamp, stamp};
        ASSERT_EQ(::utime(path.c_str(), &times), 0);
    }

    FakeFormats formats;
    TempFolder folder;
    ScriptedFrontend frontend;
    PictureList list;
};

TEST_F(PictureSortTest, NamesCompareByteByByteOverTheWholePath) {
    add(folder.picture("x/b.tst"));
    add(folder.picture("x/B.tst"));
    add(folder.picture("a/z.tst"));

    sort(SortKey::Name, SortDirection::Ascending);
    EXPECT_THAT(titles(), ElementsAre("z.tst", "B.tst", "b.tst"));
    sort(SortKey::Name, SortDirection::Descending);
    EXPECT_THAT(titles(), ElementsAre("b.tst", "B.tst", "z.tst"));
}

TEST_F(PictureSortTest, EqualKeysTakeTheLastCandidate) {
    for (const char* name : {"1.tst", "2.tst", "3.tst"}) {
        add(folder.picture(name, 10, 10)); // equal file sizes
    }
    numberTitles();
    sort(SortKey::Size, SortDirection::Ascending);
    EXPECT_THAT(titles(), ElementsAre("3", "1", "2"));

    numberTitles();
    sort(SortKey::Size, SortDirection::Descending);
    EXPECT_THAT(titles(), ElementsAre("3", "1", "2"));
}

TEST_F(PictureSortTest, SizesAndTypesOrderAsNumbersAndLowerCaseExtensions) {
    add(folder.picture("big.tst", 1000, 1000));
    add(folder.picture("small.JPG", 1, 1));
    add(folder.picture("mid.tst", 10, 100));

    sort(SortKey::Size, SortDirection::Ascending);
    EXPECT_THAT(titles(), ElementsAre("small.JPG", "mid.tst", "big.tst"));
    EXPECT_EQ(list.row(1), (FileInfoRow{"small.JPG", "1 X 1", "7"})); // rows are rewritten

    sort(SortKey::Type, SortDirection::Descending);
    EXPECT_EQ(list.entry(3).title, "small.JPG");
}

TEST_F(PictureSortTest, DatesArePackedLocalTimesWithAMissingFileFirst) {
    const std::string old = folder.picture("old.tst");
    const std::string recent = folder.picture("recent.tst");
    const std::string gone = folder.picture("gone.tst");
    setModified(old, 1999, 12, 31, 23, 59, 59);
    setModified(recent, 2024, 2, 29, 8, 30, 4);
    add(recent);
    add(old);
    add(gone);

    EXPECT_EQ(packedModificationTime(old),
              (19 << 9 | 12 << 5 | 31) << 16 | (23 << 11 | 59 << 5 | 29));
    EXPECT_EQ(packedModificationTime(recent),
              (44 << 9 | 2 << 5 | 29) << 16 | (8 << 11 | 30 << 5 | 2));
    std::filesystem::remove(gone);
    EXPECT_EQ(packedModificationTime(gone), -1);

    // The grid is refilled after sorting; the missing file stays, marked in its row.
    sort(SortKey::Date, SortDirection::Ascending);
    EXPECT_THAT(titles(), ElementsAre("gone.tst", "old.tst", "recent.tst"));
    EXPECT_EQ(list.row(1), (FileInfoRow{"gone.tst", "cannot be read", ""}));
}

TEST_F(PictureSortTest, DatesFrom2044OnAreNegativeAndSortFirst) {
    const std::string future = folder.picture("future.tst");
    const std::string now = folder.picture("now.tst");
    setModified(future, 2050, 1, 1, 12, 0, 0);
    add(now);
    add(future);

    EXPECT_LT(packedModificationTime(future), 0);
    sort(SortKey::Date, SortDirection::Ascending);
    EXPECT_THAT(titles(), ElementsAre("future.tst", "now.tst"));
}

TEST_F(PictureSortTest, AnUnreadableSizeLeavesTheListAsItWas) {
    add(folder.picture("b.tst", 100, 100));
    add(folder.picture("a.tst", 1, 1));
    std::filesystem::remove(folder / "a.tst");

    EXPECT_THROW(sort(SortKey::Size, SortDirection::Ascending), ProjectError);
    EXPECT_THAT(titles(), ElementsAre("b.tst", "a.tst"));
}

} // namespace
} // namespace vellumar
