#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <utility>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fake_pictures.h"
#include "file_io.h"
#include "model/ini_file.h"
#include "model/project_file.h"
#include "project_error.h"
#include "support/scripted_frontend.h"
#include "text_util.h"

namespace vellumar {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using testing::ScriptedFrontend;
using testing::TempFolder;

const std::vector<std::string> kStyles = {"Classic", "Modern"};

// Every Setting key in file order, with every flag on.
const std::vector<std::string> kAllSettingKeys = {"DestFolder",
                                                  "Overwrite",
                                                  "ThumbSub",
                                                  "PicSub",
                                                  "PageSub",
                                                  "Style",
                                                  "TopOffset",
                                                  "LeftOffset",
                                                  "ThumbWidth",
                                                  "ThumbHeight",
                                                  "ThumbStretch",
                                                  "ThumbPrefix",
                                                  "ThumbSuffix",
                                                  "ThumbBorder",
                                                  "ThumbBorderWidth",
                                                  "ThumbBorderColor",
                                                  "ResizePic",
                                                  "PicWidth",
                                                  "PicHeight",
                                                  "PicBorder",
                                                  "PicBorderWidth",
                                                  "PicBorderColor",
                                                  "IdxFileName",
                                                  "IdxNavLink",
                                                  "IdxNavHomeFile",
                                                  "IdxNavHomeText",
                                                  "IdxNavHomeTarget",
                                                  "IdxNavHomeURL",
                                                  "IdxNavFirstFile",
                                                  "IdxNavFirstText",
                                                  "IdxNavPrevFile",
                                                  "IdxNavPrevText",
                                                  "IdxNavNextFile",
                                                  "IdxNavNextText",
                                                  "IdxNavLastFile",
                                                  "IdxNavLastText",
                                                  "IdxPageBGPic",
                                                  "IdxPageBGColor",
                                                  "ThumbTableCol",
                                                  "ThumbTableRow",
                                                  "ThumbTableCellPad",
                                                  "ThumbTableCellSpace",
                                                  "ThumbTableBorderWidth",
                                                  "ThumbTableBorderColor",
                                                  "ThumbTableBGPic",
                                                  "ThumbTableBGColor",
                                                  "ThumbLink",
                                                  "PageNav",
                                                  "PageNavHomeFile",
                                                  "PageNavHomeText",
                                                  "PageNavHomeTarget",
                                                  "PageNavHomeURL",
                                                  "PageNavIndexFile",
                                                  "PageNavIndexText",
                                                  "PageNavFirstFile",
                                                  "PageNavFirstText",
                                                  "PageNavPrevFile",
                                                  "PageNavPrevText",
                                                  "PageNavNextFile",
                                                  "PageNavNextText",
                                                  "PageNavLastFile",
                                                  "PageNavLastText",
                                                  "PageBGPic",
                                                  "PageBGColor",
                                                  "PageTitle",
                                                  "ThumbShowTitle",
                                                  "ThumbShowSize",
                                                  "ThumbInfo",
                                                  "PicPageShowTitle",
                                                  "PicPageShowIndex",
                                                  "SmoothScaling",
                                                  "AutoRotate",
                                                  "HiDpiThumbs",
                                                  "PicKeepRatio",
                                                  "WideGamut",
                                                  "KeepOriginalJpeg",
                                                  "ResponsiveWidths",
                                                  "ModernFormats"};

// Settings where every value differs from its default.
GallerySettings unusualSettings() {
    GallerySettings s;
    s.DestFolder = "/srv/www/gallery";
    s.Overwrite = OverwriteMode::Overwrite;
    s.ThumbSub = {true, "thumb"}; // names are not stored while the folder itself is chosen
    s.PicSub = {false, "large"};
    s.PageSub = {true, "picpage"};
    s.Style = "Modern";
    s.TopOffset = "-4";
    s.LeftOffset = "7";
    s.ThumbWidth = {true, "120"};
    s.ThumbHeight = {true, "90"};
    s.ThumbStretch = ThumbFit::Crop;
    s.ThumbPrefix = "t_";
    s.ThumbSuffix = "_s";
    s.ThumbBorder = true;
    s.ThumbBorderWidth = "3";
    s.ThumbBorderColor = 255;
    s.ResizePic = true;
    s.PicWidth = {false, "600"}; // a value under a flag that is off is not stored
    s.PicHeight = {true, "700"};
    s.PicBorder = true;
    s.PicBorderWidth = "2";
    s.PicBorderColor = 65280;
    s.IdxFileName = "start.htm";
    s.IdxNavLink = NavPosition::Both;
    s.IdxNav[NavLinkKind::Home] = {"/b/home.gif", "Home"};
    s.IdxNav.homeTarget = "_top";
    s.IdxNav.homeUrl = "http://example.org/";
    s.IdxNav[NavLinkKind::First] = {"/b/first.gif", "First"};
    s.IdxNav[NavLinkKind::Previous] = {"/b/prev.gif", "Prev"};
    s.IdxNav[NavLinkKind::Next] = {"/b/next.gif", "Next"};
    s.IdxNav[NavLinkKind::Last] = {"/b/last.gif", "Last"};
    s.IdxPageBGPic = "/bg/paper.jpg";
    s.IdxPageBGColor = {true, 1};
    s.ThumbTableCol = "5";
    s.ThumbTableRow = "6";
    s.ThumbTableCellPad = "7";
    s.ThumbTableCellSpace = "8";
    s.ThumbTableBorderWidth = "9";
    s.ThumbTableBorderColor = 123456;
    s.ThumbTableBGPic = "/bg/table.jpg";
    s.ThumbTableBGColor = {true, 2};
    s.ThumbLink = ThumbLinkTarget::None;
    s.PageNav = NavPosition::Bottom;
    s.PageNavLinks[NavLinkKind::Home] = {"/b/h2.gif", "Start"};
    s.PageNavLinks.homeTarget = "_blank";
    s.PageNavLinks.homeUrl = "http://example.com/";
    s.PageNavLinks[NavLinkKind::Index] = {"/b/i2.gif", "Up"};
    s.PageNavLinks[NavLinkKind::First] = {"/b/f2.gif", "F"};
    s.PageNavLinks[NavLinkKind::Previous] = {"/b/p2.gif", "P"};
    s.PageNavLinks[NavLinkKind::Next] = {"/b/n2.gif", "N"};
    s.PageNavLinks[NavLinkKind::Last] = {"/b/l2.gif", "L"};
    s.PageBGPic = "/bg/page.gif";
    s.PageBGColor = {true, 3};
    s.PageTitle = "Holidays";
    s.ThumbShowTitle = false;
    s.ThumbShowSize = false;
    s.ThumbInfoFromPicture = true;
    s.PicPageShowTitle = false;
    s.PicPageShowIndex = false;
    s.SmoothScaling = false;
    s.AutoRotate = false;
    s.HiDpiThumbs = false;
    s.PicKeepRatio = false;
    s.WideGamut = true;
    s.KeepOriginalJpeg = false;
    s.ResponsiveWidths = {480, 960};
    s.ModernFormats = ModernFormatChoice::Both;
    return s;
}

struct ProjectFileTest : ::testing::Test {
    // Key names of a section of a project text, in file order.
    static std::vector<std::string> keysOf(const std::string& text, const std::string& section) {
        std::vector<std::string> keys;
        bool inside = false;
        for (const std::string& line : splitLines(text)) {
            if (line.starts_with('[')) {
                inside = line == "[" + section + "]";
            } else if (inside && line.find('=') != std::string::npos) {
                keys.push_back(line.substr(0, line.find('=')));
            }
        }
        return keys;
    }
    // The values a project text gives keys of its Setting section.
    static void
    expectSettingValues(const std::string& text,
                        const std::vector<std::pair<std::string, std::string>>& values) {
        const IniReader ini(text);
        for (const auto& [key, value] : values) {
            EXPECT_EQ(ini.value("Setting", key), value) << key;
        }
    }
    std::string writeProject(const std::string& text) { return folder.write("p.vlm", text); }
    LoadResult load(const std::string& path) {
        return LoadProject(path, list, settings, kStyles, frontend);
    }
    // A project of default settings with the given Setting lines in front, so they count;
    // `rest` may add Image sections, and `pictures` is how many the project says it holds.
    std::string projectWith(const std::vector<std::string>& settingLines,
                            const std::string& rest = "", int pictures = 0) {
        std::string lines;
        for (const std::string& line : settingLines) {
            lines += line + "\r\n";
        }
        std::string text = projectText(PictureList{}, GallerySettings{}, "x");
        text.insert(text.find("[Setting]\r\n") + 11, lines);
        text.replace(text.find("imgcount=0"), 10, "imgcount=" + std::to_string(pictures));
        return writeProject(text + rest);
    }
    void addEntry(const std::string& file, const std::string& title) {
        TImgEntry entry;
        entry.file = file;
        entry.title = title;
        list.append(entry);
    }

