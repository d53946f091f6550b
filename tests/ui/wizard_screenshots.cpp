// Walks the wizard through its five steps with the sample pictures loaded and saves a
// picture of the window at each step and each settings sub-page, so anyone can look at the
// screens without a display.
//   wizard_screenshots PROGRAM_FOLDER OUTPUT_FOLDER

#include <iostream>

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTabWidget>
#include <QTimer>

#include "main_window.h"
#include "nav_link_dialog.h"
#include "picture_step.h"
#include "scripted_dialogs.h"
#include "settings_step.h"
#include "support/scripted_frontend.h"

using namespace vellumar;

namespace {

bool save(QWidget& widget, const QDir& output, const QString& name) {
    QApplication::processEvents();
    const QString file = output.filePath(name + ".png");
    if (!widget.grab().save(file)) {
        std::cerr << "cannot write " << file.toStdString() << '\n';
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 3) {
        std::cerr << "usage: wizard_screenshots PROGRAM_FOLDER OUTPUT_FOLDER\n";
        return 2;
    }
    const QString programFolder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath() + "/";
    const QDir output(QString::fromLocal8Bit(argv[2]));
    QDir().mkpath(output.path());

    testing::ScriptedFrontend frontend;
    testing::ScriptedDialogs dialogs;
    TfrmMain window(programFolder.toStdString(), frontend, dialogs);
    window.show();
    dialogs.foldersToAdd.push_back(FolderToAdd{(programFolder + "samples").toStdString(), false});
    window.TabPic->addFolderOfPictures();
    window.TabPic->showEntry(1);
    window.project().settings().DestFolder = QDir::tempPath().toStdString() + "/gallery";
    window.TabSetting->showSettings();

    const char* names[] = {"1-project", "2-pictures", "3-settings", "4-build", "5-finish"};
    for (int step = 0; step < kStepCount; ++step) {
        window.showStep(static_cast<WizardStep>(step));
        if (!save(window, output, QString::fromLatin1(names[step]))) {
            return 1;
        }
    }
    window.showStep(WizardStep::Settings);
    for (int page = 0; page < window.TabSetting->SettingPage->count(); ++page) {
        window.TabSetting->SettingPage->setCurrentIndex(page);
        if (!save(window, output, QStringLiteral("3-settings-%1").arg(page + 1))) {
            return 1;
        }
    }

    // The link dialog is modal: it is photographed from inside its own event loop.
    bool saved = false;
    TfrmNavLinkOpt& links = *window.TabSetting->frmNavLinkOpt;
    QTimer::singleShot(0, &links, [&] {
        saved = save(links, output, QStringLiteral("3-settings-navigation-links"));
        links.reject();
    });
    window.TabSetting->btnIdxNavLinkClick();
    if (!saved) {
        return 1;
    }
    std::cout << output.absolutePath().toStdString() << '\n';
    return 0;
}
