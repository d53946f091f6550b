#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "file_io.h"
#include "readers/picture_reader.h"

namespace vellumar {

// A picture's bytes at any offset, whether they are in memory or read from the open file
// piece by piece, so that a decoder has one way of reading both. Offsets count from the start
// of the source.
class ByteSource {
public:
    explicit ByteSource(Bytes bytes) : m_bytes(bytes), m_size(bytes.size()) {}
    explicit ByteSource(const ReadOnlyFile& file) : m_file(&file), m_size(file.size()) {}
    // The source's file when it has one, else its bytes.
    static ByteSource of(const PictureSource& source);

    std::uint64_t size() const { return m_size; }
    // The bytes from offset on as a source of their own; offset may be the end.
    ByteSource from(std::uint64_t offset) const;
    // Copies the bytes at offset into out, fewer only where the source ends.
    std::size_t copy(std::uint64_t offset, std::span<std::uint8_t> out) const;
    // Exactly count bytes at offset, failing as ByteReader does when the source ends before
    // them: a view of the memory, or of buffer, into which they are read from the file.
    Bytes read(std::uint64_t offset, std::uint64_t count, std::vector<std::uint8_t>& buffer) const;

private:
    Bytes m_bytes;
    const ReadOnlyFile* m_file = nullptr;
    std::uint64_t m_start = 0; // where the source starts in the file
    std::uint64_t m_size = 0;
};

} // namespace vellumar