    TempFolder folder;
    ScriptedFrontend frontend;
    PictureList list;
    GallerySettings settings;
};

TEST_F(ProjectFileTest, WritesEveryKeyInOrder) {
    PictureList pictures;
    TImgEntry entry;
    entry.file = "/pics/beach.jpg";
    entry.title = "Beach";
    entry.info = "Sunny";
    entry.crop = CropAlign::Center;
    entry.rotate = 3;
    pictures.append(entry);

    const std::string text = projectText(pictures, unusualSettings(), "trip.vlm");

    EXPECT_TRUE(text.starts_with("[project]\r\nname=trip.vlm\r\nimgcount=1\r\n\r\n[Setting]\r\n"));
    EXPECT_THAT(keysOf(text, "Setting"), ElementsAreArray(kAllSettingKeys));
    EXPECT_TRUE(text.ends_with("[Image1]\r\nfile=/pics/beach.jpg\r\ntitle=Beach\r\ninfo=Sunny\r\n"
                               "crop=2\r\nrotate=3\r\n"));
    expectSettingValues(text, {{"ThumbSub", "<%DestFolder%>"},
                               {"PicSub", "large"},
                               {"ThumbStretch", "crop"},
                               {"PicWidth", "not checked"},
                               {"PicHeight", "700"},
                               {"ThumbBorder", "checked"},
                               {"PicPageShowIndex", "not checked"},
                               {"SmoothScaling", "not checked"},
                               {"AutoRotate", "not checked"},
                               {"HiDpiThumbs", "not checked"},
                               {"PicKeepRatio", "not checked"},
                               {"WideGamut", "checked"},
                               {"KeepOriginalJpeg", "not checked"},
                               {"ResponsiveWidths", "480 960"},
                               {"ModernFormats", "both"},
                               {"ThumbInfo", "<%ThumbInfo%>"},
                               {"Overwrite", "2"}});
}

TEST_F(ProjectFileTest, WritesDefaultsWithFlaggedKeysLeftOut) {
    GallerySettings defaults;
    defaults.ThumbPrefix = "  tn_ ";
    defaults.ThumbALT = " Click ";
    const std::string text = projectText(PictureList{}, defaults, "a.vlm");

    std::vector<std::string> expected = kAllSettingKeys;
    for (const char* key : {"ThumbBorderWidth", "ThumbBorderColor", "PicWidth", "PicHeight",
                            "PicBorder", "PicBorderWidth", "PicBorderColor"}) {
        expected.erase(std::find(expected.begin(), expected.end(), key));
    }
    EXPECT_THAT(keysOf(text, "Setting"), ElementsAreArray(expected));
    EXPECT_EQ(IniReader(text).value("project", "imgcount"), "0");
    expectSettingValues(text, {{"IdxPageBGColor", "no color"},
                               {"ThumbTableBorderColor", "0"},
                               {"ThumbSub", "thumb"},
                               {"ThumbPrefix", "tn_"}, // trimmed when written
                               {"ThumbInfo", "Click"},
                               {"ThumbHeight", "not checked"},
                               {"SmoothScaling", "checked"},
                               {"AutoRotate", "checked"},
                               {"HiDpiThumbs", "checked"},
                               {"PicKeepRatio", "checked"},
                               {"WideGamut", "not checked"},
                               {"KeepOriginalJpeg", "checked"},
                               {"ResponsiveWidths", "640 1280 1920"},
                               {"ModernFormats", "none"}});

    // A large picture without border: its border keys stay out.
    defaults.ResizePic = true;
    const std::vector<std::string> keys = keysOf(projectText({}, defaults, "a.vlm"), "Setting");
    EXPECT_EQ(std::count(keys.begin(), keys.end(), "PicBorder"), 1);
    EXPECT_EQ(std::count(keys.begin(), keys.end(), "PicBorderWidth"), 0);
}

TEST_F(ProjectFileTest, ColoursAreDecimalNumbers) {
    GallerySettings s;
    s.PageBGColor = {true, kWhite};
    s.ThumbTableBorderColor = static_cast<Color>(-16777201); // a number no picker makes
    expectSettingValues(projectText({}, s, "a.vlm"),
                        {{"PageBGColor", "16777215"}, {"ThumbTableBorderColor", "-16777201"}});
}

TEST_F(ProjectFileTest, EverySavedSettingAndPictureReadsBack) {
    const std::string a = folder.picture("a.jpg");
    const std::string b = folder.picture("b c.jpg");
    PictureList saved;
    TImgEntry entry;
    entry.file = a;
    entry.title = "\"Quoted\"";
    entry.info = "Info with = sign";
    entry.crop = CropAlign::RightBottom;
    entry.rotate = 1;
    saved.append(entry);
    entry.file = b;
    entry.title = std::string(3000, 't');
    entry.info = "";
    entry.crop = CropAlign::NoCrop;
    entry.rotate = 2;
    saved.append(entry);
    const std::string path = folder / "round.vlm";
    GallerySettings written = unusualSettings();
    SaveProject(path, saved, written);

    settings.ThumbProtect = false; // not in the file, so untouched by loading
    ASSERT_TRUE(load(path));

    written.ThumbProtect = false;
    EXPECT_EQ(settings, written);
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.entry(1).title, "Quoted"); // the format cannot hold surrounding quotes
    EXPECT_EQ(list.entry(1).info, "Info with = sign");
    EXPECT_EQ(list.entry(1).crop, CropAlign::RightBottom);
    EXPECT_EQ(list.entry(2).file, b);
    EXPECT_EQ(list.entry(2).title, std::string(2047, 't'));
    EXPECT_EQ(list.entry(2).rotate, 2);
    EXPECT_EQ(list.row(1), FileInfoRow{}); // the grid is filled by its own step
    EXPECT_THAT(frontend.statuses, ElementsAre("Loading settings......", "a.jpg pictures loaded.",
                                               "b c.jpg pictures loaded."));
    EXPECT_TRUE(frontend.notices.empty());
}

