#include <fstream>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "color_swatch.h"
#include "imaging/jpeg_writer.h"
#include "large_picture_page.h"
#include "nav_link_dialog.h"
#include "number_field.h"
#include "picture_pages_page.h"
#include "scripted_dialogs.h"
#include "settings_step.h"
#include "style_page.h"
#include "support/scripted_frontend.h"
#include "support/test_pictures.h"
#include "text_page.h"
#include "thumbnail_pages_page.h"

using namespace vellumar;

namespace {

void writeFile(const QString& path, const std::string& bytes) {
    std::ofstream(path.toStdString(), std::ios::binary) << bytes;
}

std::string styleFile(const std::string& defaults) {
    return "<html>\r\n<%default begin%>\r\n" + defaults + "<%default end%>\r\n</html>\r\n";
}

// A program folder with styles: "alpha" with a sample picture, "broken" whose section stops at
// a bad number, "garbled" whose sample cannot be read, and "plain" with no sample.
struct ProgramFolder {
    ProgramFolder() {
        QDir(dir.path()).mkpath(QStringLiteral("template"));
        QDir(dir.path()).mkpath(QStringLiteral("background"));
        write("alpha.htm", styleFile("<%page bg color=FF0000%>\r\n<%first pic=b1.gif%>\r\n"
                                     "<%home pic=h.gif%>\r\n<%table border=7%>\r\n"));
        const std::vector<std::uint8_t> jpeg =
            encodeJpeg(testing::filledPicture(40, 30, Rgb{10, 200, 10}));
        write("alpha.jpg", std::string(jpeg.begin(), jpeg.end()));
        write("broken.htm", styleFile("<%table cell=9%>\r\n<%table border=x%>\r\n"
                                      "<%table space=8%>\r\n"));
        write("garbled.htm", styleFile("<%table border=4%>\r\n"));
        write("garbled.jpg", "this is no picture");
        write("plain.htm", "<html></html>\r\n");
    }
    void write(const char* name, const std::string& bytes) {
        writeFile(dir.path() + QStringLiteral("/template/") + QLatin1String(name), bytes);
    }
    std::string path() const { return dir.path().toStdString() + "/"; }
    QTemporaryDir dir;
};

// The six sub-pages over fresh settings, as the wizard builds them.
struct Pages {
    explicit Pages(const std::string& programFolder = "/opt/vellumar/")
        : step({settings, linkImages, programFolder, frontend, dialogs},
               {"alpha", "broken", "garbled", "plain"}) {}

    GallerySettings settings;
    StyleLinkImages linkImages;
    testing::ScriptedFrontend frontend;
    testing::ScriptedDialogs dialogs;
    SettingsStep step;
};

void leave(QLineEdit* field, Qt::FocusReason reason = Qt::TabFocusReason) {
    QFocusEvent focusOut(QEvent::FocusOut, reason);
    QApplication::sendEvent(field, &focusOut);
}

void press(UpDown* tune, int direction, int times = 1) {
    for (int i = 0; i < times; ++i) {
        (direction > 0 ? tune->btnUp : tune->btnDown)->click();
    }
}

} // namespace

class SettingsPagesTest : public QObject {
    Q_OBJECT
private slots:
    void startStatesFollowTheDefaults() {
        Pages pages;
        StylePage& style = *pages.step.TabStyle;
        QVERIFY(style.cbThumbWidth->isChecked());
        QVERIFY(!style.edtThumbHeight->isEnabled());
        QVERIFY(!style.ThumbHeightTune->isEnabled());
        QVERIFY(style.rbThumbStretch->isChecked());
        QVERIFY(style.cbSmoothScaling->isChecked());
        QVERIFY(style.cbAutoRotate->isChecked());
        QCOMPARE(style.cbAutoRotate->text(),
                 QStringLiteral("Turn pictures as the camera held them"));
        QVERIFY(style.imgThumbBorderColor->isHidden());
        LargePicturePage& large = *pages.step.TabLargePic;
        QVERIFY(large.cbResizePic->isEnabled());
        for (QWidget* control :
             {static_cast<QWidget*>(large.cbPicWidth), static_cast<QWidget*>(large.edtPicHeight),
              static_cast<QWidget*>(large.PicWidthTune), static_cast<QWidget*>(large.cbPicBorder),
              static_cast<QWidget*>(large.btnPicBorderColor)}) {
            QVERIFY(!control->isEnabled());
        }
        QCOMPARE(pages.step.TabThumbTable->edtThumbTableCol->text(), QStringLiteral("4"));
        QCOMPARE(pages.step.TabText->edtThumbALT->text(),
                 QStringLiteral("Click for large picture"));
    }

