#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "atomic_file.h"
#include "imaging/jpeg_writer.h"
#include "model/project.h"
#include "picture_step.h"
#include "scripted_dialogs.h"
#include "support/scripted_frontend.h"
#include "support/test_pictures.h"

using namespace vellumar;

namespace {

// Three pictures a.jpg (30 x 20), b.jpg (40 x 20) and c.jpg (50 x 20) in a folder.
struct PictureFolder {
    PictureFolder() {
        for (const auto& [name, width] : {std::pair{"a.jpg", 30}, {"b.jpg", 40}, {"c.jpg", 50}}) {
            writeFileAtomically(path(name),
                                encodeJpeg(testing::filledPicture(width, 20, {200, 60, 30})));
        }
    }
    std::string path(const std::string& name) const {
        return dir.path().toStdString() + "/" + name;
    }
    QTemporaryDir dir;
};

QString cell(const PictureStep& step, int row, int column) {
    return step.FileInfo->item(row, column)->text();
}

} // namespace

class PictureStepTest : public QObject {
    Q_OBJECT
private slots:
    void addedImagesFillTheGridInChooserOrder() {
        PictureFolder folder;
        Project project;
        testing::ScriptedFrontend frontend;
        testing::ScriptedDialogs dialogs;
        PictureStep step(project, frontend, dialogs);
        QVERIFY(!step.btnRemove->isEnabled());
        QVERIFY(!step.btnSort->isEnabled());

        dialogs.picturesToChoose.push_back(
            {folder.path("a.jpg"), folder.path("b.jpg"), folder.path("c.jpg")});
        step.addImages();
        QCOMPARE(step.FileInfo->rowCount(), 3);
        QCOMPARE(cell(step, 0, 0), QStringLiteral("b.jpg"));
        QCOMPARE(cell(step, 2, 0), QStringLiteral("a.jpg"));
        QCOMPARE(cell(step, 2, 1), QStringLiteral("30 X 20"));
        QCOMPARE(step.currentRow(), 3); // the last row is shown
        QCOMPARE(step.edtTitle->text(), QStringLiteral("a.jpg"));
        QVERIFY(step.btnUp->isEnabled());
        QVERIFY(!step.btnDown->isEnabled());
        QVERIFY(step.btnClear->isEnabled());
    }

    void editsLandInTheEntryTheyWereMadeFor() {
        PictureFolder folder;
        Project project;
        testing::ScriptedFrontend frontend;
        testing::ScriptedDialogs dialogs;
        PictureStep step(project, frontend, dialogs);
        dialogs.foldersToAdd.push_back(FolderToAdd{folder.dir.path().toStdString(), false});
        step.addFolderOfPictures();
        QCOMPARE(project.pictures().count(), 3);

        step.showEntry(3);
        step.edtTitle->setText(QStringLiteral("Sunset"));
        emit step.edtTitle->editingFinished();
        step.edtInfo->setText(QStringLiteral("Last light"));
        emit step.edtInfo->returnPressed(); // stores the info and wraps to row 1
        QCOMPARE(project.pictures().entry(3).title, std::string("Sunset"));
        QCOMPARE(project.pictures().entry(3).info, std::string("Last light"));
        QCOMPARE(step.currentRow(), 1);

        step.cmbRotate->setCurrentIndex(1);
        emit step.cmbRotate->activated(1);
        QCOMPARE(project.pictures().entry(1).rotate, 1);
    }

    void listCommandsKeepTheButtonsInStep() {
        PictureFolder folder;
        Project project;
        testing::ScriptedFrontend frontend;
        testing::ScriptedDialogs dialogs;
        PictureStep step(project, frontend, dialogs);
        dialogs.picturesToChoose.push_back({folder.path("a.jpg"), folder.path("b.jpg")});
        step.addImages(); // b, a
        step.moveUp();
        QCOMPARE(cell(step, 0, 0), QStringLiteral("a.jpg"));
        QCOMPARE(step.currentRow(), 1);
        QVERIFY(!step.btnUp->isEnabled());

        step.removeSelected();
        QCOMPARE(step.FileInfo->rowCount(), 1);
        QCOMPARE(step.lblCount->text(), QStringLiteral("1 pictures in list."));
        QVERIFY(!step.btnUp->isEnabled() && !step.btnDown->isEnabled());

        frontend.answerNext(false);
        step.clearAll();
        QCOMPARE(project.pictures().count(), 1);
        frontend.answerNext(true);
        step.clearAll();
        QCOMPARE(frontend.questions.back(),
                 std::string("Do you really want to clear all pictures ?"));
        QCOMPARE(step.FileInfo->rowCount(), 1); // one blank row remains
        QCOMPARE(step.lblCount->text(), QStringLiteral("0 pictures in list."));
        QVERIFY(!step.btnRemove->isEnabled());
        QVERIFY(step.imgPreview->isHidden());
    }

    void unreadablePictureIsReportedAndPassedOver() {
        PictureFolder folder;
        Project project;
        testing::ScriptedFrontend frontend;
        testing::ScriptedDialogs dialogs;
        PictureStep step(project, frontend, dialogs);
        writeFileAtomically(folder.path("broken.jpg"), std::vector<std::uint8_t>{1, 2, 3});
        dialogs.picturesToChoose.push_back({folder.path("a.jpg"), folder.path("broken.jpg")});
        step.addImages();
        QCOMPARE(project.pictures().count(), 1);
        QCOMPARE(project.pictures().entry(1).file, folder.path("a.jpg"));
        QCOMPARE(frontend.notices.size(), std::size_t{1});
    }

    // The grid and the preview show a sideways-stored photo as the camera held it while
    // AutoRotate is on, and as stored once it is turned off on the settings step.
    void cameraHeldPicturesStandUpInGridAndPreview() {
        QTemporaryDir dir;
        const std::string metadata = VELLUMAR_TEST_DATA_DIR "/readers/metadata/";
        const std::string photo = dir.path().toStdString() + "/held.png";
        const std::string described = dir.path().toStdString() + "/described.jpg";
        QVERIFY(QFile::copy(QString::fromStdString(metadata + "orientation-6.png"),
                            QString::fromStdString(photo)));
        QVERIFY(QFile::copy(QString::fromStdString(metadata + "photo.jpg"),
                            QString::fromStdString(described)));
        Project project;
        testing::ScriptedFrontend frontend;
        testing::ScriptedDialogs dialogs;
        PictureStep step(project, frontend, dialogs);
        dialogs.picturesToChoose.push_back({photo, described}); // described first
        step.addImages();
        step.show();

        QCOMPARE(cell(step, 1, 1), QStringLiteral("5 X 3"));
        step.showEntry(2);
        QCOMPARE(step.imgPreview->pixmap().size(), QSize(5, 3));

        step.hide();
        project.settings().AutoRotate = false;
        step.show();
        QCOMPARE(cell(step, 1, 1), QStringLiteral("3 X 5"));
        QCOMPARE(step.imgPreview->pixmap().size(), QSize(3, 5));

        step.takeTitlesFromFiles();
        QCOMPARE(project.pictures().entry(1).title, std::string("Sunset at the pier"));
        QCOMPARE(project.pictures().entry(2).title, std::string("held.png"));
        step.showEntry(1);
        QCOMPARE(step.edtInfo->text(), QStringLiteral("Gulls & <waves>"));
    }
};

QTEST_MAIN(PictureStepTest)
#include "picture_step_test.moc"
