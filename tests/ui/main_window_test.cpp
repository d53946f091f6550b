#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

#include "folders_page.h"
#include "help_dialog.h"
#include "imaging/jpeg_writer.h"
#include "large_picture_page.h"
#include "main_window.h"
#include "model/project_file.h"
#include "number_field.h"
#include "picture_pages_page.h"
#include "picture_step.h"
#include "scripted_dialogs.h"
#include "settings_step.h"
#include "style_page.h"
#include "support/scripted_frontend.h"
#include "support/test_pictures.h"
#include "text_page.h"
#include "thumbnail_pages_page.h"
#include "wizard_fixture.h"
#include "wizard_pages.h"

using namespace vellumar;

using testing::closeWindow;
using testing::ProgramFolder;
using testing::writeFile;
using testing::writeProject;

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void startsOnTheFirstStepWithTheFirstStyleApplied() {
        ProgramFolder folder;
        testing::ScriptedFrontend frontend;
        testing::ScriptedDialogs dialogs;
        TfrmMain window(folder.path(), frontend, dialogs);
        QCOMPARE(window.windowTitle(), QStringLiteral("Vellumar"));
        QCOMPARE(window.styles(), std::vector<std::string>{"plain"});
        QCOMPARE(window.project().settings().Style, std::string("plain"));
        QCOMPARE(window.project().settings().ThumbTableBorderWidth, std::string("3"));
        QVERIFY(!window.btnPrev->isEnabled());
        QVERIFY(window.btnNext->isEnabled());
        QCOMPARE(window.lblStepTitle->text(), QStringLiteral("1. Choose a project"));
        QVERIFY(closeWindow(window)); // nothing changed: no question
        QVERIFY(frontend.questions.empty());
    }

    void newProjectTitlesTheWindowUntitled() {
        ProgramFolder folder;
        testing::ScriptedFrontend frontend;
        testing::ScriptedDialogs dialogs;
        TfrmMain window(folder.path(), frontend, dialogs);
        window.newProject();
        QCOMPARE(window.windowTitle(), QStringLiteral("Vellumar - Untitled"));
        QCOMPARE(window.project().path(), std::string("Untitled"));
        QVERIFY(window.TabProject->lblPjtName->isHidden());
    }

    void failedOpenKeepsTheUserOnTheFirstStep() {
        ProgramFolder folder;
        testing::ScriptedFrontend frontend;
        testing::ScriptedDialogs dialogs;
        TfrmMain window(folder.path(), frontend, dialogs);
        const std::string missing = folder.path() + "missing.vlm";
        dialogs.projectFilesToOpen.push_back(missing);
        window.TabProject->rbOld->setChecked(true);
        QCOMPARE(window.steps().step(), WizardStep::Project);
        QCOMPARE(frontend.notices,
                 (std::vector<std::string>{"Load project " + missing + " fail!\nCannot read file " +
                                               missing + ": No such file or directory",
                                           "Please select an old project."}));
    }

    void openedProjectMovesOnAndSavesBackWithoutAsking() {
        ProgramFolder folder;
        testing::ScriptedFrontend frontend;
        testing::ScriptedDialogs dialogs;
        TfrmMain window(folder.path(), frontend, dialogs);
        const std::string path = writeProject(folder.dir.path());
        dialogs.projectFilesToOpen.push_back(path);
        window.TabProject->rbOld->setChecked(true);
        QCOMPARE(window.steps().step(), WizardStep::Pictures);
        QCOMPARE(window.windowTitle(), QStringLiteral("Vellumar - album.vlm"));
        QCOMPARE(window.TabSetting->TabFolder->edtDestFolder->text(), QStringLiteral("/srv/album"));
        QVERIFY(window.saveProject()); // no chooser is scripted: it must not open
        QVERIFY(dialogs.savePresets.empty());
    }

    // A project given when the program starts: opened without a chooser, on to its pictures;
    // a missing or malformed one gives its load failure once and an empty wizard.
    void projectGivenAtStartOpensWithoutAChooser() {
        ProgramFolder folder;
        testing::ScriptedFrontend frontend;
        testing::ScriptedDialogs dialogs;
        {
            TfrmMain window(folder.path(), frontend, dialogs);
            window.openProjectFrom(writeProject(folder.dir.path()));
            QCOMPARE(window.steps().step(), WizardStep::Pictures);
            QVERIFY(window.TabProject->rbOld->isChecked());
            QCOMPARE(window.windowTitle(), QStringLiteral("Vellumar - album.vlm"));
            QVERIFY(window.saveProject()); // saved back where it came from, without a chooser
            QVERIFY(dialogs.savePresets.empty());
        }
        const std::string malformed = folder.path() + "malformed.vlm";
        writeFile(QString::fromStdString(malformed), "[project]\r\nimgcount=many\r\n");
        for (const std::string& path : {folder.path() + "missing.vlm", malformed}) {
            frontend.notices.clear();
            TfrmMain window(folder.path(), frontend, dialogs);
            window.openProjectFrom(path);
            QCOMPARE(window.steps().step(), WizardStep::Project);
            QCOMPARE(frontend.notices.size(), std::size_t{1});
            QVERIFY2(frontend.notices.front().starts_with("Load project " + path + " fail!"),
                     frontend.notices.front().c_str());
            QVERIFY(window.project().pictures().isEmpty());
            QCOMPARE(window.TabProject->lblPjtName->text(), QString::fromStdString(path));
        }
        QVERIFY(dialogs.projectFilesToOpen.empty());
    }

    void newProjectSaveAsksWithTheUntitledPresetEachTime() {
        ProgramFolder folder;
        testing::ScriptedFrontend frontend;
        testing::ScriptedDialogs dialogs;
        TfrmMain window(folder.path(), frontend, dialogs);
        dialogs.projectFilesToSave.push_back(std::nullopt);
        QVERIFY(!window.saveProject());
        const std::string target = folder.path() + "new.vlm";
        dialogs.projectFilesToSave.push_back(target);
        QVERIFY(window.saveProject());
        QVERIFY(QFile::exists(QString::fromStdString(target)));
        QCOMPARE(dialogs.savePresets, (std::vector<std::string>{"Untitled.vlm", "Untitled.vlm"}));
        dialogs.projectFilesToSave.push_back(target);
        QVERIFY(window.saveProjectAs());
        QCOMPARE(dialogs.savePresets.back(), std::string("*.vlm"));
    }

    void buildAllRefusesWithoutADestinationAndStaysUsable() {
        ProgramFolder folder;
        testing::ScriptedFrontend frontend;
        testing::ScriptedDialogs dialogs;
        TfrmMain window(folder.path(), frontend, dialogs);
        window.btnBuildAllClick();
        QCOMPARE(frontend.notices, std::vector<std::string>{
                                       "Please fill in Destination Folder field in Settings tab!"});
        QVERIFY(window.TabBuild->btnBuildAll->isEnabled());

        const std::string missing = folder.path() + "nowhere";
        window.project().settings().DestFolder = missing;
        frontend.answerNext(false);
        window.btnBuildAllClick();
        QCOMPARE(frontend.questions.back(),
                 "Destination folder " + missing + " does not exist. Create it anyway ?");
        QCOMPARE(frontend.notices.back(),
                 "Destination folder " + missing + " does not exist. Terminated!");
        QVERIFY(!QFile::exists(QString::fromStdString(missing)));
        QVERIFY(window.TabBuild->btnBuildAll->isEnabled());
        QVERIFY(!window.TabBuild->btnStop->isEnabled());
    }

    void closeQueryOffersCancelAndKeepsTheWindowWhenNothingIsSaved() {
        ProgramFolder folder;
        testing::ScriptedFrontend frontend;
        testing::ScriptedDialogs dialogs;
        TfrmMain window(folder.path(), frontend, dialogs);
        window.project().settings().PageTitle = "Holiday";

        dialogs.answers.push_back(Answer::Cancel); // Escape and the close box answer this
        QVERIFY(!closeWindow(window));
        QVERIFY(dialogs.savePresets.empty());
        QCOMPARE(dialogs.questions.back(),
                 std::string("Do you want to save project before exit ?"));

        dialogs.answers.push_back(Answer::Yes);
        dialogs.projectFilesToSave.push_back(std::nullopt);
        QVERIFY(!closeWindow(window)); // Yes, then a cancelled save: stay open

        const std::string target = folder.path() + "kept.vlm";
        dialogs.answers.push_back(Answer::Yes);
        dialogs.projectFilesToSave.push_back(target);
        QVERIFY(closeWindow(window));
        QVERIFY(QFile::exists(QString::fromStdString(target)));

        window.project().settings().PageTitle = "Changed after the save";
        dialogs.answers.push_back(Answer::No);
        QVERIFY(closeWindow(window));
        QCOMPARE(dialogs.questions.size(), std::size_t{4});
        QVERIFY(dialogs.answers.empty());
        QVERIFY(frontend.questions.empty());
    }

    void openedProjectShowsItsStyleSampleWithoutItsDefaults() {
        ProgramFolder folder;
        writeFile(folder.dir.path() + QStringLiteral("/template/zebra.htm"),
                  "<html>\r\n<%default begin%>\r\n<%table border=9%>\r\n<%default end%>\r\n");
        const Rgb blue{20, 40, 220};
        writeFile(folder.dir.path() + QStringLiteral("/template/zebra.jpg"),
                  testing::jpegOf(testing::filledPicture(40, 30, blue)));
        testing::ScriptedFrontend frontend;
        testing::ScriptedDialogs dialogs;
        TfrmMain window(folder.path(), frontend, dialogs);
        QCOMPARE(window.styles().front(), std::string("plain"));
        QVERIFY(window.TabSetting->TabStyle->imgStylePreview->isHidden()); // plain has none

        dialogs.projectFilesToOpen.push_back(writeProject(folder.dir.path(), "zebra"));
        frontend.answerNext(true); // the open moves on from a step without pictures
        window.openProject();
        StylePage& page = *window.TabSetting->TabStyle;
        QCOMPARE(page.cmbStyle->currentText(), QStringLiteral("zebra"));
        QVERIFY(!page.imgStylePreview->isHidden());
        const QColor shown = page.imgStylePreview->pixmap().toImage().pixelColor(20, 15);
        QVERIFY2(shown.blue() > 180 && shown.red() < 60, qPrintable(shown.name()));
        QCOMPARE(window.project().settings().ThumbTableBorderWidth,
                 GallerySettings().ThumbTableBorderWidth); // as saved, not zebra's 9
    }

    void previewAndViewOpenTheirPagesInTheBrowser() {
        ProgramFolder folder;
        testing::ScriptedFrontend frontend;
        testing::ScriptedDialogs dialogs;
        TfrmMain window(folder.path(), frontend, dialogs);
        window.btnPreviewClick();
        window.btnViewClick();
        QCOMPARE(
            frontend.notices,
            (std::vector<std::string>{"Please select pictures before preview.",
                                      "Please fill in Destination Folder field in Settings tab."}));
        const std::string gallery = folder.path() + "gallery";
        QDir().mkpath(QString::fromStdString(gallery));
        writeFile(QString::fromStdString(gallery + "/index.htm"), "built");
        window.project().settings().DestFolder = gallery + "/";
        window.btnViewClick();
        QCOMPARE(dialogs.openedExternally, std::vector<std::string>{gallery + "/index.htm"});
    }

    void previewWritesTheFirstPageIntoThePreviewFolder() {
        ProgramFolder folder;
        testing::ScriptedFrontend frontend;
        testing::ScriptedDialogs dialogs;
        TfrmMain window(folder.path(), frontend, dialogs);
        const std::vector<std::uint8_t> jpeg =
            encodeJpeg(testing::filledPicture(64, 48, Rgb{200, 30, 30}));
        std::vector<std::string> pictures;
        for (const char* name : {"a.jpg", "b.jpg"}) {
            pictures.push_back(folder.path() + name);
            writeFile(QString::fromStdString(pictures.back()),
                      std::string(jpeg.begin(), jpeg.end()));
        }
        dialogs.picturesToChoose.push_back(pictures);
        window.TabPic->addImages();
        window.btnPreviewClick();
        QVERIFY(frontend.notices.empty());
        const std::string preview = folder.path() + "preview/";
        QCOMPARE(dialogs.openedExternally, std::vector<std::string>{preview + "index.htm"});
        for (const char* file : {"index.htm", "thumb/tn_1.jpg", "thumb/tn_2.jpg", "pic/pic2.jpg",
                                 "picpage/page2.htm"}) {
            QVERIFY2(QFile::exists(QString::fromStdString(preview + file)), file);
        }
    }

    void projectRoundTripThroughThePages() {
        ProgramFolder folder;
        testing::ScriptedFrontend frontend;
        testing::ScriptedDialogs dialogs;
        TfrmMain window(folder.path(), frontend, dialogs);
        const std::string path = writeProject(folder.dir.path());
        dialogs.projectFilesToOpen.push_back(path);
        window.TabProject->rbOld->setChecked(true);

        SettingsStep& pages = *window.TabSetting;
        pages.TabStyle->rbThumbCrop->click();
        QTest::keyClicks(pages.TabStyle->edtThumbPrefix, QStringLiteral("s_"));
        dialogs.colorsToChoose.push_back(makeColor(0, 128, 0));
        pages.TabThumbTable->btnThumbTableBorderColor->click();
        pages.TabThumbTable->ThumbTableRowTune->btnUp->click();
        pages.TabPicPage->cmbThumbLink->setCurrentIndex(2);
        pages.TabText->cbThumbShowSize->click();
        pages.TabLargePic->cbResizePic->click();
        QVERIFY(window.saveProject());

        GallerySettings expected;
        expected.DestFolder = "/srv/album";
        expected.Style = "plain"; // the file named no installed style: the chosen one stays
        expected.ThumbStretch = ThumbFit::Crop;
        expected.ThumbHeight.on = true;
        expected.ThumbPrefix = "tn_s_";
        expected.ThumbTableBorderColor = makeColor(0, 128, 0);
        expected.ThumbTableRow = "4";
        expected.ThumbLink = ThumbLinkTarget::None;
        expected.ThumbShowSize = false;
        expected.ResizePic = true;
        PictureList list;
        GallerySettings saved;
        QVERIFY(LoadProject(path, list, saved, window.styles(), frontend));
        // Line by line, so a failure names the setting.
        QCOMPARE(
            QString::fromStdString(projectText(list, saved, {})).split(QStringLiteral("\r\n")),
            QString::fromStdString(projectText(list, expected, {})).split(QStringLiteral("\r\n")));

        // Opening it again brings the saved values back onto the pages.
        pages.TabStyle->rbThumbStretch->click();
        pages.TabText->cbThumbShowSize->click();
        dialogs.projectFilesToOpen.push_back(path);
        frontend.answerNext(true); // the open moves on from a step without pictures
        window.openProject();
        QVERIFY(pages.TabStyle->rbThumbCrop->isChecked());
        QVERIFY(pages.TabStyle->edtThumbHeight->isEnabled());
        QCOMPARE(pages.TabThumbTable->edtThumbTableRow->text(), QStringLiteral("4"));
        QVERIFY(!pages.TabText->cbThumbShowSize->isChecked());
        QVERIFY(pages.TabLargePic->edtPicWidth->isEnabled());
    }

    void helpShowsTheTextOfTheCurrentStep() {
        ProgramFolder folder;
        testing::ScriptedFrontend frontend;
        testing::ScriptedDialogs dialogs;
        TfrmMain window(folder.path(), frontend, dialogs);
        window.showStep(WizardStep::Pictures);
        window.btnHelpClick();
        QCOMPARE(window.frmHelp->memoHelp->toPlainText(), QStringLiteral("How to add pictures"));
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
