// The wizard used from the keyboard: Enter, the shortcuts, the mnemonics and the grid.

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

#include "help_dialog.h"
#include "picture_step.h"
#include "scripted_dialogs.h"
#include "support/scripted_frontend.h"
#include "wizard_fixture.h"
#include "wizard_pages.h"

using namespace vellumar;

namespace {

// A shown, active window, as shortcuts only reach the active one.
struct ActiveWizard {
    ActiveWizard() : window(folder.path(), frontend, dialogs) {
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }
    testing::ProgramFolder folder;
    testing::ScriptedFrontend frontend;
    testing::ScriptedDialogs dialogs;
    TfrmMain window;
};

} // namespace

class KeyboardTest : public QObject {
    Q_OBJECT
private slots:
    void enterMeansNextUnlessAButtonHasTheFocus() {
        ActiveWizard wizard;
        TfrmMain& window = wizard.window;
        QVERIFY(window.btnNext->isDefault());
        window.btnNext->setFocus();
        QTest::keyClick(window.btnNext, Qt::Key_Return);
        QCOMPARE(window.steps().step(), WizardStep::Pictures);

        window.showStep(WizardStep::Project);
        window.TabProject->rbNew->setFocus();
        QTest::keyClick(window.TabProject->rbNew, Qt::Key_Enter);
        QCOMPARE(window.steps().step(), WizardStep::Pictures);

        window.btnPrev->setFocus();
        QTest::keyClick(window.btnPrev, Qt::Key_Return);
        QCOMPARE(window.steps().step(), WizardStep::Project);
    }

    void shortcutsRunTheFileCommandsAndTheStepHelp() {
        ActiveWizard wizard;
        TfrmMain& window = wizard.window;
        const std::string project = testing::writeProject(wizard.folder.dir.path());
        wizard.dialogs.projectFilesToOpen.push_back(project);
        QTest::keyClick(&window, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(window.windowTitle(), QStringLiteral("Vellumar - album.vlm"));
        QCOMPARE(window.steps().step(), WizardStep::Pictures);

        QTest::keyClick(&window, Qt::Key_F1);
        QTRY_VERIFY(window.frmHelp->isVisible()); // the Help button is pressed as by a click
        QVERIFY(window.frmHelp->lblFileName->text().endsWith(QStringLiteral("/help1.txt")));
        window.frmHelp->close();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));

        QTest::keyClick(&window, Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(window.windowTitle(), QStringLiteral("Vellumar - Untitled"));
        wizard.dialogs.projectFilesToSave = {std::nullopt, std::nullopt};
        QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);
        QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(wizard.dialogs.savePresets, (std::vector<std::string>{"Untitled.vlm", "*.vlm"}));

        QTest::keyClick(&window, Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(!window.isVisible());
    }

    void everyMenuItemHasItsOwnMnemonic() {
        ActiveWizard wizard;
        const QList<QAction*> menus = wizard.window.menuBar()->actions();
        QVERIFY(!menus.isEmpty());
        const auto mnemonicOf = [](const QAction* action) {
            const QString text = action->text();
            const qsizetype marker = text.indexOf(QLatin1Char('&'));
            return marker < 0 ? QChar() : text.at(marker + 1).toLower();
        };
        QSet<QChar> menuKeys;
        for (const QAction* menu : menus) {
            QVERIFY2(!mnemonicOf(menu).isNull(), qPrintable(menu->text()));
            menuKeys.insert(mnemonicOf(menu));
            QSet<QChar> itemKeys;
            for (const QAction* item : menu->menu()->actions()) {
                if (item->isSeparator()) {
                    continue;
                }
                QVERIFY2(!mnemonicOf(item).isNull(), qPrintable(item->text()));
                QVERIFY2(!itemKeys.contains(mnemonicOf(item)), qPrintable(item->text()));
                itemKeys.insert(mnemonicOf(item));
            }
        }
        QCOMPARE(menuKeys.size(), menus.size());
    }

    void upAndDownWalkTheGridAndEnterInTheInfoMovesOn() {
        ActiveWizard wizard;
        TfrmMain& window = wizard.window;
        wizard.dialogs.picturesToChoose.push_back(wizard.folder.writePictures(3));
        window.TabPic->addImages();
        window.showStep(WizardStep::Pictures);
        PictureStep& pictures = *window.TabPic;

        const QRect firstRow =
            pictures.FileInfo->visualRect(pictures.FileInfo->model()->index(0, 0));
        QTest::mouseClick(pictures.FileInfo->viewport(), Qt::LeftButton, {}, firstRow.center());
        QCOMPARE(pictures.currentRow(), 1);
        QVERIFY(pictures.edtTitle->hasFocus()); // a click moves on to the title

        pictures.FileInfo->setFocus();
        QTest::keyClick(pictures.FileInfo, Qt::Key_Down);
        QTest::keyClick(pictures.FileInfo, Qt::Key_Down);
        QCOMPARE(pictures.currentRow(), 3);
        QCOMPARE(pictures.edtTitle->text(),
                 QString::fromStdString(window.project().pictures().entry(3).title));
        QTest::keyClick(pictures.FileInfo, Qt::Key_Up);
        QCOMPARE(pictures.currentRow(), 2);
        QVERIFY(pictures.FileInfo->hasFocus());

        pictures.edtInfo->setFocus();
        QTest::keyClicks(pictures.edtInfo, QStringLiteral("at the lake"));
        QTest::keyClick(pictures.edtInfo, Qt::Key_Return);
        QCOMPARE(pictures.currentRow(), 3);
        QCOMPARE(window.project().pictures().entry(2).info, std::string("at the lake"));
        QCOMPARE(window.steps().step(), WizardStep::Pictures); // Enter stayed in the list
    }
};

QTEST_MAIN(KeyboardTest)
#include "keyboard_test.moc"
