#include <functional>
#include <string>
#include <vector>

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "atomic_file.h"
#include "imaging/jpeg_writer.h"
#include "model/gallery_settings.h"
#include "model/style_defaults.h"
#include "nav_link_dialog.h"
#include "scripted_dialogs.h"
#include "support/scripted_frontend.h"
#include "support/test_pictures.h"

using namespace vellumar;

namespace {

// A program folder whose button folder holds the style's images, plus one picture of the
// user's own. The style names its Home image h.gif; it holds JPEG bytes, which the loader
// recognises whatever the extension says.
struct ProgramFolder {
    ProgramFolder() {
        QDir(dir.path()).mkpath(QStringLiteral("button"));
        for (const char* name :
             {"h.gif", "i.jpg", "f.jpg", "p.jpg", "n.jpg", "l.jpg", "mine.jpg"}) {
            writeFileAtomically(button(name),
                                encodeJpeg(testing::filledPicture(400, 30, {20, 90, 200})));
        }
        applyStyleDefaults("test",
                           {"<%default begin%>", "<%home pic=h.gif%>", "<%index pic=i.jpg%>",
                            "<%first pic=f.jpg%>", "<%prev pic=p.jpg%>", "<%next pic=n.jpg%>",
                            "<%last pic=l.jpg%>", "<%default end%>"},
                           path(), settings, styleImages);
    }
    std::string path() const { return dir.path().toStdString() + "/"; }
    std::string button(const std::string& name) const { return path() + "button/" + name; }

    QTemporaryDir dir;
    GallerySettings settings;
    StyleLinkImages styleImages;
};

struct Harness {
    ProgramFolder folder;
    testing::ScriptedFrontend frontend;
    testing::ScriptedDialogs dialogs;
    TfrmNavLinkOpt dialog{folder.path(), frontend, dialogs};

    // Opens the dialog on the set and runs the actions inside it; they end by leaving the
    // dialog. A check that fails half-way must not leave it open, so it is closed then.
    bool edit(NavLinkSet& set, NavLinkSetKind kind, const std::function<void()>& actions) {
        QTimer::singleShot(0, &dialog, [this, &actions] {
            actions();
            if (dialog.isVisible()) {
                dialog.reject();
            }
        });
        return dialog.editLinks(set, kind, folder.styleImages);
    }
    QListWidgetItem* item(NavLinkKind kind) const {
        return dialog.cbList->item(static_cast<int>(kind));
    }
    void highlight(NavLinkKind kind) { dialog.cbList->setCurrentRow(static_cast<int>(kind)); }
    void tick(NavLinkKind kind, bool on) {
        item(kind)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    }
    bool homeDetailsEnabled() const {
        return dialog.lblLink->isEnabled() && dialog.edtLink->isEnabled() &&
               dialog.lblTarget->isEnabled() && dialog.cmbTarget->isEnabled();
    }
    bool homeDetailsDisabled() const {
        return !dialog.lblLink->isEnabled() && !dialog.edtLink->isEnabled() &&
               !dialog.lblTarget->isEnabled() && !dialog.cmbTarget->isEnabled();
    }
};

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

class NavLinkDialogTest : public QObject {
    Q_OBJECT
private slots:
    void opensOnFirstWithTheIndexItemLockedForIndexPages() {
        Harness h;
        NavLinkSet& set = h.folder.settings.IdxNav;
        set.homeTarget = "_top";
        QCOMPARE(h.dialog.windowTitle(), QStringLiteral("Navigation link option"));
        h.edit(set, NavLinkSetKind::Index, [&] {
            QVERIFY(!(h.item(NavLinkKind::Index)->flags() & Qt::ItemIsEnabled));
            QCOMPARE(h.item(NavLinkKind::Index)->checkState(), Qt::Unchecked);
            QCOMPARE(h.item(NavLinkKind::Home)->checkState(), Qt::Unchecked);
            QCOMPARE(h.item(NavLinkKind::Last)->checkState(), Qt::Checked);
            QCOMPARE(h.dialog.cbList->currentRow(), static_cast<int>(NavLinkKind::First));
            QCOMPARE(h.dialog.edtText->text(), QStringLiteral("First page"));
            QCOMPARE(h.dialog.edtImageFile->text(), qs(h.folder.button("f.jpg")));
            QVERIFY(!h.dialog.Image->pixmap().isNull());
            QVERIFY(h.dialog.Image->pixmap().width() <= h.dialog.Image->width());
            QCOMPARE(h.dialog.cmbTarget->currentText(), QStringLiteral("Top window"));
            QVERIFY(h.homeDetailsDisabled());
            h.highlight(NavLinkKind::Home);
            QVERIFY(h.homeDetailsEnabled());
            h.highlight(NavLinkKind::Next);
            QVERIFY(h.homeDetailsDisabled());
            h.dialog.btnCancel->click();
        });

        // The same dialog reopened for picture pages offers the Index link.
        h.edit(h.folder.settings.PageNavLinks, NavLinkSetKind::Page, [&] {
            QVERIFY(h.item(NavLinkKind::Index)->flags() & Qt::ItemIsEnabled);
            h.highlight(NavLinkKind::Index);
            QCOMPARE(h.dialog.edtText->text(), QStringLiteral("Index page"));
            QCOMPARE(h.dialog.edtImageFile->text(), qs(h.folder.button("i.jpg")));
            h.dialog.btnCancel->click();
        });
        QVERIFY(h.frontend.notices.empty());
    }

