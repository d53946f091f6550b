#include "picture_step.h"

#include <algorithm>
#include <cmath>

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "bitmap_image.h"
#include "frontend.h"
#include "imaging/gen_pic.h"
#include "imaging/keep_ratio_stretch.h"
#include "model/enums.h"
#include "model/file_info.h"
#include "model/load_picture.h"
#include "model/picture_adding.h"
#include "model/picture_editing.h"
#include "model/picture_sort.h"
#include "model/project.h"
#include "model/titles_from_metadata.h"
#include "pipeline/picture_render.h"
#include "project_error.h"
#include "qt_text.h"
#include "readers/reader_table.h"
#include "user_dialogs.h"

namespace vellumar {

namespace {

constexpr int kPreviewWidth = 211;
constexpr int kPreviewHeight = 150;

QString fromStd(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

PictureStep::PictureStep(Project& project, Frontend& frontend, UserDialogs& dialogs,
                         QWidget* parent)
    : QWidget(parent), m_project(project), m_frontend(frontend), m_dialogs(dialogs) {
    buildLayout();
    refill(0);
}

void PictureStep::buildLayout() {
    FileInfo = new QTableWidget(this);
    FileInfo->setObjectName(QStringLiteral("FileInfo"));
    FileInfo->setColumnCount(3);
    for (int column = 0; column < 3; ++column) {
        FileInfo->setHorizontalHeaderItem(
            column, new QTableWidgetItem(QString::fromLatin1(kFileInfoColumns[column].header)));
        FileInfo->setColumnWidth(column, kFileInfoColumns[column].width);
    }
    FileInfo->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    FileInfo->verticalHeader()->setDefaultSectionSize(20);
    FileInfo->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FileInfo->setSelectionBehavior(QAbstractItemView::SelectRows);
    FileInfo->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(FileInfo, &QTableWidget::currentCellChanged, this,
            [this](int row, int, int previousRow, int) {
                if (row != previousRow && row >= 0) {
                    showEntry(row + 1, false);
                }
            });
    // A click moves on to the title; Up and Down keep walking the grid.
    connect(FileInfo, &QTableWidget::cellClicked, this, [this] {
        if (m_shownRow > 0) {
            edtTitle->setFocus();
        }
    });

    btnAdd = new QToolButton(this);
    btnAdd->setText(tr("Add"));
    btnAdd->setPopupMode(QToolButton::InstantPopup);
    auto* addMenu = new QMenu(btnAdd);
    addMenu->addAction(tr("Images"), this, &PictureStep::addImages);
    addMenu->addAction(tr("Folder"), this, &PictureStep::addFolderOfPictures);
    addMenu->addSeparator();
    addMenu->addAction(tr("Titles from descriptions"), this, &PictureStep::takeTitlesFromFiles);
    btnAdd->setMenu(addMenu);

    btnRemove = new QPushButton(tr("Remove"), this);
    btnClear = new QPushButton(tr("Clear"), this);
    btnUp = new QPushButton(tr("Up"), this);
    btnDown = new QPushButton(tr("Down"), this);
    connect(btnRemove, &QPushButton::clicked, this, &PictureStep::removeSelected);
    connect(btnClear, &QPushButton::clicked, this, &PictureStep::clearAll);
    connect(btnUp, &QPushButton::clicked, this, &PictureStep::moveUp);
    connect(btnDown, &QPushButton::clicked, this, &PictureStep::moveDown);

    btnSort = new QToolButton(this);
    btnSort->setText(tr("Sort by"));
    btnSort->setPopupMode(QToolButton::InstantPopup);
    auto* sortMenu = new QMenu(btnSort);
    for (int choice = 0; choice < static_cast<int>(kSortChoices.size()); ++choice) {
        sortMenu->addAction(QString::fromLatin1(kSortChoices[choice].item), this,
                            [this, choice] { sortBy(choice); });
    }
    btnSort->setMenu(sortMenu);

    edtTitle = new QLineEdit(this);
    edtInfo = new QLineEdit(this);
    cmbCrop = new QComboBox(this);
    addItems(cmbCrop, kCropAlignItems);
    cmbRotate = new QComboBox(this);
    addItems(cmbRotate, kRotationItems);
    connect(edtTitle, &QLineEdit::editingFinished, this, &PictureStep::commitTitle);
    connect(edtInfo, &QLineEdit::editingFinished, this, &PictureStep::commitInfo);
    connect(edtInfo, &QLineEdit::returnPressed, this, &PictureStep::infoEntered);
    connect(cmbCrop, &QComboBox::activated, this, &PictureStep::commitCrop);
    connect(cmbRotate, &QComboBox::activated, this, &PictureStep::commitRotate);

    cbPreview = new QCheckBox(tr("Preview"), this);
    cbPreview->setChecked(true);
    connect(cbPreview, &QCheckBox::toggled, this, &PictureStep::updatePreview);
    imgPreview = new QLabel(this);
    imgPreview->setFixedSize(kPreviewWidth, kPreviewHeight);
    imgPreview->setAlignment(Qt::AlignCenter);
    // The page keeps its size whether a preview is shown or not, so the editors stay put.
    QSizePolicy keepSize = imgPreview->sizePolicy();
    keepSize.setRetainSizeWhenHidden(true);
    imgPreview->setSizePolicy(keepSize);
    lblFileName = new QLabel(this);
    lblFileName->setMinimumHeight(lblFileName->fontMetrics().height()); // also while empty
    lblCount = new QLabel(this);

    auto* commands = new QHBoxLayout;
    for (QWidget* button : {static_cast<QWidget*>(btnAdd), static_cast<QWidget*>(btnRemove),
                            static_cast<QWidget*>(btnClear), static_cast<QWidget*>(btnUp),
                            static_cast<QWidget*>(btnDown), static_cast<QWidget*>(btnSort)}) {
        commands->addWidget(button);
    }
    commands->addStretch(1);
    commands->addWidget(lblCount);

    // The editors run below the grid, beside the preview: on a short screen the grid gives
    // up rows, and the title and info stay in view and wide.
    auto* editors = new QGridLayout;
    editors->addWidget(new QLabel(tr("Title:"), this), 0, 0);
    editors->addWidget(edtTitle, 0, 1);
    editors->addWidget(new QLabel(tr("Crop Alignment:"), this), 0, 2);
    editors->addWidget(cmbCrop, 0, 3);
    editors->addWidget(new QLabel(tr("Info:"), this), 1, 0);
    editors->addWidget(edtInfo, 1, 1);
    editors->addWidget(new QLabel(tr("Rotate:"), this), 1, 2);
    editors->addWidget(cmbRotate, 1, 3);
    editors->setColumnStretch(1, 1);

    auto* previewColumn = new QVBoxLayout;
    previewColumn->addWidget(cbPreview);
    previewColumn->addWidget(imgPreview);
    previewColumn->addWidget(lblFileName);
    previewColumn->addStretch(1);

    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(FileInfo, 1);
    listColumn->addLayout(editors);

    auto* body = new QHBoxLayout;
    body->addLayout(listColumn, 1);
    body->addLayout(previewColumn);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(commands);
    layout->addLayout(body, 1);
}

template <typename Command>
void PictureStep::guarded(Command&& command) {
    try {
        command();
    } catch (const ProjectError& error) {
        m_frontend.notice(error.what());
    }
}

void PictureStep::refill(int selectRow) {
    const PictureList& list = m_project.pictures();
    const std::vector<FileInfoRow> rows = list.gridRows();
    const QSignalBlocker blocker(FileInfo);
    FileInfo->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const FileInfoRow& row = rows[static_cast<std::size_t>(r)];
        FileInfo->setItem(r, 0, new QTableWidgetItem(fromStd(row.fileName)));
        FileInfo->setItem(r, 1, new QTableWidgetItem(fromStd(row.pictureSize)));
        FileInfo->setItem(r, 2, new QTableWidgetItem(fromStd(row.fileSize)));
    }
    fitColumns();
    lblCount->setText(fromStd(list.countText()));
    m_shownRow = 0;
    if (selectRow >= 1 && selectRow <= list.count()) {
        FileInfo->setCurrentCell(selectRow - 1, 0);
        showEntry(selectRow);
    } else {
        clearEditors();
    }
    updateButtons();
}

void PictureStep::fitColumns() {
    QHeaderView* header = FileInfo->horizontalHeader();
    const QAbstractItemView* view = FileInfo;
    int columnsWidth = 0;
    for (int column = 0; column < FileInfo->columnCount(); ++column) {
        const int width = std::max({kFileInfoColumns[column].width, header->sectionSizeHint(column),
                                    view->sizeHintForColumn(column)});
        if (column > 0) {
            FileInfo->setColumnWidth(column, width);
        }
        // File names may be long: they get at least their own room and the rest of the width.
        columnsWidth += column == 0 ? kFileInfoColumns[column].width : width;
    }
    const int chrome = 2 * FileInfo->frameWidth() + FileInfo->verticalHeader()->sizeHint().width() +
                       FileInfo->verticalScrollBar()->sizeHint().width();
    FileInfo->setMinimumWidth(columnsWidth + chrome);
}

void PictureStep::showEntry(int row, bool focusTitle) {
    const PictureList& list = m_project.pictures();
    if (row < 1 || row > list.count()) {
        m_shownRow = 0;
        imgPreview->hide();
        updateButtons();
        return;
    }
    m_shownRow = row;
    {
        const QSignalBlocker blocker(FileInfo);
        FileInfo->selectRow(row - 1);
    }
    const TImgEntry& entry = list.entry(row);
    edtTitle->setText(fromStd(entry.title));
    edtInfo->setText(fromStd(entry.info));
    cmbCrop->setCurrentIndex(std::clamp(static_cast<int>(entry.crop), 0, 3));
    cmbRotate->setCurrentIndex(std::clamp(entry.rotate, 0, 3));
    lblFileName->setText(fromStd(list.row(row).fileName));
    updatePreview();
    updateButtons();
    if (focusTitle && isVisible()) {
        edtTitle->setFocus();
    }
}

void PictureStep::updatePreview() {
    if (!cbPreview->isChecked() || m_shownRow == 0) {
        imgPreview->hide();
        return;
    }
    TImgEntry entry = m_project.pictures().entry(m_shownRow);
    try {
        const Bitmap picture =
            LoadPicture(entry, pictureFormats(), m_project.settings().AutoRotate);
        const PictureBox ownSize{
            .width = picture.width(), .height = picture.height(), .keepRatio = true};
        const Bitmap turned = GenPic(picture, ownSize, entry.crop, entry.rotate);
        // As many pixels as the screen shows there, so the preview is sharp on dense screens.
        const qreal ratio = imgPreview->devicePixelRatioF();
        const Bitmap shown =
            KeepRatioStretch(static_cast<int>(std::lround(kPreviewWidth * ratio)),
                             static_cast<int>(std::lround(kPreviewHeight * ratio)), true, turned);
        imgPreview->setPixmap(pixmapAtRatio(shown, ratio));
        imgPreview->show();
    } catch (const ProjectError& error) {
        imgPreview->hide();
        emit statusChanged(QString::fromUtf8(error.what()));
    }
}

void PictureStep::clearEditors() {
    edtTitle->clear();
    edtInfo->clear();
    cmbCrop->setCurrentIndex(0);
    cmbRotate->setCurrentIndex(0);
    lblFileName->clear();
    imgPreview->hide();
}

void PictureStep::keyPressEvent(QKeyEvent* event) {
    // Enter in the editors belongs to the list (in the info it moves to the next picture),
    // not to the window's Next button.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (edtTitle->hasFocus() || edtInfo->hasFocus())) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void PictureStep::setLocked(bool locked) {
    m_locked = locked;
    for (QWidget* editor : {static_cast<QWidget*>(btnAdd), static_cast<QWidget*>(edtTitle),
                            static_cast<QWidget*>(edtInfo), static_cast<QWidget*>(cmbCrop),
                            static_cast<QWidget*>(cmbRotate)}) {
        editor->setEnabled(!locked);
    }
    updateButtons();
}

void PictureStep::updateButtons() {
    const int count = m_project.pictures().count();
    const bool editable = !m_locked;
    btnUp->setEnabled(editable && m_shownRow > 1);
    btnDown->setEnabled(editable && m_shownRow >= 1 && m_shownRow < count);
    btnRemove->setEnabled(editable && count >= 1);
    btnClear->setEnabled(editable && count >= 1);
    btnSort->setEnabled(editable && count >= 1);
}

void PictureStep::commitTitle() {
    if (m_shownRow > 0) {
        m_project.pictures().entry(m_shownRow).title = edtTitle->text().toStdString();
    }
}

void PictureStep::commitInfo() {
    if (m_shownRow > 0) {
        m_project.pictures().entry(m_shownRow).info = edtInfo->text().toStdString();
    }
}

void PictureStep::commitCrop() {
    if (m_shownRow > 0) {
        m_project.pictures().entry(m_shownRow).crop =
            static_cast<CropAlign>(cmbCrop->currentIndex());
        updatePreview();
    }
}

void PictureStep::commitRotate() {
    if (m_shownRow > 0) {
        m_project.pictures().entry(m_shownRow).rotate = cmbRotate->currentIndex();
        updatePreview();
    }
}

void PictureStep::infoEntered() {
    commitInfo();
    const int count = m_project.pictures().count();
    if (count > 0) {
        const int next = m_shownRow >= count ? 1 : m_shownRow + 1;
        FileInfo->setCurrentCell(next - 1, 0);
        showEntry(next);
        edtTitle->setFocus();
    }
}

void PictureStep::addImages() {
    const std::vector<std::string> paths =
        m_dialogs.choosePictures(pictureFormats().dialogFilter());
    if (paths.empty()) {
        return;
    }
    guarded([&] { addChosenFiles(m_project.pictures(), paths, m_frontend, pictureFormats()); });
    refill(m_project.pictures().count());
}

void PictureStep::addFolderOfPictures() {
    const std::optional<FolderToAdd> choice = m_dialogs.chooseFolderToAdd();
    if (!choice) {
        return;
    }
    guarded([&] {
        addFolder(m_project.pictures(), choice->folder, choice->withSubfolders, m_frontend,
                  pictureFormats());
    });
    refill(m_project.pictures().count());
    emit statusChanged(QString::number(m_project.pictures().count()) + tr(" pictures loaded"));
}

void PictureStep::takeTitlesFromFiles() {
    const int changed = titlesFromMetadata(m_project.pictures(), pictureFormats());
    refill(m_shownRow);
    emit statusChanged(QString::number(changed) + tr(" pictures described"));
}

void PictureStep::showEvent(QShowEvent* event) {
    // The sizes follow the AutoRotate setting, which the settings step may have changed.
    PictureList& list = m_project.pictures();
    if (list.sizesAsCameraHeld() != m_project.settings().AutoRotate) {
        list.setSizesAsCameraHeld(m_project.settings().AutoRotate);
        guarded([&] { ReloadFileInfo(list, pictureFormats()); });
        refill(m_shownRow);
    }
    QWidget::showEvent(event);
}

void PictureStep::removeSelected() {
    if (m_shownRow > 0) {
        refill(removePicture(m_project.pictures(), m_shownRow));
    }
}

void PictureStep::clearAll() {
    if (clearPictures(m_project.pictures(), m_frontend)) {
        refill(0);
    }
}

void PictureStep::moveUp() {
    refill(movePictureUp(m_project.pictures(), m_shownRow));
}

void PictureStep::moveDown() {
    refill(movePictureDown(m_project.pictures(), m_shownRow));
}

void PictureStep::sortBy(int choice) {
    const SortChoice& sort = kSortChoices[static_cast<std::size_t>(choice)];
    guarded([&] {
        sortPictures(m_project.pictures(), sort.key, sort.direction, pictureFormats());
        refill(1);
    });
}

} // namespace vellumar