    void thumbnailSizeFlagsKeepOneSideAndCropKeepsBoth() {
        Pages pages;
        StylePage& page = *pages.step.TabStyle;
        page.cbThumbWidth->click(); // height is off: it takes over
        QVERIFY(!page.cbThumbWidth->isChecked());
        QVERIFY(page.cbThumbHeight->isChecked());
        QVERIFY(!page.edtThumbWidth->isEnabled());
        QVERIFY(page.edtThumbHeight->isEnabled());
        QVERIFY(!pages.settings.ThumbWidth.on && pages.settings.ThumbHeight.on);

        page.rbThumbCrop->click();
        QVERIFY(page.cbThumbWidth->isChecked() && page.cbThumbHeight->isChecked());
        page.cbThumbWidth->click();
        page.cbThumbHeight->click();
        QVERIFY(page.cbThumbWidth->isChecked() && page.cbThumbHeight->isChecked());
        QVERIFY(page.edtThumbWidth->isEnabled() && page.edtThumbHeight->isEnabled());

        page.rbThumbStretch->click();
        QVERIFY(page.cbThumbWidth->isChecked());
        QVERIFY(!page.cbThumbHeight->isChecked());
        QVERIFY(!page.edtThumbHeight->isEnabled());
        QCOMPARE(pages.settings.ThumbStretch, ThumbFit::Stretch);
    }

    // Keeping proportions means something only for a resized picture in a box of both sides.
    void keepRatioBoxFollowsTheLargePictureBox() {
        Pages pages;
        LargePicturePage& page = *pages.step.TabLargePic;
        QVERIFY(page.cbPicKeepRatio->isChecked());
        QVERIFY(!page.cbPicKeepRatio->isEnabled()); // not resized
        page.cbResizePic->click();
        QVERIFY(page.cbPicKeepRatio->isEnabled());
        page.cbPicKeepRatio->click();
        QVERIFY(!pages.settings.PicKeepRatio);
        page.cbPicHeight->click(); // the width alone keeps the proportions anyway
        QVERIFY(!page.cbPicKeepRatio->isEnabled());
        pages.settings.PicKeepRatio = true;
        pages.step.showSettings();
        QVERIFY(page.cbPicKeepRatio->isChecked());
    }

    void smoothScalingAndDoubleSizeBoxesWriteAndShowTheirSettings() {
        Pages pages;
        StylePage& page = *pages.step.TabStyle;
        QVERIFY(page.cbHiDpiThumbs->isChecked());
        page.cbHiDpiThumbs->click();
        QVERIFY(!pages.settings.HiDpiThumbs);
        QVERIFY(pages.settings.SmoothScaling);
        page.cbSmoothScaling->click();
        QVERIFY(!pages.settings.SmoothScaling);
        // Cropping or stretching to an exact size has nothing to do with it.
        page.rbThumbCrop->click();
        QVERIFY(page.cbSmoothScaling->isEnabled());
        QVERIFY(!page.cbSmoothScaling->isChecked());
        pages.settings.SmoothScaling = true;
        pages.settings.HiDpiThumbs = true;
        pages.step.showSettings();
        QVERIFY(page.cbSmoothScaling->isChecked());
        QVERIFY(page.cbHiDpiThumbs->isChecked());

        page.cbAutoRotate->click();
        QVERIFY(!pages.settings.AutoRotate);
        pages.settings.AutoRotate = true;
        pages.step.showSettings();
        QVERIFY(page.cbAutoRotate->isChecked());
    }