TEST_F(ProjectFileTest, SavingTwiceGivesIdenticalFiles) {
    const std::string path = folder / "twice.vlm";
    folder.write("twice.vlm", std::string(100000, 'x'));
    SaveProject(path, list, unusualSettings());
    const std::string first = readTextFile(path, SIZE_MAX);
    SaveProject(path, list, unusualSettings());
    EXPECT_EQ(readTextFile(path, SIZE_MAX), first);
    EXPECT_EQ(first, projectText(list, unusualSettings(), "twice.vlm"));
}

TEST_F(ProjectFileTest, KeysUnderAFlagThatIsOffKeepTheirValues) {
    settings.ThumbBorderWidth = "12";
    settings.PicWidth = {false, "333"};
    const std::string path = projectWith(
        {"ThumbBorder=not checked", "ResizePic=not checked", "ThumbBorderWidth=5", "PicWidth=77"});
    ASSERT_TRUE(load(path));
    EXPECT_FALSE(settings.ThumbBorder);
    EXPECT_EQ(settings.ThumbBorderWidth, "12");
    EXPECT_EQ(settings.PicWidth, (Switched<std::string>{false, "333"}));
}

TEST_F(ProjectFileTest, ValuesAreReadByTheirOwnRules) {
    settings.IdxPageBGColor = {true, 42};
    settings.ThumbSub = {false, "kept"};
    const std::string path = projectWith({
        "Style=modern",       // letter case counts: no such style
        "ThumbShowTitle=yes", // only "checked" is on
        "ThumbShowSize=checked",
        "ThumbBorder=yes", // anything but "not checked" is on
        "ThumbBorderColor=$FF", "ThumbBorderWidth=",
        "IdxPageBGColor=no color", // flag off, colour kept
        "ThumbSub=<%DestFolder%>", // name kept
        "PageSub=other",
        "Overwrite=7", // out of range: mode kept
        "IdxNavLink=2",
        "ThumbWidth=not checked", // both thumbnail flags off: width comes back
        "ThumbHeight=not checked", "ThumbInfo=Look", "TopOffset=-3", "ThumbStretch=Stretch",
        "ResponsiveWidths=1920, 640 640\t1280", // any blanks and commas, any order
        "ModernFormats=avif",                   // letter case does not count
    });
    settings.Style = "Classic";
    settings.Overwrite = OverwriteMode::AddOnly;

    ASSERT_TRUE(load(path));

    EXPECT_EQ(settings.Style, "Classic");
    EXPECT_FALSE(settings.ThumbShowTitle);
    EXPECT_TRUE(settings.ThumbShowSize);
    EXPECT_TRUE(settings.ThumbBorder);
    EXPECT_EQ(settings.ThumbBorderColor, 255u);
    EXPECT_EQ(settings.ThumbBorderWidth, "");
    EXPECT_EQ(settings.IdxPageBGColor, (Switched<Color>{false, 42}));
    EXPECT_EQ(settings.ThumbSub, (FolderChoice{true, "kept"}));
    EXPECT_EQ(settings.PageSub, (FolderChoice{false, "other"}));
    EXPECT_EQ(settings.Overwrite, OverwriteMode::AddOnly);
    EXPECT_EQ(settings.IdxNavLink, NavPosition::Both);
    EXPECT_TRUE(settings.ThumbWidth.on);
    EXPECT_FALSE(settings.ThumbHeight.on);
    EXPECT_FALSE(settings.ThumbInfoFromPicture);
    EXPECT_EQ(settings.ThumbALT, "Look");
    EXPECT_EQ(settings.TopOffset, "-3");
    EXPECT_EQ(settings.ThumbStretch, ThumbFit::Crop); // "stretch" exactly, letter case too
    EXPECT_THAT(settings.ResponsiveWidths, ::testing::ElementsAre(640, 1280, 1920));
    EXPECT_EQ(settings.ModernFormats, ModernFormatChoice::Avif);
}

