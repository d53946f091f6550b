#include "about_dialog.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vellumar {

TfrmAbout::TfrmAbout(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("About"));
    setModal(true);

    auto* icon = new QLabel(this);
    icon->setPixmap(QApplication::windowIcon().pixmap(64, 64));
    icon->setAlignment(Qt::AlignCenter);
    auto* name = new QLabel(QString::fromLatin1(kProductName), this);
    QFont nameFont = name->font();
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.6);
    nameFont.setBold(true);
    name->setFont(nameFont);
    name->setAlignment(Qt::AlignCenter);
    auto* version = new QLabel(QString::fromLatin1(kVersionText), this);
    version->setAlignment(Qt::AlignCenter);

    OKButton = new QPushButton(tr("OK"), this);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(icon);
    layout->addWidget(name);
    layout->addWidget(version);
    layout->addWidget(OKButton, 0, Qt::AlignCenter);
}

} // namespace vellumar
