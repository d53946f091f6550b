#include "pixel_buffer.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <optional>
#include <sys/mman.h>
#include <vector>

namespace vellumar {

namespace {

constexpr std::size_t kHugePage = 2 * 1024 * 1024;

struct Block {
    std::uint8_t* bytes;
    std::size_t capacity;
};

// Large blocks a thread has freed, kept for its next rasters. A fresh block costs its page
// faults, the kernel's zeroing and, where memory is fragmented, the compaction that finds
// huge pages: with the several rasters every picture passes through, a tenth of a build.
// Bounded, so what a thread keeps stays small beside the pictures it decodes.
class BlockCache {
public:
    BlockCache() = default;
    BlockCache(const BlockCache&) = delete;
    BlockCache& operator=(const BlockCache&) = delete;
    ~BlockCache();

    // The smallest kept block that holds capacity bytes and wastes at most a third of
    // itself, or none.
    std::optional<Block> take(std::size_t capacity) {
        auto best = m_blocks.end();
        for (auto block = m_blocks.begin(); block != m_blocks.end(); ++block) {
            if (block->capacity >= capacity && block->capacity <= capacity + capacity / 2 &&
                (best == m_blocks.end() || block->capacity < best->capacity)) {
                best = block;
            }
        }
        if (best == m_blocks.end()) {
            return std::nullopt;
        }
        const Block taken = *best;
        m_held -= taken.capacity;
        m_blocks.erase(best);
        return taken;
    }

    // Keeps the block when there is room for it; otherwise the caller frees it.
    bool keep(std::uint8_t* bytes, std::size_t capacity) {
        if (m_blocks.size() == kMaxBlocks || m_held + capacity > kMaxBytes) {
            return false;
        }
        m_blocks.push_back({bytes, capacity});
        m_held += capacity;
        return true;
    }

private:
    static constexpr std::size_t kMaxBlocks = 6;
    static constexpr std::size_t kMaxBytes = 48 * 1024 * 1024;

    std::vector<Block> m_blocks;
    std::size_t m_held = 0;
};

thread_local BlockCache keptBlocks;
// Set once the thread's cache is gone: rasters of static objects are freed after it at exit.
thread_local bool keptBlocksGone = false;

BlockCache::~BlockCache() {
    for (const Block& block : m_blocks) {
        std::free(block.bytes);
    }
    keptBlocksGone = true;
}

Block allocate(std::size_t size) {
    if (size < kHugePage) {
        auto* bytes = static_cast<std::uint8_t*>(std::malloc(size == 0 ? 1 : size));
        if (!bytes) {
            throw std::bad_alloc();
        }
        return {bytes, size};
    }
    const std::size_t capacity = (size + kHugePage - 1) / kHugePage * kHugePage;
    if (!keptBlocksGone) {
        if (const auto kept = keptBlocks.take(capacity)) {
            return *kept;
        }
    }
    auto* bytes = static_cast<std::uint8_t*>(std::aligned_alloc(kHugePage, capacity));
    if (!bytes) {
        throw std::bad_alloc();
    }
    // Only advice: without transparent huge pages the memory works the same, just slower.
    madvise(bytes, capacity, MADV_HUGEPAGE);
    return {bytes, capacity};
}

} // namespace

void PixelBuffer::Free::operator()(std::uint8_t* bytes) const {
    if (capacity < kHugePage || keptBlocksGone || !keptBlocks.keep(bytes, capacity)) {
        std::free(bytes);
    }
}

PixelBuffer::Bytes PixelBuffer::allocated(std::size_t size) {
    const Block block = allocate(size);
    return Bytes(block.bytes, Free{block.capacity});
}

PixelBuffer::PixelBuffer(std::size_t size) : m_bytes(allocated(size)), m_size(size) {}

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

std::size_t PixelBuffer::capacity() const {
    return m_bytes ? m_bytes.get_deleter().capacity : 0;
}

void PixelBuffer::reserve(std::size_t capacity) {
    if (capacity > this->capacity() || !m_bytes) {
        m_bytes = allocated(capacity);
    }
}

void PixelBuffer::resize(std::size_t size) {
    if (size > capacity() || !m_bytes) {
        Bytes larger = allocated(size);
        if (m_size > 0) {
            std::memcpy(larger.get(), m_bytes.get(), m_size);
        }
        m_bytes = std::move(larger);
    }
    m_size = size;
}

} // namespace vellumar