TEST_F(ProjectFileTest, MissingKeysHaveTheirOwnDefaults) {
    settings.Style = "Modern";
    settings.SmoothScaling = false;
    const std::string path =
        writeProject("[Setting]\r\nOverwrite=1\r\nIdxNavLink=0\r\n"
                     "ThumbTableBorderColor=0\r\nThumbLink=1\r\nPageNav=1\r\n"
                     "IdxPageBGColor=no color\r\nThumbTableBGColor=no color\r\n"
                     "PageBGColor=no color\r\n"
                     "ThumbBorder=not checked\r\nResizePic=not checked\r\n");
    ASSERT_TRUE(load(path));
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(settings.TopOffset, "0");
    EXPECT_EQ(settings.ThumbStretch, ThumbFit::Crop);
    EXPECT_FALSE(settings.PicPageShowIndex);
    EXPECT_TRUE(settings.SmoothScaling); // projects older than the setting scale smoothly
    // Their rotations were chosen for unturned pictures, so they keep them unturned.
    EXPECT_FALSE(settings.AutoRotate);
    EXPECT_TRUE(GallerySettings().AutoRotate); // new projects turn them
    EXPECT_FALSE(settings.HiDpiThumbs);        // and build no double-size thumbnails
    EXPECT_FALSE(settings.PicKeepRatio);       // and stretch their large pictures to the box
    EXPECT_TRUE(GallerySettings().PicKeepRatio);
    EXPECT_FALSE(settings.WideGamut); // nor wide-gamut pictures
    // Nor anything but the files the specified gallery has, each encoded anew.
    EXPECT_FALSE(settings.KeepOriginalJpeg);
    EXPECT_THAT(settings.ResponsiveWidths, ::testing::IsEmpty());
    EXPECT_EQ(settings.ModernFormats, ModernFormatChoice::None);
    EXPECT_EQ(settings.DestFolder, "");
    EXPECT_EQ(settings.Style, "Modern");
    EXPECT_EQ(settings.ThumbLink, ThumbLinkTarget::Picture);
}