    void okWritesTheEditedLinksBack() {
        Harness h;
        NavLinkSet& set = h.folder.settings.IdxNav;
        const NavLinkSet before = set;
        h.dialogs.picturesToChooseIn.push_back(h.folder.button("mine.jpg"));
        const bool accepted = h.edit(set, NavLinkSetKind::Index, [&] {
            // The style's "home pic" switched Home off; ticking it offers the style's image.
            h.highlight(NavLinkKind::Home);
            h.tick(NavLinkKind::Home, true);
            QCOMPARE(h.dialog.edtText->text(), QStringLiteral("Home page"));
            QCOMPARE(h.dialog.edtImageFile->text(), qs(h.folder.button("h.gif")));
            QVERIFY(!h.dialog.Image->pixmap().isNull());
            QTest::keyClicks(h.dialog.edtLink, QStringLiteral("http://example.org/"));
            h.dialog.cmbTarget->setCurrentIndex(1);
            emit h.dialog.cmbTarget->activated(1);

            h.tick(NavLinkKind::Previous, false);

            h.highlight(NavLinkKind::Next);
            h.dialog.btnImageFile->click();
            QCOMPARE(h.dialog.edtImageFile->text(), qs(h.folder.button("mine.jpg")));
            // Typed and then OK straight away, without leaving the field first.
            h.dialog.edtText->selectAll();
            QTest::keyClicks(h.dialog.edtText, QStringLiteral("Onward"));
            h.dialog.btnOK->click();
        });

        QVERIFY(accepted);
        QCOMPARE(set[NavLinkKind::Home], (TNavLink{h.folder.button("h.gif"), "Home page"}));
        QCOMPARE(set[NavLinkKind::Previous], (TNavLink{"not selected", "Previous page"}));
        QCOMPARE(set[NavLinkKind::Next], (TNavLink{h.folder.button("mine.jpg"), "Onward"}));
        QCOMPARE(set[NavLinkKind::First], before[NavLinkKind::First]);
        QCOMPARE(set[NavLinkKind::Last], before[NavLinkKind::Last]);
        QCOMPARE(set[NavLinkKind::Index], before[NavLinkKind::Index]);
        QCOMPARE(set.homeUrl, std::string("http://example.org/"));
        QCOMPARE(set.homeTarget, std::string("_self"));
        QCOMPARE(h.dialogs.pictureFolders, std::vector<std::string>{h.folder.path() + "button/"});
        QVERIFY(h.frontend.notices.empty());
    }

    void cancelAndTheCloseBoxWriteNothing() {
        Harness h;
        NavLinkSet& set = h.folder.settings.PageNavLinks;
        const NavLinkSet before = set;
        const auto editHome = [&] {
            h.highlight(NavLinkKind::Home);
            QCOMPARE(h.item(NavLinkKind::Home)->checkState(), Qt::Unchecked);
            QCOMPARE(h.dialog.edtText->text(), QStringLiteral("Home page"));
            h.tick(NavLinkKind::Home, true);
            h.dialog.edtText->selectAll();
            QTest::keyClicks(h.dialog.edtText, QStringLiteral("Back home"));
            QTest::keyClicks(h.dialog.edtLink, QStringLiteral("home.htm"));
            h.tick(NavLinkKind::Last, false);
        };
        QVERIFY(!h.edit(set, NavLinkSetKind::Page, [&] {
            editHome();
            h.dialog.btnCancel->click();
        }));
        QCOMPARE(set, before);

        // Each opening starts again from the set, so the cancelled edits are gone.
        QVERIFY(!h.edit(set, NavLinkSetKind::Page, [&] {
            QCOMPARE(h.dialog.edtLink->text(), QString());
            QCOMPARE(h.item(NavLinkKind::Last)->checkState(), Qt::Checked);
            editHome();
            h.dialog.close();
        }));
        QCOMPARE(set, before);
    }

    void anUnreadablePictureIsReportedAndTheDialogStaysOpen() {
        Harness h;
        NavLinkSet& set = h.folder.settings.PageNavLinks;
        set[NavLinkKind::First].file = h.folder.button("gone.jpg");
        const std::string broken = h.folder.button("broken.jpg");
        writeFileAtomically(broken, std::vector<std::uint8_t>{0xFF, 0xD8, 0xFF, 0x00});
        h.dialogs.picturesToChooseIn.push_back(broken);

        QVERIFY(h.edit(set, NavLinkSetKind::Page, [&] {
            QCOMPARE(h.frontend.notices.size(), std::size_t{1});
            QVERIFY(h.frontend.notices[0].find("gone.jpg") != std::string::npos);
            QVERIFY(h.dialog.Image->pixmap().isNull());
            QVERIFY(h.dialog.isVisible());

            h.highlight(NavLinkKind::Last);
            QVERIFY(!h.dialog.Image->pixmap().isNull());
            h.dialog.btnImageFile->click();
            QCOMPARE(h.frontend.notices.size(), std::size_t{2});
            QVERIFY(h.frontend.notices[1].find("broken.jpg") != std::string::npos);
            QVERIFY(h.dialog.Image->pixmap().isNull());
            QVERIFY(h.dialog.isVisible());
            h.dialog.btnOK->click();
        }));
        QCOMPARE(set[NavLinkKind::Last].file, broken);
    }
};

QTEST_MAIN(NavLinkDialogTest)
#include "nav_link_dialog_test.moc"
