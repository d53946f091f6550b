#pragma once

#include <QFileDialog>

class QLabel;

namespace vellumar {

// A multi-file chooser for pictures that shows the highlighted file beside the list, read
// with the program's own readers so every format it accepts can be previewed.
class PictureFileDialog : public QFileDialog {
    Q_OBJECT
public:
    PictureFileDialog(QWidget* parent, const QString& folder, const QString& filter);

private:
    void showPreview(const QString& path);

    QLabel* m_preview;
};

} // namespace vellumar
