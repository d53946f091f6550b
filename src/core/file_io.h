#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vellumar {

// The first `limit` bytes of a file, or all of it. Fails with "Cannot open file <path>: ..."
// or "Cannot read file <path>: ...".
std::vector<std::uint8_t> readFileBytes(const std::string& path, std::size_t limit = SIZE_MAX);

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
