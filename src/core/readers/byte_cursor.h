#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "project_error.h"
#include "readers/picture_reader.h"

namespace vellumar {

// A bounds-checked reading position over a picture file in memory. Every read checks that
// the bytes are there; running past the end fails with "the file is truncated", so decoders
// never touch memory beyond the data.
class ByteCursor {
public:
    explicit ByteCursor(Bytes bytes, std::size_t position = 0)
        : m_bytes(bytes), m_position(position) {}

    std::size_t position() const { return m_position; }
    std::size_t size() const { return m_bytes.size(); }
    std::size_t remaining() const {
        return m_position < m_bytes.size() ? m_bytes.size() - m_position : 0;
    }
    bool atEnd() const { return remaining() == 0; }

    // Moves to an absolute offset; fails when the offset lies beyond the data.
    void seek(std::uint64_t offset) {
        if (offset > m_bytes.size()) {
            truncated();
        }
        m_position = static_cast<std::size_t>(offset);
    }
    void skip(std::uint64_t count) { seek(static_cast<std::uint64_t>(m_position) + need(count)); }

    std::uint8_t u8() {
        need(1);
        return m_bytes[m_position++];
    }
    std::uint16_t u16le() { return static_cast<std::uint16_t>(little(2)); }
    std::uint32_t u32le() { return static_cast<std::uint32_t>(little(4)); }
    std::uint16_t u16be() { return static_cast<std::uint16_t>(big(2)); }
    std::uint32_t u32be() { return static_cast<std::uint32_t>(big(4)); }
    std::int16_t i16le() { return static_cast<std::int16_t>(u16le()); }
    std::int32_t i32le() { return static_cast<std::int32_t>(u32le()); }
    std::int16_t i16be() { return static_cast<std::int16_t>(u16be()); }
    std::int32_t i32be() { return static_cast<std::int32_t>(u32be()); }

    // The next count bytes, checked to be present.
    Bytes take(std::uint64_t count) {
        need(count);
        const Bytes part = m_bytes.subspan(m_position, static_cast<std::size_t>(count));
        m_position += static_cast<std::size_t>(count);
        return part;
    }
    // The bytes from the current position on, without moving.
    Bytes rest() const { return m_bytes.subspan(std::min(m_position, m_bytes.size())); }

private:
    std::uint64_t need(std::uint64_t count) const {
        if (count > remaining()) {
            truncated();
        }
        return count;
    }
    std::uint64_t little(int count) {
        need(static_cast<std::uint64_t>(count));
        std::uint64_t value = 0;
        for (int i = count - 1; i >= 0; --i) {
            value = value << 8 | m_bytes[m_position + static_cast<std::size_t>(i)];
        }
        m_position += static_cast<std::size_t>(count);
        return value;
    }
    std::uint64_t big(int count) {
        need(static_cast<std::uint64_t>(count));
        std::uint64_t value = 0;
        for (int i = 0; i < count; ++i) {
            value = value << 8 | m_bytes[m_position + static_cast<std::size_t>(i)];
        }
        m_position += static_cast<std::size_t>(count);
        return value;
    }
    [[noreturn]] static void truncated() { throw ProjectError("the file is truncated"); }

    Bytes m_bytes;
    std::size_t m_position;
};

} // namespace vellumar
