#pragma once

#include <string>

#include "readers/picture_reader.h"

namespace vellumar {

// Stands in for a decoder that has not been written yet.
class PendingReader : public PictureReader {
public:
    explicit PendingReader(std::string formatName) : m_formatName(std::move(formatName)) {}

    bool sniff(Bytes) const override { return false; }
    PictureSize probe(const PictureSource&) const override { fail(); }
    Bitmap decode(const PictureSource&) const override { fail(); }

private:
    [[noreturn]] void fail() const;

    std::string m_formatName;
};

} // namespace vellumar
