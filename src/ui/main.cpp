#include <cstdio>

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include "main_window.h"
#include "program_folder.h"
#include "qt_frontend.h"
#include "qt_user_dialogs.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vellumar"));
    QApplication::setApplicationDisplayName(QStringLiteral("Vellumar"));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.vellumar.Vellumar"));

    // Qt has taken its own options; what is left is at most the project to open.
    const QStringList arguments = QApplication::arguments().mid(1);
    if (arguments.size() > 1 || (!arguments.isEmpty() && arguments.front().startsWith('-'))) {
        std::fputs("Usage: vellumar [PROJECT.vlm]\n", stderr);
        return 2;
    }

    vellumar::QtFrontend frontend;
    vellumar::QtUserDialogs dialogs;
    vellumar::TfrmMain window(vellumar::programFolder(), frontend, dialogs);
    frontend.setParentWindow(&window);
    dialogs.setParentWindow(&window);
    frontend.setStatusSink([&window](const QString& text) { window.showCoreStatus(text); });
    frontend.setProgressSink([&window](int percent) { window.showCoreProgress(percent); });
    window.show();
    if (!arguments.isEmpty()) {
        // Opened once the window is up, so that its messages have a window to belong to.
        const std::string project =
            QFile::encodeName(QFileInfo(arguments.front()).absoluteFilePath()).toStdString();
        QTimer::singleShot(0, &window, [&window, project] { window.openProjectFrom(project); });
    }
    return QApplication::exec();
}