TEST_F(ProjectFileTest, MissingPicturesAreReportedAndTheNextSectionMovesUp) {
    std::vector<std::string> files;
    for (const char* name : {"1.jpg", "2.jpg", "3.jpg", "4.jpg", "5.jpg"}) {
        files.push_back(folder.picture(name));
        addEntry(files.back(), name);
    }
    const std::string path = folder / "five.vlm";
    SaveProject(path, list, settings);
    std::filesystem::remove(files[2]);

    ASSERT_TRUE(load(path));

    ASSERT_EQ(list.count(), 4);
    EXPECT_EQ(list.entry(3).title, "4.jpg");
    EXPECT_THAT(frontend.notices, ElementsAre("File " + files[2] + " not found and skipped."));
    const IniReader resaved(projectText(list, settings, "five.vlm"));
    EXPECT_EQ(resaved.value("Image3", "file"), files[3]);
    EXPECT_EQ(resaved.value("project", "imgcount"), "4");
}

TEST_F(ProjectFileTest, APictureWithoutFileKeyIsSkippedWithAnEmptyName) {
    const std::string a = folder.picture("a.jpg");
    const std::string path = projectWith(
        {}, "\r\n[Image1]\r\ntitle=t\r\n\r\n[Image2]\r\nfile=" + a + "\r\ncrop=0\r\nrotate=0\r\n",
        2);

    ASSERT_TRUE(load(path));
    EXPECT_EQ(list.count(), 1);
    EXPECT_THAT(frontend.notices, ElementsAre("File  not found and skipped."));
}

