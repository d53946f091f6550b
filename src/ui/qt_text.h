#pragma once

#include <array>
#include <string_view>

#include <QComboBox>
#include <QString>

namespace vellumar {

// The core's fixed texts (captions, item lists) as Qt strings.
inline QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Fills a drop-down list with fixed choices in item order, so an item's index is its value.
template <std::size_t N>
void addItems(QComboBox* box, const std::array<std::string_view, N>& items) {
    for (const std::string_view item : items) {
        box->addItem(fromView(item));
    }
}

} // namespace vellumar
