#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vellumar {

// The first `limit` bytes of a file, or all of it. Fails with "Cannot open file <path>: ..."
// or "Cannot read file <path>: ...".
std::vector<std::uint8_t> readFileBytes(const std::string& path, std::size_t limit = SIZE_MAX);

// A regular file open for reading at any offset, so that a big file is read piece by piece
// instead of whole. Its size is taken when it is opened: a file that grows meanwhile is read
// as it was.
class ReadOnlyFile {
public:
    // Fails with "Cannot open file <path>: <reason>", also for anything that is not a regular
    // file (a pipe, a device, a folder).
    explicit ReadOnlyFile(std::string path);
    ReadOnlyFile(ReadOnlyFile&& other) noexcept;
    ReadOnlyFile& operator=(ReadOnlyFile&&) = delete;
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
    ~ReadOnlyFile();

    const std::string& path() const { return m_path; }
    std::uint64_t size() const { return m_size; }
    // Copies the bytes at offset into out, fewer only where the file ends. Fails with
    // "Cannot read file <path>: <reason>".
    std::size_t readAt(std::uint64_t offset, std::span<std::uint8_t> out) const;

private:
    std::string m_path;
    int m_descriptor = -1;
    std::uint64_t m_size = 0;
};

// A whole text file. A file larger than maxBytes is refused, so a stray huge file named like
// a template cannot exhaust memory. Fails with "Cannot read file <path>: ...".
std::string readTextFile(const std::string& path, std::size_t maxBytes);

// Writes a generated text file: 8-bit, every line followed by CR LF, replacing what is there
// only once it is complete (AtomicFileWriter): a link in its place is replaced, not written
// through. Fails with "Cannot create file "<path>". <reason>" or "Cannot write file "<path>".
// <reason>".
void writeTextLines(const std::string& path, const std::vector<std::string>& lines);

// Whether two paths lead to the same existing file or folder.
bool sameFile(const std::string& a, const std::string& b);

// Byte-for-byte copy of a regular file, replacing a file of the same name as writeTextLines
// does; a file copied onto itself stays. Fails with "Cannot copy <source> to <destination>:
// <reason>".
void copyFileReplacing(const std::string& source, const std::string& destination);

} // namespace vellumar
