#pragma once

#include <QWidget>

#include "settings_context.h"

class QCheckBox;
class QLineEdit;

namespace vellumar {

// The "Text" sub-page: the index pages' title, what a thumbnail shows and says, and the
// picture pages' titles.
class TextPage : public QWidget {
    Q_OBJECT
public:
    explicit TextPage(const SettingsContext& context, QWidget* parent = nullptr);

    void showSettings();

    QLineEdit* edtPageTitle = nullptr;
    QCheckBox* cbThumbShowTitle = nullptr;
    QCheckBox* cbThumbShowSize = nullptr;
    QLineEdit* edtThumbALT = nullptr;
    QCheckBox* cbThumbInfo = nullptr;
    QCheckBox* cbPicPageShowTitle = nullptr;
    QCheckBox* cbPicPageShowIndex = nullptr;

private:
    QCheckBox* flag(const QString& caption, bool& setting, QWidget* parent);

    GallerySettings& m_settings;
};

} // namespace vellumar