    void largePictureControlsFollowResizeAndKeepOneSide() {
        Pages pages;
        LargePicturePage& page = *pages.step.TabLargePic;
        page.cbResizePic->click();
        page.cbPicBorder->click();
        QVERIFY(page.edtPicBorderWidth->isEnabled());
        QVERIFY(!page.imgPicBorderColor->isHidden());

        page.cbPicHeight->click();
        page.cbPicWidth->click(); // the last side left stays on
        QVERIFY(page.cbPicWidth->isChecked());
        QVERIFY(page.edtPicWidth->isEnabled());
        QVERIFY(!page.edtPicHeight->isEnabled());

        page.cbResizePic->click();
        QVERIFY(page.cbPicBorder->isChecked());
        for (QWidget* control :
             {static_cast<QWidget*>(page.cbPicWidth), static_cast<QWidget*>(page.cbPicHeight),
              static_cast<QWidget*>(page.edtPicWidth), static_cast<QWidget*>(page.PicWidthTune),
              static_cast<QWidget*>(page.cbPicBorder),
              static_cast<QWidget*>(page.edtPicBorderWidth),
              static_cast<QWidget*>(page.lblPicBorderColor),
              static_cast<QWidget*>(page.btnPicBorderColor)}) {
            QVERIFY(!control->isEnabled());
        }
        QVERIFY(page.imgPicBorderColor->isHidden());

        // Wide gamut is off for a new project and stays usable whether pictures are resized.
        QVERIFY(!page.cbWideGamut->isChecked());
        QVERIFY(page.cbWideGamut->isEnabled());
        page.cbWideGamut->click();
        QVERIFY(pages.settings.WideGamut);
        pages.settings.WideGamut = false;
        pages.step.showSettings();
        QVERIFY(!page.cbWideGamut->isChecked());
    }

    void lightPageSettingsShowAndTakeTheirValues() {
        Pages pages;
        LargePicturePage& page = *pages.step.TabLargePic;
        StylePage& style = *pages.step.TabStyle;
        QVERIFY(page.cbKeepOriginalJpeg->isChecked());
        QCOMPARE(page.edtResponsiveWidths->text(), QStringLiteral("640 1280 1920"));
        QCOMPARE(style.cboModernFormats->currentIndex(), 0);

        // Only pictures kept at their own size can be published as they are.
        page.cbResizePic->click();
        QVERIFY(!page.cbKeepOriginalJpeg->isEnabled());
        page.cbResizePic->click();
        page.cbKeepOriginalJpeg->click();
        QVERIFY(!pages.settings.KeepOriginalJpeg);

        // Widths are read as a project file reads them, and shown back in order.
        page.edtResponsiveWidths->setText(QStringLiteral("1600, 800"));
        emit page.edtResponsiveWidths->editingFinished();
        QCOMPARE(pages.settings.ResponsiveWidths, (std::vector<int>{800, 1600}));
        QCOMPARE(page.edtResponsiveWidths->text(), QStringLiteral("800 1600"));
        page.edtResponsiveWidths->setText(QStringLiteral("wide"));
        emit page.edtResponsiveWidths->editingFinished();
        QCOMPARE(pages.settings.ResponsiveWidths, (std::vector<int>{800, 1600}));
        QCOMPARE(page.edtResponsiveWidths->text(), QStringLiteral("800 1600"));
        QCOMPARE(pages.frontend.notices.back(),
                 std::string("'wide' is not a list of widths in pixels, such as 640 1280 1920"));

        style.cboModernFormats->setCurrentIndex(3);
        emit style.cboModernFormats->activated(3);
        QCOMPARE(pages.settings.ModernFormats, ModernFormatChoice::Both);
    }

