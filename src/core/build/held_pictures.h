#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vellumar {

// Finished pictures waiting for the loop that writes them: a build renders each large
// picture with its thumbnail but writes it only after the last thumbnail. They are kept in
// memory up to a budget and beyond it in hidden files of the folder given, named as the
// atomic writer names its temporary files, so that a killed build leaves nothing that a
// later build would not clear away. Whatever is still held when the store is dropped is
// deleted.
class HeldPictures {
public:
    HeldPictures(std::string spillFolder, std::size_t memoryBudget);
    ~HeldPictures();
    HeldPictures(const HeldPictures&) = delete;
    HeldPictures& operator=(const HeldPictures&) = delete;

    // Keeps the bytes of picture `index`. Fails with "Cannot write file ..." when the
    // spill file cannot be written.
    void hold(std::size_t index, std::vector<std::uint8_t> bytes);
    // Puts picture `index` at path (complete or not at all) and forgets it.
    void writeTo(std::size_t index, const std::string& path);
    // Forgets picture `index` without writing it.
    void drop(std::size_t index);

private:
    struct Held {
        std::vector<std::uint8_t> bytes;
        std::string spillPath; // set when the bytes are on disk instead
    };
    Held& slot(std::size_t index);

    std::string m_spillFolder;
    std::size_t m_memoryBudget;
    std::size_t m_inMemory = 0;
    std::vector<Held> m_held;
};

} // namespace vellumar
