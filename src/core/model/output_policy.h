#pragma once

#include <set>
#include <span>
#include <string>
#include <vector>

#include "frontend.h"
#include "model/enums.h"
#include "model/img_entry.h"

namespace vellumar {

// How a build treats the folders and files it writes, by the overwrite mode. Thumbnails,
// large pictures and pages all follow these rules, so they live in one place.
//
// Protected paths are the project's own files (its pictures and the project file): they are
// never deleted and never overwritten by generated output, whatever the mode.
// The files a build must leave alone: every picture of the project and the project file
// (empty while the project is unsaved).
std::vector<std::string> projectOwnFiles(std::span<const TImgEntry> entries,
                                         const std::string& projectPath);

class OutputPolicy {
public:
    OutputPolicy(OverwriteMode mode, Frontend& frontend,
                 const std::vector<std::string>& protectedPaths = {});

    OverwriteMode mode() const { return m_mode; }

    // Refuses, before anything is touched, a folder that "Always overwrite" must never empty:
    // the filesystem root and the user's home folder. Other modes delete nothing and pass.
    void checkFolderMayBePrepared(const std::string& folder) const;

    // Creates a missing folder (its last level only); in Overwrite mode first deletes every
    // plain file directly inside an existing one. Sub-folders stay, symbolic links are removed
    // as links, protected files stay. Failures to delete are ignored, as a failure to create
    // shows up when the first file is written.
    void prepareFolder(const std::string& folder) const;

    // Whether a generated file may be written at path: Ask asks "Overwrite existing file: "
    // + path for an existing file, AddOnly writes new files only, Overwrite always writes.
    // A protected path fails with a ProjectError instead of being replaced.
    bool mayWrite(const std::string& path) const;

    // For files that always replace what is there (style files, buttons, backgrounds): fails
    // with a ProjectError when path is one of the project's own files.
    void checkNotProtected(const std::string& path) const;

private:
    bool isProtected(const std::string& path) const;

    OverwriteMode m_mode;
    Frontend& m_frontend;
    std::set<std::string> m_protectedKeys;
};

} // namespace vellumar