// The crop choice offers four values, but a file may hold any number; it is kept as it is.
TEST_F(ProjectFileTest, CropNumbersOutsideTheChoicesAreWrittenBackUnchanged) {
    const std::string a = folder.picture("a.jpg");
    const std::string path = projectWith({},
                                         "\r\n[Image1]\r\nfile=" + a +
                                             "\r\ncrop=7\r\nrotate=0\r\n\r\n[Image2]\r\nfile=" + a +
                                             "\r\ncrop=-1\r\nrotate=0\r\n",
                                         2);

    ASSERT_TRUE(load(path));
    const IniReader resaved(projectText(list, settings, "odd.vlm"));
    EXPECT_EQ(resaved.value("Image1", "crop"), "7");
    EXPECT_EQ(resaved.value("Image2", "crop"), "-1");
}

TEST_F(ProjectFileTest, AFailedLoadChangesNothing) {
    const std::string a = folder.picture("a.jpg");
    addEntry(a, "mine");
    settings.PageTitle = "Before";
    const PictureList listBefore = list;
    const GallerySettings settingsBefore = settings;

    // Each failure names what to mend: the section, key and line, or the system's reason.
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"[project]\r\nimgcount=x\r\n",
         "[project] imgcount (line 2): 'x' is not a valid integer value"},
        {"[project]\r\nimgcount=10000\r\n",
         "[project] imgcount (line 2): 10000 is not a picture count from 0 to 9999"},
        {"[Setting]\r\nPageTitle=After\r\n", "[Setting] Overwrite (missing): "},
    };
    for (const auto& [bad, reason] : cases) {
        SCOPED_TRACE(bad);
        const LoadResult result = load(writeProject(bad));
        EXPECT_FALSE(result.loaded);
        EXPECT_THAT(result.reason, ::testing::StartsWith(reason));
        EXPECT_EQ(list, listBefore);
        EXPECT_EQ(settings, settingsBefore);
    }

    const std::string badCrop = projectWith(
        {"PageTitle=After"}, "\r\n[Image1]\r\nfile=" + a + "\r\ncrop=left\r\nrotate=0\r\n", 1);
    EXPECT_THAT(load(badCrop).reason,
                ::testing::MatchesRegex(R"(\[Image1\] crop \(line [0-9]+\): 'left' is not .*)"));
    EXPECT_EQ(load(projectWith({"IdxPageBGColor=12x"})).reason,
              "[Setting] IdxPageBGColor (line 6): '12x' is not a valid integer value");
    for (const char* widths : {"640 wide", "0", "-640", "65501", "1e3"}) {
        EXPECT_EQ(load(projectWith({std::string("ResponsiveWidths=") + widths})).reason,
                  "[Setting] ResponsiveWidths (line 6): '" + std::string(widths) +
                      "' is not a list of widths in pixels, such as 640 1280 1920");
    }
    EXPECT_EQ(
        load(projectWith({"ModernFormats=JPEG XL"})).reason,
        "[Setting] ModernFormats (line 6): 'JPEG XL' is not one of none, WebP, AVIF and both");
    EXPECT_EQ(load(folder / "missing.vlm").reason,
              "Cannot read file " + (folder / "missing.vlm") + ": No such file or directory");
    EXPECT_EQ(list, listBefore);
    EXPECT_EQ(settings, settingsBefore);
    EXPECT_EQ(loadFailedNotice("p.vlm", "why"), "Load project p.vlm fail!\nwhy");
}