    void upDownStepsWithinTheLimitsAndResetsText() {
        Pages pages;
        StylePage& style = *pages.step.TabStyle;
        pages.settings.ThumbWidth.value = "995";
        pages.step.showSettings();
        press(style.ThumbWidthTune, +1);
        QCOMPARE(style.edtThumbWidth->text(), QStringLiteral("1000"));
        press(style.ThumbWidthTune, +1);
        QCOMPARE(pages.settings.ThumbWidth.value, std::string("1000"));
        QTest::keyClicks(style.edtThumbWidth, QStringLiteral("x"));
        press(style.ThumbWidthTune, -1);
        QCOMPARE(style.edtThumbWidth->text(), QStringLiteral("100"));
        style.edtThumbWidth->setText(QStringLiteral("15"));
        emit style.edtThumbWidth->textEdited(QStringLiteral("15"));
        press(style.ThumbWidthTune, -1, 2);
        QCOMPARE(style.edtThumbWidth->text(), QStringLiteral("10"));

        LargePicturePage& large = *pages.step.TabLargePic;
        pages.settings.PicWidth.value = "5";
        pages.step.showSettings();
        large.cbResizePic->click();
        press(large.PicWidthTune, -1);
        QCOMPARE(large.edtPicWidth->text(), QStringLiteral("1"));

        ThumbnailPagesPage& table = *pages.step.TabThumbTable;
        press(table.ThumbTableColTune, +1, 60);
        QCOMPARE(pages.settings.ThumbTableCol, std::string("50"));
        press(table.ThumbTableBorderWidthTune, -1);
        QCOMPARE(table.edtThumbTableBorderWidth->text(), QStringLiteral("0"));
        QVERIFY(pages.frontend.notices.empty());
    }

    void leavingANumberFieldRefusesText() {
        Pages pages;
        StylePage& style = *pages.step.TabStyle;
        style.cbThumbHeight->click();
        style.edtThumbHeight->clear();
        QTest::keyClicks(style.edtThumbHeight, QStringLiteral("abc"));
        QCOMPARE(pages.settings.ThumbHeight.value, std::string("abc"));
        // A context menu or another window only borrows the focus: no check yet.
        leave(style.edtThumbHeight, Qt::PopupFocusReason);
        leave(style.edtThumbHeight, Qt::ActiveWindowFocusReason);
        QVERIFY(pages.frontend.notices.empty());
        leave(style.edtThumbHeight);
        QCOMPARE(pages.frontend.notices,
                 std::vector<std::string>{"Thumbnail height can only be integer."});
        QCOMPARE(style.edtThumbHeight->text(), QStringLiteral("100"));
        QCOMPARE(pages.settings.ThumbHeight.value, std::string("100"));

        LargePicturePage& large = *pages.step.TabLargePic;
        large.cbResizePic->click();
        QTest::keyClicks(large.edtPicHeight, QStringLiteral("0x1"));
        leave(large.edtPicHeight);
        QCOMPARE(pages.frontend.notices.back(),
                 std::string("Resized picture height can only be integer."));
        QCOMPARE(large.edtPicHeight->text(), QStringLiteral("400"));

        // Only the five thumbnail and large-picture fields are checked.
        large.cbPicBorder->click();
        QTest::keyClicks(large.edtPicBorderWidth, QStringLiteral("wide"));
        leave(large.edtPicBorderWidth);
        QCOMPARE(pages.frontend.notices.size(), std::size_t{2});
        QCOMPARE(pages.settings.PicBorderWidth, std::string("1wide"));
    }

