#include "nav_link_dialog.h"

#include <array>
#include <utility>

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "bitmap_image.h"
#include "frontend.h"
#include "project_error.h"
#include "qt_text.h"
#include "readers/picture_loader.h"
#include "readers/reader_table.h"
#include "user_dialogs.h"

namespace vellumar {

namespace {

constexpr int kImageWidth = 160;
constexpr int kImageHeight = 90;
constexpr int kListWidth = 130;

std::size_t indexOf(NavLinkKind kind) {
    return static_cast<std::size_t>(kind);
}

} // namespace

TfrmNavLinkOpt::TfrmNavLinkOpt(std::string programFolder, Frontend& frontend, UserDialogs& dialogs,
                               QWidget* parent)
    : QDialog(parent), m_chooserFolder(std::move(programFolder) + "button/"), m_frontend(frontend),
      m_dialogs(dialogs) {
    setWindowTitle(tr("Navigation link option"));
    setModal(true);

    cbList = new QListWidget(this);
    cbList->setObjectName(QStringLiteral("cbList"));
    cbList->setFixedWidth(kListWidth);
    for (const char* name : {QT_TR_NOOP("Home"), QT_TR_NOOP("Index"), QT_TR_NOOP("First"),
                             QT_TR_NOOP("Previous"), QT_TR_NOOP("Next"), QT_TR_NOOP("Last")}) {
        auto* item = new QListWidgetItem(tr(name), cbList);
        item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    edtText = new QLineEdit(this);
    edtText->setObjectName(QStringLiteral("edtText"));
    lblLink = new QLabel(tr("Link to:"), this);
    edtLink = new QLineEdit(this);
    edtLink->setObjectName(QStringLiteral("edtLink"));
    lblTarget = new QLabel(tr("Target"), this);
    cmbTarget = new QComboBox(this);
    cmbTarget->setObjectName(QStringLiteral("cmbTarget"));
    for (const NavTarget& target : kNavTargets) {
        cmbTarget->addItem(fromView(target.item));
    }
    // Nothing is shown until a set with a target is opened, so an empty target stays empty.
    cmbTarget->setCurrentIndex(-1);
    edtImageFile = new QLineEdit(this);
    edtImageFile->setObjectName(QStringLiteral("edtImageFile"));
    edtImageFile->setReadOnly(true);
    btnImageFile = new QPushButton(tr("Browse . . ."), this);
    Image = new QLabel(this);
    Image->setObjectName(QStringLiteral("Image"));
    Image->setFixedSize(kImageWidth, kImageHeight);
    Image->setAlignment(Qt::AlignCenter);
    Image->setFrameShape(QFrame::StyledPanel);
    btnOK = new QPushButton(tr("OK"), this);
    btnOK->setDefault(true);
    btnCancel = new QPushButton(tr("Cancel"), this);

    connect(cbList, &QListWidget::currentRowChanged, this, [this] { showHighlighted(); });
    connect(cbList, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        const int row = cbList->row(item);
        m_working.ticked[static_cast<std::size_t>(row)] = item->checkState() == Qt::Checked;
        if (row == cbList->currentRow()) {
            showHighlighted();
        }
    });
    // Stored as typed, so the text counts however the dialog is left with OK.
    connect(edtText, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (TNavLink* link = highlightedLink()) {
            link->text = text.toStdString();
        }
    });
    connect(edtLink, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_working.homeUrl = text.toStdString(); });
    connect(cmbTarget, &QComboBox::activated, this,
            [this](int entry) { m_working.targetEntry = static_cast<std::size_t>(entry); });
    connect(btnImageFile, &QPushButton::clicked, this, &TfrmNavLinkOpt::chooseImage);
    connect(btnOK, &QPushButton::clicked, this, [this] {
        switchOffUnticked(m_working);
        accept();
    });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* image = new QHBoxLayout;
    image->addWidget(edtImageFile, 1);
    image->addWidget(btnImageFile);
    auto* details = new QVBoxLayout;
    details->addWidget(new QLabel(tr("Text Label:"), this));
    details->addWidget(edtText);
    details->addWidget(new QLabel(tr("Image:"), this));
    details->addLayout(image);
    details->addWidget(Image, 0, Qt::AlignHCenter);
    details->addWidget(lblLink);
    details->addWidget(edtLink);
    details->addWidget(lblTarget);
    details->addWidget(cmbTarget);
    details->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    auto* layout = new QGridLayout(this);
    layout->addWidget(cbList, 0, 0);
    layout->addLayout(details, 0, 1);
    layout->addLayout(buttons, 1, 0, 1, 2);
    layout->setColumnStretch(1, 1);
}