// A NUL would end the text unseen: a title cut short and the pictures after it dropped.
TEST_F(ProjectFileTest, ANulByteAnywhereFailsTheLoadWithItsLine) {
    const std::string a = folder.picture("a.jpg");
    const std::string image = "\r\n[Image1]\r\nfile=" + a + "\r\ntitle=My";
    const std::string rest = "\r\ncrop=0\r\nrotate=0\r\n";
    const std::string valid = projectWith({}, image + " trip" + rest, 1);
    ASSERT_TRUE(load(valid));
    const int titleLine = *IniReader(readTextFile(valid, 1 << 20)).lineOf("Image1", "title");

    const LoadResult inTitle =
        load(projectWith({}, image + std::string(1, '\0') + " trip" + rest, 1));
    EXPECT_FALSE(inTitle.loaded);
    EXPECT_EQ(inTitle.reason, "Line " + std::to_string(titleLine) +
                                  " holds a NUL byte, which a project file never holds.");
    // At the very end, and on a line of its own after the last picture.
    EXPECT_THAT(load(projectWith({}, image + rest + std::string(1, '\0'), 1)).reason,
                ::testing::StartsWith("Line " + std::to_string(titleLine + 3) + " holds a NUL"));
    EXPECT_THAT(load(projectWith({std::string("Page\0Title=x", 13)})).reason,
                ::testing::StartsWith("Line 6 holds a NUL byte"));
    EXPECT_EQ(list.count(), 1); // the valid project stays open
}

