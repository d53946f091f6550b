#include "byte_source.h"

#include <algorithm>

#include "readers/byte_reader.h"

namespace vellumar {

ByteSource ByteSource::of(const PictureSource& source) {
    return source.file ? ByteSource(*source.file) : ByteSource(source.bytes);
}

ByteSource ByteSource::from(std::uint64_t offset) const {
    if (offset > m_size) {
        failTruncated(offset, 0, m_size);
    }
    ByteSource rest = *this;
    if (m_file) {
        rest.m_start += offset;
    } else {
        rest.m_bytes = m_bytes.subspan(static_cast<std::size_t>(offset));
    }
    rest.m_size -= offset;
    return rest;
}

std::size_t ByteSource::copy(std::uint64_t offset, std::span<std::uint8_t> out) const {
    if (offset >= m_size) {
        return 0;
    }
    out = out.first(static_cast<std::size_t>(std::min<std::uint64_t>(out.size(), m_size - offset)));
    if (m_file) {
        return m_file->readAt(m_start + offset, out);
    }
    std::copy_n(m_bytes.begin() + static_cast<std::ptrdiff_t>(offset), out.size(), out.begin());
    return out.size();
}

Bytes ByteSource::read(std::uint64_t offset, std::uint64_t count,
                       std::vector<std::uint8_t>& buffer) const {
    if (offset > m_size || count > m_size - offset) {
        failTruncated(offset, count, m_size);
    }
    if (!m_file) {
        return m_bytes.subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(count));
    }
    buffer.resize(static_cast<std::size_t>(count));
    if (const std::size_t got = copy(offset, buffer); got != count) {
        failTruncated(offset, count, offset + got); // cut short after it was opened
    }
    return buffer;
}

} // namespace vellumar
