#include "picture_list.h"

#include <stdexcept>
#include <utility>

namespace vellumar {

std::vector<FileInfoRow> PictureList::gridRows() const {
    return m_rows.empty() ? std::vector<FileInfoRow>(1) : m_rows;
}

bool PictureList::append(TImgEntry entry, FileInfoRow row) {
    if (isFull()) {
        return false;
    }
    m_entries.push_back(std::move(entry));
    m_rows.push_back(std::move(row));
    return true;
}

void PictureList::remove(int position) {
    if (position < 1 || position > count()) {
        throw std::out_of_range("no picture at position " + std::to_string(position));
    }
    m_entries.erase(m_entries.begin() + (position - 1));
    m_rows.erase(m_rows.begin() + (position - 1));
}

void PictureList::clear() {
    m_entries.clear();
    m_rows.clear();
}

void PictureList::swap(int first, int second) {
    std::swap(m_entries.at(first - 1), m_entries.at(second - 1));
    std::swap(m_rows.at(first - 1), m_rows.at(second - 1));
}

std::string countWhileAdding(int count) {
    return std::to_string(count) + " pictures in list";
}

std::string countWhenDone(int count) {
    return countWhileAdding(count) + ".";
}

} // namespace vellumar
