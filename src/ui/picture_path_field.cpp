#include "picture_path_field.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

#include "user_dialogs.h"

namespace vellumar {

PicturePathField::PicturePathField(std::string& setting, const std::string& programFolder,
                                   UserDialogs& dialogs, QWidget* parent)
    : QWidget(parent), m_setting(setting) {
    edit = new QLineEdit(this);
    chooser = new QPushButton(tr("..."), this);
    chooser->setFixedWidth(32);
    connect(edit, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_setting = text.toStdString(); });
    const std::string backgrounds = programFolder + "background/";
    connect(chooser, &QPushButton::clicked, this, [this, backgrounds, &dialogs] {
        if (const auto path = dialogs.choosePictureIn(backgrounds)) {
            m_setting = *path;
            showSetting();
        }
    });
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(edit, 1);
    layout->addWidget(chooser);
    showSetting();
}

void PicturePathField::showSetting() {
    edit->setText(QString::fromStdString(m_setting));
}

} // namespace vellumar
