// The wizard on a screen of 1800 x 1000 pixels at a device pixel ratio of 2, that is 900 x 500
// logical pixels. The screen comes from scaled-screen.json, whose offscreen screen is given
// in logical pixels, as on platforms that scale themselves.

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

#include "artwork.h"
#include "picture_step.h"
#include "scripted_dialogs.h"
#include "settings_step.h"
#include "support/scripted_frontend.h"
#include "wizard_fixture.h"

using namespace vellumar;

class ScaledScreenTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QScreen* screen = QGuiApplication::primaryScreen();
        QCOMPARE(screen->devicePixelRatio(), 2.0);
        QCOMPARE(screen->geometry().size(), QSize(900, 500));
    }

    void everyStepFitsWithItsButtonsOnScreen() {
        testing::ProgramFolder folder;
        testing::ScriptedFrontend frontend;
        testing::ScriptedDialogs dialogs;
        TfrmMain window(folder.path(), frontend, dialogs);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QRect screen = window.screen()->availableGeometry();
        const QSize frame = window.frameGeometry().size() - window.geometry().size();
        QVERIFY2(window.minimumSizeHint().width() + frame.width() <= screen.width() &&
                     window.minimumSizeHint().height() + frame.height() <= screen.height(),
                 qPrintable(QStringLiteral("minimum %1 x %2")
                                .arg(window.minimumSizeHint().width())
                                .arg(window.minimumSizeHint().height())));
        QVERIFY(screen.contains(window.frameGeometry()));

        const auto onScreen = [&](QWidget* button) {
            const QRect global(button->mapToGlobal(QPoint(0, 0)), button->size());
            return button->isVisible() && screen.contains(global);
        };
        for (int step = 0; step < kStepCount; ++step) {
            window.showStep(static_cast<WizardStep>(step));
            for (int page = 0; page < (step == 2 ? kSettingsPageCount : 1); ++page) {
                window.TabSetting->SettingPage->setCurrentIndex(page);
                QApplication::processEvents();
                for (QPushButton* button :
                     {window.btnNext, window.btnPrev, window.btnExit, window.btnHelp}) {
                    QVERIFY2(onScreen(button), qPrintable(QStringLiteral("step %1, page %2: %3")
                                                              .arg(step)
                                                              .arg(page)
                                                              .arg(button->text())));
                }
            }
        }
    }

    // The picture step with pictures in its grid: the editors are whole and in view without
    // scrolling, and the grid's columns show their headers and numbers in full.
    void pictureStepShowsItsEditorsAndWholeColumns() {
        testing::ProgramFolder folder;
        testing::ScriptedFrontend frontend;
        testing::ScriptedDialogs dialogs;
        TfrmMain window(folder.path(), frontend, dialogs);
        dialogs.picturesToChoose.push_back(folder.writePictures(12));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.showStep(WizardStep::Pictures);
        window.TabPic->addImages();
        QApplication::processEvents();
        const QRect shown(window.mapToGlobal(QPoint(0, 0)), window.size());
        for (QWidget* editor : {static_cast<QWidget*>(window.TabPic->edtTitle),
                                static_cast<QWidget*>(window.TabPic->edtInfo),
                                static_cast<QWidget*>(window.TabPic->cmbCrop),
                                static_cast<QWidget*>(window.TabPic->cmbRotate)}) {
            const QRect global(editor->mapToGlobal(QPoint(0, 0)), editor->size());
            QVERIFY2(editor->isVisible() && shown.contains(global) &&
                         editor->visibleRegion().boundingRect() == editor->rect(),
                     editor->metaObject()->className());
        }
        QVERIFY(window.TabPic->edtTitle->width() >= 150);
        QTableWidget* grid = window.TabPic->FileInfo;
        for (int column = 1; column < grid->columnCount(); ++column) {
            const int needed =
                std::max(grid->horizontalHeader()->sectionSizeHint(column),
                         static_cast<QAbstractItemView*>(grid)->sizeHintForColumn(column));
            QVERIFY2(grid->columnWidth(column) >= needed, qPrintable(QString::number(column)));
        }
    }

    void picturesAreDrawnForThePixelRatio() {
        const QPixmap tab = stepTabPicture(QStringLiteral("1 Project"), true, 2.0);
        QCOMPARE(tab.devicePixelRatio(), 2.0);
        QCOMPARE(tab.size(), kStepTabSize * 2);
        QCOMPARE(tab.deviceIndependentSize().toSize(), kStepTabSize);

        testing::ProgramFolder folder;
        testing::ScriptedFrontend frontend;
        testing::ScriptedDialogs dialogs;
        TfrmMain window(folder.path(), frontend, dialogs);
        window.show();
        const QList<QLabel*> labels = window.findChildren<QLabel*>();
        const auto logo = std::find_if(labels.begin(), labels.end(),
                                       [](QLabel* label) { return !label->pixmap().isNull(); });
        QVERIFY(logo != labels.end());
        QCOMPARE((*logo)->pixmap().devicePixelRatio(), 2.0);
    }
};

QTEST_MAIN(ScaledScreenTest)
#include "scaled_screen_test.moc"