    void colourChoosersShareTheDialogAndSwitchedColoursKeepTheirColour() {
        Pages pages;
        StylePage& style = *pages.step.TabStyle;
        style.cbThumbBorder->click();
        pages.dialogs.colorsToChoose = {makeColor(0, 0, 255), std::nullopt};
        style.btnBorderColor->click();
        style.btnBorderColor->click(); // cancelled
        QCOMPARE(pages.settings.ThumbBorderColor, makeColor(0, 0, 255));
        QCOMPARE(style.imgThumbBorderColor->color(), makeColor(0, 0, 255));

        ThumbnailPagesPage& table = *pages.step.TabThumbTable;
        QVERIFY(table.imgIdxPageBGColor->isHidden());
        QVERIFY(!table.btnIdxPageBGColor->isEnabled());
        table.cbIdxPageBGColor->click();
        pages.dialogs.colorsToChoose = {makeColor(1, 2, 3)};
        table.btnIdxPageBGColor->click();
        table.cbIdxPageBGColor->click();
        QVERIFY(table.imgIdxPageBGColor->isHidden());
        QVERIFY(!pages.settings.IdxPageBGColor.on);
        table.cbIdxPageBGColor->click();
        QVERIFY(!table.imgIdxPageBGColor->isHidden());
        QCOMPARE(table.imgIdxPageBGColor->color(), makeColor(1, 2, 3));
        QCOMPARE(pages.settings.IdxPageBGColor, (Switched<Color>{true, makeColor(1, 2, 3)}));
    }

    void backgroundChoosersOpenInTheBackgroundFolder() {
        Pages pages;
        ThumbnailPagesPage& table = *pages.step.TabThumbTable;
        pages.dialogs.picturesToChooseIn = {std::string("/home/ann/sky.png"), std::nullopt};
        table.btnThumbTableBGPic->click();
        table.btnThumbTableBGPic->click();
        QCOMPARE(
            pages.dialogs.pictureFolders,
            (std::vector<std::string>{"/opt/vellumar/background/", "/opt/vellumar/background/"}));
        QCOMPARE(table.edtThumbTableBGPic->text(), QStringLiteral("/home/ann/sky.png"));
        QCOMPARE(pages.settings.ThumbTableBGPic, std::string("/home/ann/sky.png"));
    }

    void renameButtonOpensTheFileNameSectionOfTheManual() {
        Pages pages;
        pages.step.TabStyle->btnRenameSoft->click();
        QCOMPARE(pages.dialogs.openedExternally,
                 std::vector<std::string>{"file:///opt/vellumar/Help.html#file-names"});
    }

    void pictureInfoLocksTheAltText() {
        Pages pages;
        TextPage& text = *pages.step.TabText;
        text.cbThumbInfo->click();
        QVERIFY(!text.edtThumbALT->isEnabled());
        QCOMPARE(text.edtThumbALT->text(), QStringLiteral("Click for large picture"));
        text.cbThumbInfo->click();
        QVERIFY(text.edtThumbALT->isEnabled());
    }

    void shownSettingsOnlyUpdateStates() {
        Pages pages;
        // A stored combination no click could make: stretch with both sides and a
        // border without resizing. Showing it must not run the flag rules.
        pages.settings.ThumbHeight.on = true;
        pages.settings.PicBorder = true;
        pages.settings.PicHeight.on = false;
        pages.settings.PageBGColor = {true, makeColor(9, 9, 9)};
        pages.settings.SmoothScaling = false;
        pages.settings.AutoRotate = false;
        const GallerySettings loaded = pages.settings;
        pages.step.showSettings();
        QCOMPARE(pages.settings, loaded);
        QVERIFY(pages.step.TabStyle->edtThumbHeight->isEnabled());
        QVERIFY(pages.step.TabLargePic->cbPicBorder->isChecked());
        QVERIFY(pages.step.TabLargePic->imgPicBorderColor->isHidden());
        QVERIFY(!pages.step.TabStyle->cbSmoothScaling->isChecked());
        QVERIFY(!pages.step.TabStyle->cbAutoRotate->isChecked());
    }

