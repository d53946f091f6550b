#include <QApplication>

#include "main_window.h"
#include "program_folder.h"
#include "qt_frontend.h"
#include "qt_user_dialogs.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vellumar"));
    QApplication::setApplicationDisplayName(QStringLiteral("Vellumar"));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.vellumar.Vellumar"));

    vellumar::QtFrontend frontend;
    vellumar::QtUserDialogs dialogs;
    vellumar::TfrmMain window(vellumar::programFolder(), frontend, dialogs);
    frontend.setParentWindow(&window);
    dialogs.setParentWindow(&window);
    frontend.setStatusSink([&window](const QString& text) { window.showCoreStatus(text); });
    frontend.setProgressSink([&window](int percent) { window.showCoreProgress(percent); });
    window.show();
    return QApplication::exec();
}
