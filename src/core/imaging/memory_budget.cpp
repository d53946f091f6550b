#include "memory_budget.h"

#include <utility>

#include "project_error.h"

namespace vellumar {

MemoryBudget::Reservation::Reservation(Reservation&& other) noexcept
    : m_budget(std::exchange(other.m_budget, nullptr)), m_bytes(std::exchange(other.m_bytes, 0)) {}

MemoryBudget::Reservation& MemoryBudget::Reservation::operator=(Reservation&& other) noexcept {
    if (this != &other) {
        release();
        m_budget = std::exchange(other.m_budget, nullptr);
        m_bytes = std::exchange(other.m_bytes, 0);
    }
    return *this;
}

MemoryBudget::Reservation::~Reservation() {
    release();
}

void MemoryBudget::Reservation::release() {
    if (m_budget) {
        m_budget->giveBack(m_bytes);
        m_budget = nullptr;
    }
}

MemoryBudget::Reservation MemoryBudget::reserve(const std::string& path, PictureSize size,
                                                std::uint64_t bytes) {
    if (bytes > m_limit) {
        throw ProjectError("Picture too large to load in memory: " + path + " (" +
                           std::to_string(size.width) + " x " + std::to_string(size.height) +
                           " pixels needs " + megabytesText(bytes) + "; the limit is " +
                           megabytesText(m_limit) + ")");
    }
    std::unique_lock lock(m_mutex);
    const std::uint64_t ticket = m_nextTicket++;
    m_changed.wait(lock, [&] { return ticket == m_serving && m_taken + bytes <= m_limit; });
    m_taken += bytes;
    ++m_serving;
    m_changed.notify_all(); // the next in line may fit as well
    return Reservation(this, bytes);
}

void MemoryBudget::giveBack(std::uint64_t bytes) {
    {
        const std::lock_guard lock(m_mutex);
        m_taken -= bytes;
    }
    m_changed.notify_all();
}

std::string megabytesText(std::uint64_t bytes) {
    const std::string digits = std::to_string((bytes + 999'999) / 1'000'000);
    std::string text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            text += ',';
        }
        text += digits[i];
    }
    return text + " MB";
}

} // namespace vellumar
