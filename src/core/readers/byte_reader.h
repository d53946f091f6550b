#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "project_error.h"
#include "readers/picture_reader.h"

namespace vellumar {

// "the file is truncated (<count> bytes needed at offset <offset>, it has <size> bytes)".
[[noreturn]] inline void failTruncated(std::uint64_t offset, std::uint64_t count,
                                       std::uint64_t size) {
    throw ProjectError("the file is truncated (" + std::to_string(count) +
                       " bytes needed at offset " + std::to_string(offset) + ", it has " +
                       std::to_string(size) + " bytes)");
}

// A cursor over a picture file's bytes for the decoders of binary formats. Every read is
// checked against the end of the data: running past it fails with a ProjectError that says
// the file is truncated, so a decoder never needs a bounds check of its own for reading.
// Offsets are relative to the start of the span the reader was made with.
class ByteReader {
public:
    explicit ByteReader(Bytes bytes) : m_bytes(bytes) {}
    // Starts at an offset, which must lie within the data.
    ByteReader(Bytes bytes, std::uint64_t offset) : m_bytes(bytes) { seek(offset); }

    std::size_t size() const { return m_bytes.size(); }
    std::size_t position() const { return m_position; }
    std::size_t remaining() const { return m_bytes.size() - m_position; }
    bool atEnd() const { return m_position == m_bytes.size(); }
    // Whether count more bytes are there to read.
    bool has(std::size_t count) const { return count <= remaining(); }

    // Moves to an absolute offset; the end of the data is a valid position.
    void seek(std::uint64_t offset) {
        if (offset > m_bytes.size()) {
            failTruncated(offset, 0);
        }
        m_position = static_cast<std::size_t>(offset);
    }
    void skip(std::uint64_t count) { seek(m_position + require(count)); }

    std::uint8_t u8() { return static_cast<std::uint8_t>(little(1)); }
    std::uint16_t u16le() { return static_cast<std::uint16_t>(little(2)); }
    std::uint32_t u32le() { return static_cast<std::uint32_t>(little(4)); }
    std::int16_t i16le() { return static_cast<std::int16_t>(u16le()); }
    std::int32_t i32le() { return static_cast<std::int32_t>(u32le()); }
    std::uint16_t u16be() { return static_cast<std::uint16_t>(big(2)); }
    std::uint32_t u32be() { return static_cast<std::uint32_t>(big(4)); }
    std::int16_t i16be() { return static_cast<std::int16_t>(u16be()); }
    std::int32_t i32be() { return static_cast<std::int32_t>(u32be()); }

    // The next count bytes as a span into the data, which the cursor moves past.
    Bytes take(std::uint64_t count) {
        const std::size_t start = m_position;
        m_position += require(count);
        return m_bytes.subspan(start, static_cast<std::size_t>(count));
    }

    // Bytes [offset, offset + count) of the data, without moving the cursor.
    Bytes slice(std::uint64_t offset, std::uint64_t count) const {
        if (offset > m_bytes.size() || count > m_bytes.size() - offset) {
            failTruncated(offset, count);
        }
        return m_bytes.subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(count));
    }

    // The bytes from the cursor on, without moving it.
    Bytes rest() const { return m_bytes.subspan(m_position); }

    // Everything from offset to the end of the data.
    Bytes tail(std::uint64_t offset) const {
        return slice(offset, m_bytes.size() - std::min<std::uint64_t>(offset, m_bytes.size()));
    }

private:
    // Checks that count bytes follow the cursor and returns count.
    std::size_t require(std::uint64_t count) const {
        if (count > remaining()) {
            failTruncated(m_position, count);
        }
        return static_cast<std::size_t>(count);
    }

    std::uint64_t little(std::size_t count) {
        const std::size_t start = m_position;
        m_position += require(count);
        std::uint64_t value = 0;
        for (std::size_t i = count; i-- > 0;) {
            value = (value << 8) | m_bytes[start + i];
        }
        return value;
    }

    std::uint64_t big(std::size_t count) {
        const std::size_t start = m_position;
        m_position += require(count);
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < count; ++i) {
            value = (value << 8) | m_bytes[start + i];
        }
        return value;
    }

    [[noreturn]] void failTruncated(std::uint64_t offset, std::uint64_t count) const {
        vellumar::failTruncated(offset, count, m_bytes.size());
    }

    Bytes m_bytes;
    std::size_t m_position = 0;
};

} // namespace vellumar
