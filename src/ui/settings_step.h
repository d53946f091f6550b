#pragma once

#include <string>
#include <vector>

#include <QWidget>

#include "settings_context.h"

class QTabWidget;

namespace vellumar {

class FoldersPage;
class LargePicturePage;
class PicturePagesPage;
class StylePage;
class TextPage;
class TfrmNavLinkOpt;
class ThumbnailPagesPage;

// Step 3: the gallery settings on six sub-pages.
class SettingsStep : public QWidget {
    Q_OBJECT
public:
    SettingsStep(const SettingsContext& context, const std::vector<std::string>& styles,
                 QWidget* parent = nullptr);

    // Shows the settings as they stand, after a project was loaded or a style applied: values
    // and enabled states only, no rule runs on them.
    void showSettings();

    // While locked, the sub-pages can be looked at but not changed.
    void setLocked(bool locked);

    // The two "Advanced" buttons: the link dialog on the index-page or the picture-page set.
    void btnIdxNavLinkClick();
    void btnPageNavLinkClick();

    QTabWidget* SettingPage = nullptr;
    FoldersPage* TabFolder = nullptr;
    StylePage* TabStyle = nullptr;
    LargePicturePage* TabLargePic = nullptr;
    ThumbnailPagesPage* TabThumbTable = nullptr;
    PicturePagesPage* TabPicPage = nullptr;
    TextPage* TabText = nullptr;
    TfrmNavLinkOpt* frmNavLinkOpt = nullptr;

private:
    SettingsContext m_context;
};

} // namespace vellumar
