#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "qt_user_dialogs.h"

using namespace vellumar;

namespace {

// Runs `act` on the modal dialog that the next call opens.
template <typename Dialog, typename Act>
void whenOpened(Act act) {
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        act(*dialog);
    });
}

} // namespace

class QtUserDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void aSavedProjectGetsTheProjectExtensionWhenTypedWithout() {
        QTemporaryDir folder;
        QtUserDialogs dialogs;
        const QString base = folder.path() + QStringLiteral("/");
        for (const auto& [typed, saved] :
             {std::pair{"p", "p.vlm"}, std::pair{"trip.vlm", "trip.vlm"},
              std::pair{"trip.2024", "trip.2024"}}) {
            whenOpened<QFileDialog>([&base, typed](QFileDialog& dialog) {
                dialog.selectFile(base + QString::fromLatin1(typed));
                static_cast<QDialog&>(dialog).accept(); // as the Save button does
            });
            const auto chosen = dialogs.saveProjectFile((base + "Untitled.vlm").toStdString());
            QVERIFY(chosen);
            QCOMPARE(QString::fromStdString(*chosen), base + QString::fromLatin1(saved));
        }
    }

    void theCloseQuestionTreatsEscapeAsCancel() {
        QtUserDialogs dialogs;
        whenOpened<QMessageBox>([](QMessageBox& box) {
            QCOMPARE(box.text(), QStringLiteral("Do you want to save project before exit ?"));
            QTest::keyClick(&box, Qt::Key_Escape);
        });
        QCOMPARE(dialogs.askYesNoCancel("Do you want to save project before exit ?"),
                 Answer::Cancel);
        whenOpened<QMessageBox>([](QMessageBox& box) { box.button(QMessageBox::No)->click(); });
        QCOMPARE(dialogs.askYesNoCancel("Do you want to save project before exit ?"), Answer::No);
    }

    void theOverwriteQuestionOffersAnswersToAll() {
        QtUserDialogs dialogs;
        QStringList buttons;
        whenOpened<QMessageBox>([&buttons](QMessageBox& box) {
            for (QAbstractButton* button : box.buttons()) {
                buttons << button->text().remove(QLatin1Char('&'));
            }
            box.button(QMessageBox::NoToAll)->click();
        });
        QCOMPARE(dialogs.askYesNoForAll("Overwrite existing file: /g/thumb/tn_1.jpg"),
                 Answer::NoToAll);
        buttons.sort();
        QCOMPARE(buttons, (QStringList{"No", "No to all", "Yes", "Yes to all"}));
    }
};

QTEST_MAIN(QtUserDialogsTest)
#include "qt_user_dialogs_test.moc"
