#pragma once

class QWidget;

namespace vellumar {

// Puts a page into a frameless scroll area that follows the page's size while there is room
// and scrolls when the window is smaller than the page, as on a scaled screen.
QWidget* scrollable(QWidget* page);

} // namespace vellumar