bool TfrmNavLinkOpt::editLinks(NavLinkSet& set, NavLinkSetKind kind,
                               const StyleLinkImages& styleImages) {
    m_kind = kind;
    const int shownTarget = cmbTarget->currentIndex();
    m_working = makeWorkingCopy(
        set, kind, styleImages,
        shownTarget < 0 ? std::nullopt : std::optional(static_cast<std::size_t>(shownTarget)));
    showWorkingCopy();
    if (exec() != QDialog::Accepted) {
        return false;
    }
    writeBack(m_working, kind, set);
    return true;
}

void TfrmNavLinkOpt::showWorkingCopy() {
    {
        const QSignalBlocker blocker(cbList);
        for (std::size_t i = 0; i < kNavLinkKindCount; ++i) {
            QListWidgetItem* item = cbList->item(static_cast<int>(i));
            item->setCheckState(m_working.ticked[i] ? Qt::Checked : Qt::Unchecked);
            const bool usable = setHasKind(m_kind, static_cast<NavLinkKind>(i));
            item->setFlags(usable ? item->flags() | Qt::ItemIsEnabled
                                  : item->flags() & ~Qt::ItemIsEnabled);
        }
        cbList->setCurrentRow(static_cast<int>(indexOf(NavLinkKind::First)));
    }
    edtLink->setText(QString::fromStdString(m_working.homeUrl));
    cmbTarget->setCurrentIndex(m_working.targetEntry ? static_cast<int>(*m_working.targetEntry)
                                                     : -1);
    showHighlighted();
}

TNavLink* TfrmNavLinkOpt::highlightedLink() {
    const int row = cbList->currentRow();
    if (row < 0) {
        return nullptr;
    }
    return &m_working.links[static_cast<std::size_t>(row)];
}

void TfrmNavLinkOpt::showHighlighted() {
    const bool home = cbList->currentRow() == static_cast<int>(indexOf(NavLinkKind::Home));
    const std::array<QWidget*, 4> homeOnly = {lblLink, edtLink, lblTarget, cmbTarget};
    for (QWidget* widget : homeOnly) {
        widget->setEnabled(home);
    }
    // An unticked item shows what ticking it would give: the style's image and default text
    // unless the user has changed them.
    const TNavLink* link = highlightedLink();
    if (!link) {
        return;
    }
    edtText->setText(QString::fromStdString(link->text));
    edtImageFile->setText(QString::fromStdString(link->file));
    // A link that is off only hints at its style image; an unreadable one is not worth a
    // message until the link is switched on.
    showImage(link->file, m_working.ticked[static_cast<std::size_t>(cbList->currentRow())]);
}

void TfrmNavLinkOpt::showImage(const std::string& file, bool reportFailure) {
    Image->clear();
    if (file.empty()) {
        return; // the style names no image for this kind
    }
    try {
        QPixmap picture = QPixmap::fromImage(toQImage(readPictureFile(file, pictureFormats())));
        const QSize room = Image->contentsRect().size();
        if (picture.width() > room.width() || picture.height() > room.height()) {
            picture = picture.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        }
        Image->setPixmap(picture);
    } catch (const ProjectError& error) {
        if (reportFailure) {
            m_frontend.notice(error.what());
        }
    }
}

void TfrmNavLinkOpt::chooseImage() {
    TNavLink* link = highlightedLink();
    if (!link) {
        return;
    }
    if (const auto chosen = m_dialogs.choosePictureIn(m_chooserFolder)) {
        link->file = *chosen;
        edtImageFile->setText(QString::fromStdString(*chosen));
        showImage(*chosen, true);
    }
}

} // namespace vellumar
