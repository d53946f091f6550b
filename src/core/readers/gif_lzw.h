#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "readers/picture_reader.h"

namespace vellumar {

// The variable-width LZW stream of one GIF image block, decoded a row at a time. It takes the
// block's data sub-blocks as they lie in the file (each a length byte and that many bytes,
// ended by an empty one). Codes grow to 12 bits; a table that fills up is used as it is
// until a clear code comes ("deferred clear"). The stream ends at its end code, at the end
// of its data, or at a code that names no entry yet: whatever it decoded up to there stands,
// as a browser shows it.
class GifLzwDecoder {
public:
    // minimumCodeSize is the byte in front of the sub-blocks: 1 to 8 bits a pixel index, as
    // the format allows; any other fails as "an image block codes its pixels with N bits".
    GifLzwDecoder(int minimumCodeSize, Bytes subBlocks);

    // Fills out with the next pixel indexes and returns how many it wrote: fewer than asked
    // only once the stream has ended.
    std::size_t read(std::span<std::uint8_t> out);

private:
    static constexpr int kLargestCodeWidth = 12;
    static constexpr int kTableSize = 1 << kLargestCodeWidth;
    static constexpr int kNoCode = -1;

    void resetTable();
    // The next code of the current width, or kNoCode when the data ends first.
    int nextCode();
    // Puts the string of the next code into m_pending; false once the stream has ended.
    bool decodeNextString();
    // Writes the string of code into m_pending, last index first.
    void unpack(int code);

    Bytes m_data;
    std::size_t m_position = 0;     // the next byte of m_data to read
    std::size_t m_subBlockLeft = 0; // bytes of the current sub-block not yet read
    std::uint32_t m_bits = 0;       // bits read but not yet used, lowest first
    int m_bitCount = 0;
    const int m_clear;
    const int m_end;
    int m_next = 0;  // the code the next table entry gets
    int m_width = 0; // bits of the next code
    int m_previous = kNoCode;
    bool m_ended = false;
    std::array<std::uint16_t, kTableSize> m_prefix{};
    std::array<std::uint8_t, kTableSize> m_suffix{};
    std::array<std::uint8_t, kTableSize> m_first{};
    std::array<std::uint16_t, kTableSize> m_length{};
    // The decoded string not yet handed out: m_pending[m_pendingFrom, m_pendingEnd).
    std::array<std::uint8_t, kTableSize> m_pending{};
    std::size_t m_pendingFrom = 0;
    std::size_t m_pendingEnd = 0;
};

} // namespace vellumar
