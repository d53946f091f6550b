#pragma once

#include <initializer_list>

#include <QWidget>

namespace vellumar {

// Enables or disables a group of controls that one rule governs together.
inline void setAllEnabled(std::initializer_list<QWidget*> controls, bool enabled) {
    for (QWidget* control : controls) {
        control->setEnabled(enabled);
    }
}

} // namespace vellumar
