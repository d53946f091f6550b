#include "format_registry.h"

#include <algorithm>

#include "project_error.h"
#include "text_util.h"

namespace vellumar {

std::string extensionOf(std::string_view fileName) {
    const std::size_t slash = fileName.find_last_of('/');
    const std::string_view base =
        slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
    const std::size_t dot = base.find_last_of('.');
    return dot == std::string_view::npos ? std::string() : std::string(base.substr(dot + 1));
}

PictureFormatRegistry::PictureFormatRegistry() = default;

ReaderClass& PictureFormatRegistry::readerClassFor(const std::string& name, ReaderKind kind,
                                                   std::shared_ptr<const PictureReader> decoder) {
    for (auto& reader : m_readers) {
        if (reader->name == name) {
            return *reader;
        }
    }
    auto reader = std::make_unique<ReaderClass>();
    reader->name = name;
    reader->kind = kind;
    reader->decoder = std::move(decoder);
    m_readers.push_back(std::move(reader));
    return *m_readers.back();
}

void PictureFormatRegistry::registerFormat(const std::string& extension,
                                           const std::string& commonDescription,
                                           const std::string& ownDescription,
                                           const std::string& readerName, ReaderKind kind,
                                           std::shared_ptr<const PictureReader> decoder) {
    const bool known = std::any_of(m_rows.begin(), m_rows.end(), [&](const FormatRow& row) {
        return equalsIgnoringCase(row.extension, extension);
    });
    if (known) {
        throw ProjectError("Attempt to register " + extension + " twice.");
    }
    ReaderClass& reader = readerClassFor(readerName, kind, std::move(decoder));
    if (!commonDescription.empty()) {
        reader.commonDescription = commonDescription;
    }
    ++reader.rowCount;
    const FormatRow row{toLowerAscii(extension),
                        ownDescription.empty() ? reader.commonDescription : ownDescription,
                        &reader};
    m_rows.push_back(row);
    m_dialogRows.push_back(row);
}

void PictureFormatRegistry::addPlatformFormat(const std::string& extension,
                                              const std::string& description,
                                              const std::string& readerName, ReaderKind kind,
                                              std::shared_ptr<const PictureReader> decoder) {
    ReaderClass& reader = readerClassFor(readerName, kind, std::move(decoder));
    m_dialogRows.push_back({toLowerAscii(extension), description, &reader});
}

const ReaderClass* PictureFormatRegistry::readerClass(std::string_view name) const {
    for (const auto& reader : m_readers) {
        if (reader->name == name) {
            return reader.get();
        }
    }
    return nullptr;
}

std::vector<std::string> PictureFormatRegistry::extensions() const {
    std::vector<std::string> result;
    for (const FormatRow& row : m_rows) {
        result.push_back(row.extension);
    }
    return result;
}

bool PictureFormatRegistry::acceptsFile(std::string_view fileName) const {
    const std::string extension = extensionOf(fileName);
    if (extension.empty()) {
        return false;
    }
    return std::any_of(m_rows.begin(), m_rows.end(), [&](const FormatRow& row) {
        return equalsIgnoringCase(row.extension, extension);
    });
}

const ReaderClass& PictureFormatRegistry::readerFor(std::string_view fileName) const {
    const std::string extension = extensionOf(fileName);
    // The newest matching row wins.
    for (auto row = m_dialogRows.rbegin(); row != m_dialogRows.rend(); ++row) {
        if (equalsIgnoringCase(row->extension, extension)) {
            return *row->reader;
        }
    }
    throw ProjectError("Unknown picture file extension (." + extension + ")");
}

const ReaderClass* PictureFormatRegistry::readerBySignature(Bytes bytes) const {
    for (const auto& reader : m_readers) {
        if (reader->decoder && reader->decoder->sniff(bytes)) {
            return reader.get();
        }
    }
    return nullptr;
}

std::string PictureFormatRegistry::dialogFilter() const {
    std::string all;
    std::string single;
    for (auto row = m_dialogRows.rbegin(); row != m_dialogRows.rend(); ++row) {
        const std::string pattern = "*." + row->extension;
        all += (all.empty() ? "" : " ") + pattern;
        single += ";;" + row->description + " (" + pattern + ")";
    }
    return "All (" + all + ")" + single;
}

} // namespace vellumar
