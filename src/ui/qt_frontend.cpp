#include "qt_frontend.h"

#include <QApplication>
#include <QMessageBox>

namespace vellumar {

void QtFrontend::status(const std::string& text) {
    if (m_status) {
        m_status(QString::fromStdString(text));
    }
}

void QtFrontend::progress(int percent) {
    if (m_progress) {
        m_progress(percent);
    }
}

void QtFrontend::notice(const std::string& text) {
    QMessageBox::information(m_parent, QApplication::applicationDisplayName(),
                             QString::fromStdString(text));
}

bool QtFrontend::question(const std::string& text) {
    return QMessageBox::question(m_parent, QApplication::applicationDisplayName(),
                                 QString::fromStdString(text),
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void QtFrontend::processEvents() {
    QApplication::processEvents();
}

} // namespace vellumar
