#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fake_pictures.h"
#include "model/natural_name_order.h"
#include "model/picture_adding.h"
#include "support/scripted_frontend.h"

namespace vellumar {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

std::vector<std::string> sortedNaturally(std::vector<std::string> names) {
    std::sort(names.begin(), names.end(), naturalNameLess);
    return names;
}

TEST(NaturalNameOrderTest, DigitRunsCompareAsNumbersAndLettersWithoutCase) {
    EXPECT_THAT(sortedNaturally({"IMG_10.jpg", "img_2.jpg", "IMG_1.jpg", "Beach.jpg", "apple.jpg",
                                 "IMG_9b.jpg", "IMG_9a.jpg"}),
                ElementsAre("apple.jpg", "Beach.jpg", "IMG_1.jpg", "img_2.jpg", "IMG_9a.jpg",
                            "IMG_9b.jpg", "IMG_10.jpg"));
}

TEST(NaturalNameOrderTest, ThePrefixOfANameComesFirst) {
    EXPECT_TRUE(naturalNameLess("trip", "trip 2"));
    EXPECT_FALSE(naturalNameLess("trip 2", "trip"));
    EXPECT_TRUE(naturalNameLess("a1", "a1b"));
}

TEST(NaturalNameOrderTest, NumbersLongerThanAnyIntegerStillCompare) {
    EXPECT_TRUE(naturalNameLess("x99999999999999999999999", "x100000000000000000000000"));
    EXPECT_TRUE(naturalNameLess("x0000000000000000000000000002", "x10"));
}

TEST(NaturalNameOrderTest, NamesEqualButForCaseOrZerosKeepAStrictOrder) {
    for (const auto& [a, b] : {std::pair{"A.jpg", "a.jpg"}, std::pair{"img01", "img1"}}) {
        EXPECT_NE(naturalNameLess(a, b), naturalNameLess(b, a)) << a << " " << b;
    }
    EXPECT_FALSE(naturalNameLess("same", "same"));
}

TEST(NaturalNameOrderTest, AFolderIsListedInNameOrderHoweverItsFilesWereCreated) {
    testing::FakeFormats formats;
    testing::TempFolder folder;
    testing::ScriptedFrontend frontend;
    std::vector<std::string> expected;
    for (int n = 1; n <= 20; ++n) {
        expected.push_back("IMG_" + std::to_string(n) + ".jpg");
    }
    std::vector<std::string> creation = expected;
    std::shuffle(creation.begin(), creation.end(), std::mt19937(14));
    for (const std::string& name : creation) {
        folder.picture("top/" + name);
    }
    // Sub-folders come after the files, in name order too.
    folder.picture("top/sub10/z.tst");
    folder.picture("top/Sub9/y.tst");
    folder.picture("top/sub10/inner/x.tst");
    expected.insert(expected.end(), {"y.tst", "z.tst", "x.tst"});
    PictureList list;

    ASSERT_TRUE(addFolder(list, folder / "top", true, frontend, formats));

    std::vector<std::string> titles;
    for (const TImgEntry& entry : list.entries()) {
        titles.push_back(entry.title);
    }
    EXPECT_THAT(titles, ElementsAreArray(expected));
}

} // namespace
} // namespace vellumar
