// A build runs inside the window's event handling: whatever the user can reach while it
// waits on a question must leave the project it reads alone.

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

#include "picture_step.h"
#include "scripted_dialogs.h"
#include "settings_step.h"
#include "support/scoped_home.h"
#include "support/scripted_frontend.h"
#include "wizard_fixture.h"
#include "wizard_pages.h"

using namespace vellumar;

namespace {

constexpr int kPictureCount = 3;

// A window with three pictures whose gallery folder already holds a first thumbnail, so a
// build in Ask mode stops at a question about it.
struct WizardWithGallery {
    WizardWithGallery() : home(folder.path()), window(folder.path(), frontend, dialogs) {
        dialogs.picturesToChoose.push_back(folder.writePictures(kPictureCount));
        window.TabPic->addImages();
        QDir().mkpath(QString::fromStdString(gallery + "thumb"));
        testing::writeFile(QString::fromStdString(thumbnail(1)), "an older thumbnail");
        window.project().settings().DestFolder = gallery;
    }
    std::string thumbnail(int n) const {
        return gallery + "thumb/tn_" + std::to_string(n) + ".jpg";
    }
    bool isOlderThumbnail(int n) const {
        QFile file(QString::fromStdString(thumbnail(n)));
        return file.open(QIODevice::ReadOnly) && file.readAll() == "an older thumbnail";
    }

    testing::ProgramFolder folder;
    testing::ScopedHome home; // the build's reuse records stay in the scratch folder
    testing::ScriptedFrontend frontend;
    testing::ScriptedDialogs dialogs;
    TfrmMain window;
    const std::string gallery = folder.path() + "gallery/";
};

// Whether anything that changes the list, the settings or the project can be used.
QStringList usableProjectControls(TfrmMain& window) {
    QStringList usable;
    const auto check = [&](const char* name, bool enabled) {
        if (enabled) {
            usable << QString::fromLatin1(name);
        }
    };
    PictureStep& pictures = *window.TabPic;
    check("Add", pictures.btnAdd->isEnabled());
    check("Remove", pictures.btnRemove->isEnabled());
    check("Clear", pictures.btnClear->isEnabled());
    check("Up", pictures.btnUp->isEnabled());
    check("Down", pictures.btnDown->isEnabled());
    check("Sort by", pictures.btnSort->isEnabled());
    check("Title", pictures.edtTitle->isEnabled());
    check("Info", pictures.edtInfo->isEnabled());
    check("Crop", pictures.cmbCrop->isEnabled());
    check("Rotate", pictures.cmbRotate->isEnabled());
    QTabWidget& settings = *window.TabSetting->SettingPage;
    for (int page = 0; page < settings.count(); ++page) {
        check("a settings page", settings.widget(page)->isEnabled());
    }
    check("Build a new project", window.TabProject->rbNew->isEnabled());
    check("Open an old project", window.TabProject->rbOld->isEnabled());
    check("New project", window.actNewProject->isEnabled());
    check("Open project", window.actOpenProject->isEnabled());
    check("Build All", window.TabBuild->btnBuildAll->isEnabled());
    check("Preview", window.TabBuild->btnPreview->isEnabled());
    return usable;
}

} // namespace

class BuildLockTest : public QObject {
    Q_OBJECT
private slots:
    void aBuildHeldAtAQuestionKeepsItsPictureList() {
        WizardWithGallery wizard;
        TfrmMain& window = wizard.window;
        window.showStep(WizardStep::Pictures);
        window.TabPic->showEntry(2);
        QStringList usableWhileAsked;
        wizard.dialogs.whileAsking = [&] {
            usableWhileAsked = usableProjectControls(window);
            QVERIFY(window.TabBuild->btnStop->isEnabled());
            QVERIFY(window.btnNext->isEnabled()); // the wizard can still be walked
            // What the user tried: Clear, and choosing another picture in the grid.
            QTest::mouseClick(window.TabPic->btnClear, Qt::LeftButton);
            window.TabPic->FileInfo->setCurrentCell(0, 0);
        };
        wizard.dialogs.answers.push_back(Answer::Yes);
        window.btnBuildAllClick();

        QCOMPARE(usableWhileAsked, QStringList());
        QVERIFY(wizard.frontend.questions.empty()); // Clear never asked
        QVERIFY(wizard.frontend.notices.empty());
        QCOMPARE(window.project().pictures().count(), kPictureCount);
        for (int n = 1; n <= kPictureCount; ++n) {
            QVERIFY(!wizard.isOlderThumbnail(n));
        }
        const QStringList usableAfter = usableProjectControls(window);
        QCOMPARE(usableAfter.size(), 21); // all of them but Up, as row 1 is shown
        QVERIFY(!usableAfter.contains(QStringLiteral("Up")));
        QVERIFY(!window.TabBuild->btnStop->isEnabled());
    }

    void closingDuringABuildStopsItAndThenAsksAsEver() {
        WizardWithGallery wizard;
        TfrmMain& window = wizard.window;
        window.show();
        bool closedWhileAsked = true;
        wizard.dialogs.whileAsking = [&] {
            if (wizard.dialogs.questions.size() == 1) {
                closedWhileAsked = testing::closeWindow(window);
            }
        };
        wizard.dialogs.answers = {Answer::Yes, Answer::No}; // overwrite; then do not save
        window.btnBuildAllClick();
        QVERIFY(!closedWhileAsked);
        QCOMPARE(wizard.dialogs.questions.back(),
                 std::string("Do you want to save project before exit ?"));
        QVERIFY(!window.isVisible());
        // Stopped after the picture in hand: the last large picture was never made.
        QVERIFY(!QFile::exists(QString::fromStdString(wizard.gallery + "pic/pic3.jpg")));
    }

    void answersToAllHoldForTheRestOfOneBuild() {
        WizardWithGallery wizard;
        for (int n = 2; n <= kPictureCount; ++n) {
            testing::writeFile(QString::fromStdString(wizard.thumbnail(n)), "an older thumbnail");
        }
        wizard.dialogs.answers.push_back(Answer::NoToAll);
        wizard.window.btnBuildAllClick();
        QCOMPARE(wizard.dialogs.questions,
                 std::vector<std::string>{"Overwrite existing file: " + wizard.thumbnail(1)});
        for (int n = 1; n <= kPictureCount; ++n) {
            QVERIFY(wizard.isOlderThumbnail(n));
        }

        // The next build asks again; Yes to all replaces every file without another word.
        wizard.dialogs.answers.push_back(Answer::YesToAll);
        wizard.window.btnBuildAllClick();
        QCOMPARE(wizard.dialogs.questions.size(), std::size_t{2});
        for (int n = 1; n <= kPictureCount; ++n) {
            QVERIFY(!wizard.isOlderThumbnail(n));
        }
        QVERIFY(QFile::exists(QString::fromStdString(wizard.gallery + "index.htm")));

        // Plain Yes and No hold for one file only.
        wizard.dialogs.answers = {Answer::No, Answer::Yes, Answer::NoToAll};
        wizard.window.btnBuildAllClick();
        QCOMPARE(wizard.dialogs.questions.size(), std::size_t{5});
        QVERIFY(wizard.dialogs.answers.empty());
        QVERIFY(wizard.frontend.notices.empty());
    }
};

QTEST_MAIN(BuildLockTest)
#include "build_lock_test.moc"
