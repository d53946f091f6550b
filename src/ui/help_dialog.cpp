#include "help_dialog.h"

#include <QEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "user_dialogs.h"

namespace vellumar {

TfrmHelp::TfrmHelp(UserDialogs& dialogs, QWidget* parent) : QDialog(parent), m_dialogs(dialogs) {
    setWindowTitle(tr("Help"));
    setModal(false);
    resize(460, 380);

    memoHelp = new QPlainTextEdit(this);
    memoHelp->setObjectName(QStringLiteral("memoHelp"));
    memoHelp->setReadOnly(true);
    memoHelp->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    btnClose = new QPushButton(tr("Close"), this);
    btnExtHelp = new QPushButton(tr("Extensive help"), this);
    lblFileName = new QLabel(this);
    lblExtHelp = new QLabel(this);
    lblFileName->hide();
    lblExtHelp->hide();

    connect(btnClose, &QPushButton::clicked, this, &QDialog::close);
    connect(btnExtHelp, &QPushButton::clicked, this,
            [this] { m_dialogs.openExternally(lblExtHelp->text().toStdString()); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnExtHelp);
    buttons->addStretch(1);
    buttons->addWidget(btnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(memoHelp, 1);
    layout->addLayout(buttons);
}

void TfrmHelp::setFiles(const QString& stepHelpFile, const QString& manualFile) {
    lblFileName->setText(stepHelpFile);
    lblExtHelp->setText(manualFile);
}

void TfrmHelp::reloadText() {
    QFile file(lblFileName->text());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        QMessageBox::warning(
            this, windowTitle(),
            tr("Cannot open file %1: %2").arg(file.fileName(), file.errorString()));
        return;
    }
    memoHelp->setPlainText(QString::fromUtf8(file.readAll()));
}

bool TfrmHelp::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        reloadText();
    }
    return QDialog::event(event);
}

} // namespace vellumar
