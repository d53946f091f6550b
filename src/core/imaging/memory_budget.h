#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>

#include "imaging/picture_size.h"

namespace vellumar {

// 2 GB: one picture at the largest size a reader accepts (400 million pixels, 1.2 GB as a
// 24-bit bitmap) fits, with room for what its outputs take.
inline constexpr std::uint64_t kDefaultMemoryLimit = 2'000'000'000;

// The memory that pictures decoding at the same time may take together. A picture whose
// decode alone would need more than the limit is refused before anything is allocated; one
// that fits alone waits while the pictures in hand leave too little, so with several
// workers two big pictures are decoded one after the other. Waiting is first come, first
// served, so a big picture is not passed over for ever by smaller ones.
class MemoryBudget {
public:
    explicit MemoryBudget(std::uint64_t limit = kDefaultMemoryLimit) : m_limit(limit) {}
    MemoryBudget(const MemoryBudget&) = delete;
    MemoryBudget& operator=(const MemoryBudget&) = delete;

    std::uint64_t limit() const { return m_limit; }

    // Memory taken from the budget until the reservation is dropped.
    class Reservation {
    public:
        Reservation() = default;
        Reservation(Reservation&& other) noexcept;
        Reservation& operator=(Reservation&& other) noexcept;
        ~Reservation();

    private:
        friend class MemoryBudget;
        Reservation(MemoryBudget* budget, std::uint64_t bytes) : m_budget(budget), m_bytes(bytes) {}
        void release();

        MemoryBudget* m_budget = nullptr;
        std::uint64_t m_bytes = 0;
    };

    // Takes `bytes` for decoding the picture at path, of `size` pixels. Fails with
    // "Picture too large to load in memory: <path> (<w> x <h> pixels needs <n> MB; the limit
    // is <l> MB)" when they exceed the whole limit; else waits until they fit beside what
    // other pictures hold.
    Reservation reserve(const std::string& path, PictureSize size, std::uint64_t bytes);

private:
    void giveBack(std::uint64_t bytes);

    const std::uint64_t m_limit;
    std::uint64_t m_taken = 0;
    std::uint64_t m_nextTicket = 0;
    std::uint64_t m_serving = 0;
    std::mutex m_mutex;
    std::condition_variable m_changed;
};

// Bytes as whole megabytes (millions of bytes, rounded up) with thousands separated by
// commas: "1,200 MB".
std::string megabytesText(std::uint64_t bytes);

} // namespace vellumar
