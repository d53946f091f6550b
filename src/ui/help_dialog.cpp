#include "help_dialog.h"

#include <QEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

#include "user_dialogs.h"

namespace vellumar {

TfrmHelp::TfrmHelp(UserDialogs& dialogs, QWidget* parent) : QDialog(parent), m_dialogs(dialogs) {
    setWindowTitle(tr("Help"));
    setModal(false);
    resize(460, 380);

    memoHelp = new QTextEdit(this);
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
    showText(QString::fromUtf8(file.readAll()));
}

void TfrmHelp::showText(const QString& text) {
    memoHelp->clear();
    QTextCursor cursor(memoHelp->document());
    const qreal spaceWidth = memoHelp->fontMetrics().horizontalAdvance(QLatin1Char(' '));
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype n = 0; n < lines.size(); ++n) {
        QString line = lines[n];
        line.remove(QLatin1Char('\r'));
        qsizetype indent = 0;
        while (indent < line.size() && line[indent] == QLatin1Char(' ')) {
            ++indent;
        }
        QTextBlockFormat paragraph;
        paragraph.setLeftMargin(static_cast<qreal>(indent) * spaceWidth);
        if (n == 0) {
            cursor.setBlockFormat(paragraph);
        } else {
            cursor.insertBlock(paragraph);
        }
        cursor.insertText(line.mid(indent));
    }
}

bool TfrmHelp::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        reloadText();
    }
    return QDialog::event(event);
}

} // namespace vellumar
