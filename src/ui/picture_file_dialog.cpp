#include "picture_file_dialog.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>

#include "bitmap_image.h"
#include "project_error.h"
#include "readers/picture_loader.h"
#include "readers/reader_table.h"

namespace vellumar {

namespace {

constexpr int kPreviewSize = 180;

} // namespace

PictureFileDialog::PictureFileDialog(QWidget* parent, const QString& folder, const QString& filter)
    : QFileDialog(parent, tr("Add pictures"), folder, filter), m_preview(new QLabel(this)) {
    // The preview needs a dialog whose layout we can extend.
    setOption(QFileDialog::DontUseNativeDialog);
    setFileMode(QFileDialog::ExistingFiles);
    setAcceptMode(QFileDialog::AcceptOpen);

    m_preview->setFixedSize(kPreviewSize, kPreviewSize);
    m_preview->setAlignment(Qt::AlignCenter);
    m_preview->setFrameShape(QFrame::StyledPanel);
    if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
        grid->addWidget(m_preview, 1, grid->columnCount(), Qt::AlignTop);
    }
    connect(this, &QFileDialog::currentChanged, this, &PictureFileDialog::showPreview);
}

void PictureFileDialog::showPreview(const QString& path) {
    m_preview->clear();
    if (!QFileInfo(path).isFile()) {
        return;
    }
    try {
        const QImage image = toQImage(readPictureFile(path.toStdString(), pictureFormats()));
        m_preview->setPixmap(QPixmap::fromImage(image.scaled(
            kPreviewSize, kPreviewSize, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    } catch (const ProjectError&) {
        m_preview->setText(tr("No preview"));
    }
}

} // namespace vellumar
