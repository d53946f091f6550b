#include "pixel_buffer.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <sys/mman.h>

namespace vellumar {

namespace {

constexpr std::size_t kHugePage = 2 * 1024 * 1024;

std::uint8_t* allocate(std::size_t size) {
    if (size < kHugePage) {
        auto* bytes = static_cast<std::uint8_t*>(std::malloc(size == 0 ? 1 : size));
        if (!bytes) {
            throw std::bad_alloc();
        }
        return bytes;
    }
    const std::size_t rounded = (size + kHugePage - 1) / kHugePage * kHugePage;
    auto* bytes = static_cast<std::uint8_t*>(std::aligned_alloc(kHugePage, rounded));
    if (!bytes) {
        throw std::bad_alloc();
    }
    // Only advice: without transparent huge pages the memory works the same, just slower.
    madvise(bytes, rounded, MADV_HUGEPAGE);
    return bytes;
}

} // namespace

void PixelBuffer::Free::operator()(std::uint8_t* bytes) const {
    std::free(bytes);
}

PixelBuffer::PixelBuffer(std::size_t size)
    : m_bytes(allocate(size)), m_size(size), m_capacity(size) {}

PixelBuffer::PixelBuffer(const PixelBuffer& other) : PixelBuffer(other.m_size) {
    if (m_size > 0) {
        std::memcpy(m_bytes.get(), other.m_bytes.get(), m_size);
    }
}

PixelBuffer& PixelBuffer::operator=(const PixelBuffer& other) {
    if (this != &other) {
        resize(other.m_size);
        if (m_size > 0) {
            std::memcpy(m_bytes.get(), other.m_bytes.get(), m_size);
        }
    }
    return *this;
}

void PixelBuffer::reserve(std::size_t capacity) {
    if (capacity > m_capacity || !m_bytes) {
        m_bytes.reset(allocate(capacity));
        m_capacity = capacity;
    }
}

void PixelBuffer::resize(std::size_t size) {
    if (size > m_capacity || !m_bytes) {
        std::unique_ptr<std::uint8_t[], Free> larger(allocate(size));
        if (m_size > 0) {
            std::memcpy(larger.get(), m_bytes.get(), m_size);
        }
        m_bytes = std::move(larger);
        m_capacity = size;
    }
    m_size = size;
}

} // namespace vellumar