TEST_F(ProjectFileTest, AFileThatIsNoProjectSaysSo) {
    const std::string notAProject =
        "The file is not a project file: it has neither a [project] nor a [Setting] section.";
    for (const std::string& text :
         {std::string(100 * 1024, '\0'), std::string(), std::string("just some notes\nkey=1\n"),
          std::string("[Image1]\r\nfile=/a.jpg\r\n"), std::string("\xEF\xBB\xBF\r\n\r\n")}) {
        SCOPED_TRACE(text.substr(0, 20));
        const LoadResult result = load(writeProject(text));
        EXPECT_FALSE(result.loaded);
        EXPECT_EQ(result.reason, notAProject);
    }
    // Either section is enough for a project, in any letter case: the number it lacks is
    // then what fails.
    EXPECT_THAT(load(writeProject("[PROJECT]\r\nimgcount=0\r\n")).reason,
                ::testing::StartsWith("[Setting] Overwrite (missing): "));
}

TEST_F(ProjectFileTest, OnlyRegularFilesAreReadAsProjects) {
    const std::string pipe = folder / "pipe.vlm";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    // Neither waits for a writer nor reads a device without end.
    EXPECT_EQ(load(pipe).reason, "Cannot read file " + pipe + ": not a regular file");
    const std::string device = folder / "zero.vlm";
    std::filesystem::create_symlink("/dev/zero", device);
    EXPECT_EQ(load(device).reason, "Cannot read file " + device + ": not a regular file");
}

// Makes every write that would grow a file past a few bytes fail, root or not.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_saved{};
    void (*m_oldHandler)(int) = nullptr;
};

TEST_F(ProjectFileTest, AFailedSaveLeavesTheOldFile) {
    const std::string path = folder.write("keep.vlm", "old contents");
    try {
        const FileSizeLimit limit(100);
        SaveProject(path, list, settings);
        FAIL() << "the save should fail";
    } catch (const ProjectError& error) {
        EXPECT_THAT(error.what(), ::testing::StartsWith("Unable to write to " + path + "\n"));
        EXPECT_THAT(error.what(), ::testing::HasSubstr("File too large"));
    }
    EXPECT_EQ(readTextFile(path, SIZE_MAX), "old contents");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder / ""),
                            std::filesystem::directory_iterator()),
              1); // no temporary file left behind

    // A folder that is a file cannot hold the project at all.
    EXPECT_THROW(SaveProject(folder / "keep.vlm/p.vlm", list, settings), ProjectError);
    EXPECT_EQ(readTextFile(path, SIZE_MAX), "old contents");
}

TEST_F(ProjectFileTest, SavingKeepsTheFilesPermissions) {
    const std::string path = folder.write("perm.vlm", "old");
    ::chmod(path.c_str(), 0640);
    SaveProject(path, list, settings);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST_F(ProjectFileTest, ASaveWritesThroughLinksAndRefusesWhatIsNoProjectFile) {
    const std::string real = folder.write("real/trip.vlm", "old");
    const std::string link = folder / "trip.vlm";
    std::filesystem::create_symlink(real, link);
    settings.PageTitle = "Through the link";

    SaveProject(link, list, settings);

    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_THAT(readTextFile(real, SIZE_MAX), ::testing::HasSubstr("Through the link"));

    const auto failureOf = [&](const std::string& path) -> std::string {
        try {
            SaveProject(path, list, settings);
        } catch (const ProjectError& error) {
            return error.what();
        }
        return "saved";
    };
    const std::string pipe = folder / "pipe.vlm";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(failureOf(pipe),
              "Unable to write to " + pipe + "\n" + pipe + " is not a regular file.");
    EXPECT_TRUE(std::filesystem::is_fifo(pipe));
    EXPECT_EQ(failureOf(folder / "real"), "Unable to write to " + (folder / "real") + "\n" +
                                              (folder / "real") + " is not a regular file.");

    // Read-only counts for root too, who could write it anyway.
    const std::string locked = folder.write("locked.vlm", "kept");
    ::chmod(locked.c_str(), 0444);
    EXPECT_EQ(failureOf(locked), "Unable to write to " + locked + "\n" + locked + " is read-only.");
    EXPECT_EQ(readTextFile(locked, SIZE_MAX), "kept");
}

} // namespace
} // namespace vellumar
