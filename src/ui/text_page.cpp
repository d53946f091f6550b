#include "text_page.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "model/settings_rules.h"

namespace vellumar {

TextPage::TextPage(const SettingsContext& context, QWidget* parent)
    : QWidget(parent), m_settings(context.settings) {
    auto* thumbnails = new QGroupBox(tr("Thumbnail pages"), this);
    edtPageTitle = new QLineEdit(thumbnails);
    connect(edtPageTitle, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_settings.PageTitle = text.toStdString(); });
    cbThumbShowTitle = flag(tr("Show title"), m_settings.ThumbShowTitle, thumbnails);
    cbThumbShowSize = flag(tr("Show size"), m_settings.ThumbShowSize, thumbnails);
    edtThumbALT = new QLineEdit(thumbnails);
    connect(edtThumbALT, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_settings.ThumbALT = text.toStdString(); });
    cbThumbInfo = new QCheckBox(tr("Picture info"), thumbnails);
    connect(cbThumbInfo, &QCheckBox::toggled, this, [this](bool on) {
        m_settings.ThumbInfoFromPicture = on;
        edtThumbALT->setEnabled(editabilityOf(m_settings).thumbALT);
    });
    auto* thumbnailLayout = new QGridLayout(thumbnails);
    thumbnailLayout->addWidget(new QLabel(tr("Page title:"), thumbnails), 0, 0);
    thumbnailLayout->addWidget(edtPageTitle, 0, 1, 1, 2);
    thumbnailLayout->addWidget(new QLabel(tr("Thumbnail titles:"), thumbnails), 1, 0);
    auto* titles = new QHBoxLayout;
    titles->addWidget(cbThumbShowTitle);
    titles->addWidget(cbThumbShowSize);
    titles->addStretch(1);
    thumbnailLayout->addLayout(titles, 1, 1, 1, 2);
    thumbnailLayout->addWidget(new QLabel(tr("Thumbnail ALT text:"), thumbnails), 2, 0);
    thumbnailLayout->addWidget(edtThumbALT, 2, 1);
    thumbnailLayout->addWidget(cbThumbInfo, 2, 2);
    thumbnailLayout->setColumnStretch(1, 1);

    auto* pictures = new QGroupBox(tr("Picture HTML pages"), this);
    cbPicPageShowTitle = flag(tr("Show title"), m_settings.PicPageShowTitle, pictures);
    cbPicPageShowIndex = flag(tr("Show picture index"), m_settings.PicPageShowIndex, pictures);
    auto* pictureLayout = new QGridLayout(pictures);
    pictureLayout->addWidget(new QLabel(tr("Page titles:"), pictures), 0, 0);
    pictureLayout->addWidget(cbPicPageShowTitle, 0, 1);
    pictureLayout->addWidget(cbPicPageShowIndex, 0, 2);
    pictureLayout->setColumnStretch(3, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(thumbnails);
    layout->addWidget(pictures);
    layout->addStretch(1);
    showSettings();
}

QCheckBox* TextPage::flag(const QString& caption, bool& setting, QWidget* parent) {
    auto* box = new QCheckBox(caption, parent);
    connect(box, &QCheckBox::toggled, this, [&setting](bool on) { setting = on; });
    return box;
}

void TextPage::showSettings() {
    // Each box writes back the value it is given, so no signal needs blocking here.
    edtPageTitle->setText(QString::fromStdString(m_settings.PageTitle));
    edtThumbALT->setText(QString::fromStdString(m_settings.ThumbALT));
    cbThumbShowTitle->setChecked(m_settings.ThumbShowTitle);
    cbThumbShowSize->setChecked(m_settings.ThumbShowSize);
    cbThumbInfo->setChecked(m_settings.ThumbInfoFromPicture);
    cbPicPageShowTitle->setChecked(m_settings.PicPageShowTitle);
    cbPicPageShowIndex->setChecked(m_settings.PicPageShowIndex);
    edtThumbALT->setEnabled(editabilityOf(m_settings).thumbALT);
}

} // namespace vellumar
