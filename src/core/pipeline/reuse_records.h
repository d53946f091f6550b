#pragma once

#include <optional>
#include <string>

#include "imaging/picture_size.h"

namespace vellumar {

// What earlier builds wrote: for every thumbnail and large picture, the fingerprint of what
// produced it and the file as it was written. One small file per output in a folder of the
// user's cache, each written whole or not at all, so builds running at once never spoil each
// other's records. A record that is missing, damaged, from another version, or whose output
// file has changed since is simply not found.
class ReuseRecords {
public:
    // lookUp off: nothing is ever found, but what is written is still recorded.
    ReuseRecords(std::string folder, bool lookUp);

    // The size recorded for the output at path when the record's fingerprint is this one
    // and the file on disk is still the one that was written.
    std::optional<PictureSize> find(const std::string& path, const std::string& fingerprint) const;
    // Records the file just written at path. A record that cannot be written is given up:
    // the next build renders the picture again.
    void record(const std::string& path, const std::string& fingerprint, PictureSize size) const;

    // Removes the half-written records that builds killed while writing them left in the
    // folder; those of builds still running stay.
    void removeAbandonedWrites() const;

private:
    std::string recordFileOf(const std::string& path) const;

    std::string m_folder;
    bool m_lookUp;
};

} // namespace vellumar
