#include "wizard_pages.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vellumar {

ProjectStep::ProjectStep(QWidget* parent) : QWidget(parent) {
    rbNew = new QRadioButton(tr("Build a new project"), this);
    rbOld = new QRadioButton(tr("Open an old project"), this);
    rbNew->setChecked(true);
    lblPjtName = new QLabel(this);
    lblPjtName->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblPjtName->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addSpacing(24);
    layout->addWidget(rbNew);
    layout->addWidget(rbOld);
    layout->addWidget(lblPjtName);
    layout->addStretch(1);
}

BuildStep::BuildStep(QWidget* parent) : QWidget(parent) {
    btnPreview = new QPushButton(tr("Preview"), this);
    btnView = new QPushButton(tr("View thumbnails"), this);
    btnBuildAll = new QPushButton(tr("Build All"), this);
    lblProgress = new QLabel(tr("Stop"), this);
    ProgressBar = new QProgressBar(this);
    ProgressBar->setRange(0, 100);
    ProgressBar->setValue(0);
    btnStop = new QPushButton(tr("Stop"), this);
    btnStop->setEnabled(false);
    cbSkipUnreadable = new QCheckBox(tr("Skip pictures that cannot be read"), this);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnPreview);
    buttons->addWidget(btnView);
    buttons->addWidget(btnBuildAll);
    buttons->addStretch(1);

    auto* progress = new QGroupBox(tr("Progress"), this);
    auto* statusRow = new QHBoxLayout;
    statusRow->addWidget(new QLabel(tr("Status:"), progress));
    statusRow->addWidget(lblProgress, 1);
    auto* progressLayout = new QVBoxLayout(progress);
    progressLayout->addLayout(statusRow);
    auto* barRow = new QHBoxLayout;
    barRow->addWidget(ProgressBar, 1);
    barRow->addWidget(btnStop);
    progressLayout->addLayout(barRow);

    auto* layout = new QVBoxLayout(this);
    layout->addSpacing(24);
    layout->addLayout(buttons);
    layout->addWidget(cbSkipUnreadable);
    layout->addWidget(progress);
    layout->addStretch(1);
}

FinishStep::FinishStep(QWidget* parent) : QWidget(parent) {
    btnSavePjt = new QPushButton(tr("Save project"), this);
    btnSavePjtAs = new QPushButton(tr("Save project as ......"), this);

    auto* layout = new QVBoxLayout(this);
    layout->addSpacing(24);
    layout->addWidget(btnSavePjt, 0, Qt::AlignLeft);
    layout->addWidget(btnSavePjtAs, 0, Qt::AlignLeft);
    layout->addStretch(1);
}

} // namespace vellumar
