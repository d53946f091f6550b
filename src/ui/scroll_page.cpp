#include "scroll_page.h"

#include <QScrollArea>

namespace vellumar {

namespace {

// Asks for the room the page needs, so that a window with space enough shows it without
// scroll bars; a plain scroll area asks for a fixed share of the font size instead.
class ScrollPage : public QScrollArea {
public:
    QSize sizeHint() const override {
        const int frame = 2 * frameWidth();
        return widget()->minimumSizeHint() + QSize(frame, frame);
    }
};

} // namespace

QWidget* scrollable(QWidget* page) {
    auto* area = new ScrollPage;
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(page);
    return area;
}

} // namespace vellumar
