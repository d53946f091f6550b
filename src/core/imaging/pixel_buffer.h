#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace vellumar {

// The memory behind a bitmap's pixels. Large rasters are aligned to 2 MiB and the kernel is
// asked to back them with huge pages: touching a fresh 36 MB raster page by page otherwise
// costs more than decoding a JPEG into it. Each thread keeps a few large blocks it freed for
// its next rasters. The bytes start undefined; whoever needs a colour fills them.
class PixelBuffer {
public:
    PixelBuffer() = default;
    explicit PixelBuffer(std::size_t size);
    PixelBuffer(const PixelBuffer& other);
    PixelBuffer& operator=(const PixelBuffer& other);
    PixelBuffer(PixelBuffer&&) noexcept = default;
    PixelBuffer& operator=(PixelBuffer&&) noexcept = default;

    std::uint8_t* data() { return m_bytes.get(); }
    const std::uint8_t* data() const { return m_bytes.get(); }
    std::size_t size() const { return m_size; }

    // Makes the buffer hold size bytes, keeping the bytes it holds (as many as fit).
    void resize(std::size_t size);
    // Makes room for capacity bytes without changing the size; the bytes held are lost.
    void reserve(std::size_t capacity);

private:
    // Frees or keeps a block of `capacity` bytes.
    struct Free {
        std::size_t capacity;
        void operator()(std::uint8_t* bytes) const;
    };
    using Bytes = std::unique_ptr<std::uint8_t[], Free>;

    static Bytes allocated(std::size_t size);
    std::size_t capacity() const;

    Bytes m_bytes{nullptr, Free{0}};
    std::size_t m_size = 0;
};

} // namespace vellumar