    void choosingAStyleAppliesItsDefaultsAndSample() {
        ProgramFolder folder;
        Pages pages(folder.path());
        StylePage& page = *pages.step.TabStyle;
        page.cmbStyle->setCurrentIndex(0);
        emit page.cmbStyle->activated(0);
        QVERIFY(pages.frontend.notices.empty());
        QCOMPARE(pages.settings.Style, std::string("alpha"));
        QVERIFY(!page.imgStylePreview->isHidden());
        // The 40 x 30 sample fills its box, drawn with the box's own pixels.
        QCOMPARE(page.imgStylePreview->pixmap().deviceIndependentSize().toSize(),
                 page.imgStylePreview->contentsRect().size());
        QCOMPARE(pages.settings.PageBGColor, (Switched<Color>{true, makeColor(255, 0, 0)}));
        QCOMPARE(pages.settings.IdxNav[NavLinkKind::First].file, folder.path() + "button/b1.gif");
        QCOMPARE(pages.linkImages[static_cast<std::size_t>(NavLinkKind::Home)],
                 folder.path() + "button/h.gif");
        // Every page shows what the style set.
        QVERIFY(pages.step.TabPicPage->cbPageBGColor->isChecked());
        QVERIFY(!pages.step.TabThumbTable->imgIdxPageBGColor->isHidden());
        QCOMPARE(pages.step.TabThumbTable->imgIdxPageBGColor->color(), makeColor(255, 0, 0));
        QCOMPARE(pages.step.TabThumbTable->edtThumbTableBorderWidth->text(), QStringLiteral("7"));

        page.applyStyle("plain"); // no sample, no section
        QVERIFY(page.imgStylePreview->isHidden());
        QCOMPARE(pages.settings.ThumbTableBorderWidth, std::string("7"));
        QCOMPARE(page.cmbStyle->currentText(), QStringLiteral("plain"));
    }

    void styleFailuresAreReported() {
        ProgramFolder folder;
        Pages pages(folder.path());
        StylePage& page = *pages.step.TabStyle;
        page.applyStyle("broken");
        QCOMPARE(pages.frontend.notices,
                 std::vector<std::string>{"'x' is not a valid integer value"});
        QCOMPARE(pages.settings.ThumbTableCellPad, std::string("9"));
        QCOMPARE(pages.settings.ThumbTableCellSpace, std::string("5"));
        QCOMPARE(pages.step.TabThumbTable->edtThumbTableCellPad->text(), QStringLiteral("9"));

        page.applyStyle("garbled"); // an unreadable sample: nothing of the style applies
        QCOMPARE(pages.frontend.notices.size(), std::size_t{2});
        QVERIFY(pages.frontend.notices.back().starts_with("Cannot read picture "));
        QCOMPARE(pages.settings.ThumbTableBorderWidth, std::string("0"));
    }

    void advancedEditsThePictureLinksWithTheStyleImages() {
        ProgramFolder folder;
        Pages pages(folder.path());
        pages.step.TabStyle->applyStyle("alpha");
        QVERIFY(!pages.settings.PageNavLinks[NavLinkKind::Home].isOn());
        const NavLinkSet indexLinks = pages.settings.IdxNav;
        QTimer::singleShot(0, pages.step.frmNavLinkOpt, [&pages] {
            TfrmNavLinkOpt& dialog = *pages.step.frmNavLinkOpt;
            dialog.cbList->item(static_cast<int>(NavLinkKind::Home))->setCheckState(Qt::Checked);
            dialog.btnOK->click();
        });
        pages.step.TabPicPage->btnPageNavLink->click();
        QCOMPARE(pages.settings.PageNavLinks[NavLinkKind::Home],
                 (TNavLink{folder.path() + "button/h.gif", "Home page"}));
        QCOMPARE(pages.settings.IdxNav, indexLinks);
    }

    void aLoadedStyleIsSelectedWithItsSampleNotApplied() {
        ProgramFolder folder;
        Pages pages(folder.path());
        pages.settings.Style = "alpha";
        const GallerySettings loaded = pages.settings;
        pages.step.showSettings();
        QCOMPARE(pages.step.TabStyle->cmbStyle->currentText(), QStringLiteral("alpha"));
        QCOMPARE(pages.settings, loaded);
        QVERIFY(!pages.step.TabStyle->imgStylePreview->pixmap().isNull());
        QVERIFY(!pages.step.TabStyle->imgStylePreview->isHidden());

        pages.settings.Style = "plain"; // no sample picture
        pages.step.showSettings();
        QVERIFY(pages.step.TabStyle->imgStylePreview->isHidden());
    }
};

QTEST_MAIN(SettingsPagesTest)
#include "settings_pages_test.moc"
