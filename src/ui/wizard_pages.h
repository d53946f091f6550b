#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace vellumar {

// Step 1: start a new project or open a saved one.
class ProjectStep : public QWidget {
    Q_OBJECT
public:
    explicit ProjectStep(QWidget* parent = nullptr);

    QRadioButton* rbNew = nullptr;
    QRadioButton* rbOld = nullptr;
    QLabel* lblPjtName = nullptr;
};

// Step 4: preview, view and build the gallery, with the progress of a build.
class BuildStep : public QWidget {
    Q_OBJECT
public:
    explicit BuildStep(QWidget* parent = nullptr);

    QPushButton* btnPreview = nullptr;
    QPushButton* btnView = nullptr;
    QPushButton* btnBuildAll = nullptr;
    QLabel* lblProgress = nullptr;
    QProgressBar* ProgressBar = nullptr;
    QPushButton* btnStop = nullptr; // enabled while a build runs
    // Off at every start: going on past broken pictures is a choice for one build at a time.
    QCheckBox* cbSkipUnreadable = nullptr;
};

// Step 5: save the project.
class FinishStep : public QWidget {
    Q_OBJECT
public:
    explicit FinishStep(QWidget* parent = nullptr);

    QPushButton* btnSavePjt = nullptr;
    QPushButton* btnSavePjtAs = nullptr;
};

} // namespace vellumar
