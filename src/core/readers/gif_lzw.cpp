#include "gif_lzw.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>

#include "project_error.h"

namespace vellumar {

namespace {

int checkedCodeSize(int minimumCodeSize) {
    if (minimumCodeSize < 1 || minimumCodeSize > 8) {
        throw ProjectError("an image block codes its pixels with " +
                           std::to_string(minimumCodeSize) + " bits");
    }
    return minimumCodeSize;
}

} // namespace

GifLzwDecoder::GifLzwDecoder(int minimumCodeSize, Bytes subBlocks)
    : m_data(subBlocks), m_clear(1 << checkedCodeSize(minimumCodeSize)), m_end(m_clear + 1) {
    for (int code = 0; code < m_clear; ++code) {
        m_suffix[static_cast<std::size_t>(code)] = static_cast<std::uint8_t>(code);
        m_first[static_cast<std::size_t>(code)] = static_cast<std::uint8_t>(code);
        m_length[static_cast<std::size_t>(code)] = 1;
    }
    resetTable();
}

void GifLzwDecoder::resetTable() {
    m_next = m_end + 1;
    m_width = std::bit_width(static_cast<unsigned>(m_clear));
    m_previous = kNoCode;
}

int GifLzwDecoder::nextCode() {
    while (m_bitCount < m_width) {
        if (m_subBlockLeft == 0) {
            // A sub-block's length byte; the empty one ends the data.
            if (m_position >= m_data.size() || m_data[m_position] == 0) {
                return kNoCode;
            }
            m_subBlockLeft = m_data[m_position++];
        }
        if (m_position >= m_data.size()) {
            return kNoCode;
        }
        m_bits |= static_cast<std::uint32_t>(m_data[m_position++]) << m_bitCount;
        m_bitCount += 8;
        --m_subBlockLeft;
    }
    const int code = static_cast<int>(m_bits & ((1U << m_width) - 1));
    m_bits >>= m_width;
    m_bitCount -= m_width;
    return code;
}

void GifLzwDecoder::unpack(int code) {
    const std::size_t length = m_length[static_cast<std::size_t>(code)];
    m_pendingFrom = 0;
    m_pendingEnd = length;
    for (std::size_t i = length; i > 0; --i) {
        m_pending[i - 1] = m_suffix[static_cast<std::size_t>(code)];
        code = m_prefix[static_cast<std::size_t>(code)];
    }
}

bool GifLzwDecoder::decodeNextString() {
    for (;;) {
        const int code = nextCode();
        if (code == kNoCode || code == m_end) {
            return false;
        }
        if (code == m_clear) {
            resetTable();
            continue;
        }
        if (m_previous == kNoCode) {
            if (code > m_clear) {
                return false; // no string has been defined yet
            }
            unpack(code);
            m_previous = code;
            return true;
        }
        const bool known = code < m_next;
        if (!known && code != m_next) {
            return false;
        }
        // A full table stays as it is; its codes are all known, as 12 bits name no more.
        if (m_next < kTableSize) {
            // The new entry is the previous string and the first index of this one, which
            // for the code being defined right now is the previous string's own first.
            const auto entry = static_cast<std::size_t>(m_next);
            const auto previous = static_cast<std::size_t>(m_previous);
            m_prefix[entry] = static_cast<std::uint16_t>(m_previous);
            m_suffix[entry] = known ? m_first[static_cast<std::size_t>(code)] : m_first[previous];
            m_first[entry] = m_first[previous];
            m_length[entry] = static_cast<std::uint16_t>(m_length[previous] + 1);
            ++m_next;
            if (m_next == 1 << m_width && m_width < kLargestCodeWidth) {
                ++m_width;
            }
        }
        unpack(code);
        m_previous = code;
        return true;
    }
}

std::size_t GifLzwDecoder::read(std::span<std::uint8_t> out) {
    std::size_t written = 0;
    while (written < out.size()) {
        if (m_pendingFrom == m_pendingEnd) {
            if (m_ended || !decodeNextString()) {
                m_ended = true;
                break;
            }
        }
        const std::size_t count = std::min(out.size() - written, m_pendingEnd - m_pendingFrom);
        std::memcpy(out.data() + written, m_pending.data() + m_pendingFrom, count);
        m_pendingFrom += count;
        written += count;
    }
    return written;
}

} // namespace vellumar
