#include "scroll_page.h"

#include <QScrollArea>

namespace vellumar {

QWidget* scrollable(QWidget* page) {
    auto* area = new QScrollArea;
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(page);
    return area;
}

} // namespace vellumar
