#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "folders_page.h"
#include "model/gallery_settings.h"
#include "scripted_dialogs.h"

using namespace vellumar;

class FoldersPageTest : public QObject {
    Q_OBJECT
private slots:
    void destinationChoiceKeepsTheNameButLocksIt() {
        GallerySettings settings;
        testing::ScriptedDialogs dialogs;
        FoldersPage page(settings, dialogs);
        QVERIFY(page.PageSub->rbSub->isChecked());
        QVERIFY(page.PageSub->edtName->isEnabled());
        QCOMPARE(page.PageSub->edtName->text(), QStringLiteral("picpage"));

        page.PageSub->rbDest->setChecked(true);
        QVERIFY(settings.PageSub.useDestFolder);
        QCOMPARE(settings.PageSub.name, std::string("picpage"));
        QVERIFY(!page.PageSub->edtName->isEnabled());

        page.PageSub->rbSub->setChecked(true);
        QVERIFY(page.PageSub->edtName->isEnabled());
        QTest::keyClicks(page.PageSub->edtName, QStringLiteral("2"));
        QCOMPARE(settings.PageSub.name, std::string("picpage2"));
    }

    void overwriteModeFollowsTheRadioButtons() {
        GallerySettings settings;
        testing::ScriptedDialogs dialogs;
        FoldersPage page(settings, dialogs);
        QVERIFY(page.rbAsk->isChecked());
        page.rbOverwrite->setChecked(true);
        QCOMPARE(settings.Overwrite, OverwriteMode::Overwrite);
        page.rbAddOnly->setChecked(true);
        QCOMPARE(settings.Overwrite, OverwriteMode::AddOnly);
    }

    void browseFillsTheDestinationAndCancelKeepsWhatWasTyped() {
        GallerySettings settings;
        testing::ScriptedDialogs dialogs;
        FoldersPage page(settings, dialogs);
        QTest::keyClicks(page.edtDestFolder, QStringLiteral("/srv/typed"));
        dialogs.destinationFolders.push_back(std::nullopt);
        page.btnSelDest->click();
        QCOMPARE(settings.DestFolder, std::string("/srv/typed"));
        dialogs.destinationFolders.push_back(std::string("/srv/chosen"));
        page.btnSelDest->click();
        QCOMPARE(settings.DestFolder, std::string("/srv/chosen"));
        QCOMPARE(page.edtDestFolder->text(), QStringLiteral("/srv/chosen"));
    }

    void loadedSettingsAreShownAsTheyStand() {
        GallerySettings settings;
        testing::ScriptedDialogs dialogs;
        FoldersPage page(settings, dialogs);
        settings.DestFolder = "/srv/album";
        settings.ThumbSub = {true, "small"};
        settings.Overwrite = OverwriteMode::AddOnly;
        page.showSettings();
        QCOMPARE(page.edtDestFolder->text(), QStringLiteral("/srv/album"));
        QVERIFY(page.ThumbSub->rbDest->isChecked());
        QVERIFY(!page.ThumbSub->edtName->isEnabled());
        QCOMPARE(page.ThumbSub->edtName->text(), QStringLiteral("small"));
        QVERIFY(page.rbAddOnly->isChecked());
        QCOMPARE(settings.ThumbSub.name, std::string("small"));
    }
};

QTEST_MAIN(FoldersPageTest)
#include "folders_page_test.moc"
