#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <map>
#include <string>
#include <vector>

namespace vellumar {

// Finished pictures waiting for the loop that writes them: a build renders each large
// picture with its thumbnail but writes it only after the last thumbnail. They are kept in
// memory up to a budget and beyond it in hidden files beside their targets, named as the
// atomic writer names its temporary files, so that a killed build leaves nothing that a
// later build would not clear away, and a picture reaches its place by a rename. Whatever
// is still held when the store is dropped is deleted.
class HeldPictures {
public:
    explicit HeldPictures(std::size_t memoryBudget);
    ~HeldPictures();
    HeldPictures(const HeldPictures&) = delete;
    HeldPictures& operator=(const HeldPictures&) = delete;

    // Keeps the bytes of a picture that will be written to target. When they cannot wait on
    // disk, the failure ("Cannot write file "<target>". <reason>") is kept instead, for
    // write() to throw: it shows where the picture is written, if it ever is.
    void hold(const std::string& target, std::vector<std::uint8_t> bytes);
    // Puts the picture held for target at its place (complete or not at all) and forgets it.
    void write(const std::string& target);
    // Forgets the picture held for target, if any, without writing it.
    void drop(const std::string& target);

private:
    struct Held {
        std::vector<std::uint8_t> bytes;
        std::string spillPath; // set when the bytes are on disk instead
        std::exception_ptr failure;
    };
    std::string spill(const std::string& target, const std::vector<std::uint8_t>& bytes);

    std::size_t m_memoryBudget;
    std::size_t m_inMemory = 0;
    std::map<std::string, Held> m_held; // by target
    // A folder made only to hold spilled pictures, removed again if nothing was written
    // into it: a build that ends before its large pictures leaves no trace of them.
    std::string m_madeFolder;
};

} // namespace vellumar
