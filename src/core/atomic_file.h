#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace vellumar {

// Writes a file so that it appears complete or not at all: the bytes go to a temporary file
// in the same folder, which is renamed over the destination on commit(). Until then an
// earlier file of that name stays as it was; a writer dropped without commit() removes its
// temporary file.
class AtomicFileWriter {
public:
    // The text of a failure, from what failed ("create" or "write") and the system's error
    // number.
    using FailureText = std::function<std::string(std::string_view action, int error)>;

    // Creates the temporary file; fails with "Cannot create file "<path>". <reason>", or
    // with what failureText makes of it.
    explicit AtomicFileWriter(std::string path, FailureText failureText = {});
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Fails with "Cannot write file "<path>". <reason>".
    void write(std::span<const std::uint8_t> bytes);
    // Puts what was written on the disk before commit() renames it, and makes commit() put
    // the rename there too, so that not even a crash can leave a truncated file in place of
    // the old one. Costs a disk flush: for files that are worth it. Fails like write().
    void sync();
    // Puts the file in place; fails with "Cannot create file "<path>". <reason>".
    void commit();

private:
    [[noreturn]] void fail(std::string_view action, int error) const;

    std::string m_path;
    FailureText m_failureText;
    std::string m_temporaryPath;
    int m_descriptor = -1;
    bool m_durable = false;
};

// A hidden name beside path for a file on its way there, unique to this process and attempt:
// ".<name>.<process id>-<attempt>.tmp". Whatever is left under such a name by a process that
// is gone was never finished.
std::string temporaryNameFor(const std::string& path, int attempt);

// The whole of `bytes` as the file at `path`, replacing an earlier one only when complete.
void writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

// Whether a file name is that of a temporary file of this writer whose process has ended
// without committing or removing it, as a killed process leaves it.
bool isAbandonedTemporaryFile(std::string_view fileName);

} // namespace vellumar
