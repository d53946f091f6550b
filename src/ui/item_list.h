#pragma once

#include <array>
#include <string_view>

#include <QComboBox>

namespace vellumar {

// A drop-down list of fixed choices, in item order, so an item's index is its enum value.
template <std::size_t N>
QComboBox* itemList(const std::array<std::string_view, N>& items, QWidget* parent) {
    auto* list = new QComboBox(parent);
    for (const std::string_view item : items) {
        list->addItem(QString::fromUtf8(item.data(), static_cast<qsizetype>(item.size())));
    }
    return list;
}

} // namespace vellumar
