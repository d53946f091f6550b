#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "readers/picture_reader.h"

namespace vellumar {

// A reader class: one decoder that serves one or more extensions.
struct ReaderClass {
    std::string name;              // e.g. "TBitmap"
    std::string commonDescription; // used by rows that have no description of their own
    ReaderKind kind = ReaderKind::Bitmap;
    std::shared_ptr<const PictureReader> decoder;
    int rowCount = 0;
};

struct FormatRow {
    std::string extension; // lower case, without the dot
    std::string description;
    const ReaderClass* reader = nullptr;
};

// The table of readable picture formats. Besides its own rows it keeps the list the file
// dialogs and the reader lookup see: six rows of the platform's own picture support first,
// then every registered row.
class PictureFormatRegistry {
public:
    PictureFormatRegistry();
    PictureFormatRegistry(const PictureFormatRegistry&) = delete;
    PictureFormatRegistry& operator=(const PictureFormatRegistry&) = delete;

    // Fails with "Attempt to register <ext> twice." for an extension already registered.
    void registerFormat(const std::string& extension, const std::string& commonDescription,
                        const std::string& ownDescription, const std::string& readerName,
                        ReaderKind kind, std::shared_ptr<const PictureReader> decoder);

    // A row of the platform's own picture support: seen by the dialogs and the reader lookup,
    // not by the folder scan.
    void addPlatformFormat(const std::string& extension, const std::string& description,
                           const std::string& readerName, ReaderKind kind,
                           std::shared_ptr<const PictureReader> decoder);

    const std::vector<FormatRow>& rows() const { return m_rows; }
    const std::vector<FormatRow>& dialogRows() const { return m_dialogRows; }
    const ReaderClass* readerClass(std::string_view name) const;

    // The registered extensions in registration order.
    std::vector<std::string> extensions() const;
    // Whether a folder scan takes this file: its extension (from the last dot) is registered.
    bool acceptsFile(std::string_view fileName) const;
    // The reader for a file by its extension; fails with
    // "Unknown picture file extension (.<ext>)".
    const ReaderClass& readerFor(std::string_view fileName) const;
    // The reader class whose decoder recognises the bytes, or nullptr.
    const ReaderClass* readerBySignature(Bytes bytes) const;
    // File dialog filter: "All (...)" first, then one entry a row, newest first, ";;" between.
    std::string dialogFilter() const;

private:
    ReaderClass& readerClassFor(const std::string& name, ReaderKind kind,
                                std::shared_ptr<const PictureReader> decoder);

    std::vector<std::unique_ptr<ReaderClass>> m_readers;
    std::vector<FormatRow> m_rows;
    std::vector<FormatRow> m_dialogRows;
};

// The extension of a file name without its dot, as written; "" when the name has no dot.
std::string extensionOf(std::string_view fileName);

} // namespace vellumar
