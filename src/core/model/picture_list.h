#pragma once

#include <span>
#include <string>
#include <vector>

#include "model/gallery_settings.h"
#include "model/img_entry.h"

namespace vellumar {

// The texts of one row of the file-info grid.
struct FileInfoRow {
    std::string fileName;    // with extension, without the folder
    std::string pictureSize; // width + " X " + height
    std::string fileSize;    // bytes, decimal

    bool operator==(const FileInfoRow&) const = default;
};

struct FileInfoColumn {
    const char* header;
    int width;
};
inline constexpr FileInfoColumn kFileInfoColumns[] = {
    {"File name", 145}, {"Picture size", 70}, {"File size (bytes)", 80}};

// The pictures of a project in gallery order, with the grid rows that mirror them and the
// count text shown beside the grid. Positions count from 1, as the user sees them.
class PictureList {
public:
    static constexpr int kCapacity = 9999;

    int count() const { return static_cast<int>(m_entries.size()); }
    bool isFull() const { return count() >= kCapacity; }
    bool isEmpty() const { return m_entries.empty(); }

    TImgEntry& entry(int position) { return m_entries.at(position - 1); }
    const TImgEntry& entry(int position) const { return m_entries.at(position - 1); }
    const std::vector<TImgEntry>& entries() const { return m_entries; }
    // The entries for the builds, which record the sizes of what they made in them.
    std::span<TImgEntry> mutableEntries() { return m_entries; }

    const FileInfoRow& row(int position) const { return m_rows.at(position - 1); }
    void setRow(int position, FileInfoRow row) { m_rows.at(position - 1) = std::move(row); }
    // The grid's rows: one per entry, or a single blank row for an empty list.
    std::vector<FileInfoRow> gridRows() const;

    // Refused (false) when the list is full.
    bool append(TImgEntry entry, FileInfoRow row = {});
    void remove(int position);
    void clear();
    void swap(int first, int second);

    // Whether the grid gives picture sizes as the camera held the pictures, which is what
    // builds make of them while the AutoRotate setting is on.
    bool sizesAsCameraHeld() const { return m_sizesAsCameraHeld; }
    void setSizesAsCameraHeld(bool on) { m_sizesAsCameraHeld = on; }

    const std::string& countText() const { return m_countText; }
    void setCountText(std::string text) { m_countText = std::move(text); }

    bool operator==(const PictureList&) const = default;

private:
    std::vector<TImgEntry> m_entries;
    std::vector<FileInfoRow> m_rows;
    std::string m_countText = "0 pictures in list";
    bool m_sizesAsCameraHeld = GallerySettings().AutoRotate;
};

// "<count> pictures in list", shown while pictures are being added...
std::string countWhileAdding(int count);
// ...and "<count> pictures in list." once a removal, clearing or refill is done.
std::string countWhenDone(int count);

} // namespace vellumar
