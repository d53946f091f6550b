#pragma once

#include <set>
#include <span>
#include <string>
#include <vector>

#include "frontend.h"
#include "model/enums.h"
#include "model/img_entry.h"
#include "model/output_folders.h"
#include "model/owned_files.h"

namespace vellumar {

// How a build treats the folders and files it writes, by the overwrite mode. Thumbnails,
// large pictures and pages all follow these rules, so they live in one place.
//
// Protected paths are the project's own files (its pictures and the project file): they are
// never deleted and never overwritten by generated output, whatever the mode. "Always
// overwrite" deletes only the files that the owned files recognise as the gallery's own, and
// only those the new gallery no longer has, once all of it is written: until then the folder
// holds the earlier gallery with some of its files replaced by their new versions, so a
// build that fails or is stopped leaves a gallery whose every page finds its pictures.
// The files a build must leave alone: every picture of the project and the project file
// (empty while the project is unsaved).
std::vector<std::string> projectOwnFiles(std::span<const TImgEntry> entries,
                                         const std::string& projectPath);

class OutputPolicy {
public:
    OutputPolicy(OverwriteMode mode, Frontend& frontend,
                 const std::vector<std::string>& protectedPaths = {}, OwnedFiles owned = {});

    OverwriteMode mode() const { return m_mode; }

    // Refuses, before anything is touched, a folder that is a symbolic link (what is written
    // there would land in another folder) and, in Overwrite mode, the filesystem root and the
    // user's home folder.
    void checkFolderMayBePrepared(const std::string& folder) const;
    // The same for every folder of a gallery, and for links on the way from its destination
    // folder down to the others.
    void checkFoldersMayBePrepared(const OutputFolders& folders) const;

    // Creates a missing folder (its last level only). In an existing one, removes the
    // temporary files that a killed build left; nothing else, in any mode. Failures to
    // delete are ignored, as a failure to create shows up when the first file is written.
    void prepareFolder(const std::string& folder) const;

    // Whether a generated file may be written at path: Ask asks "Overwrite existing file: "
    // + path for an existing file, AddOnly writes new files only, Overwrite always writes.
    // A protected path fails with a ProjectError instead of being replaced.
    bool mayWrite(const std::string& path) const;

    // For files that always replace what is there (style files, buttons, backgrounds): fails
    // with a ProjectError when path is one of the project's own files.
    void checkNotProtected(const std::string& path) const;

    // Every path asked about through mayWrite or checkNotProtected is one of the new
    // gallery's files, written or kept. In Overwrite mode, deletes from the gallery's folders
    // the files that the owned files recognise and that are none of these: thumbnails, pages
    // and style files an earlier build wrote for a larger or different gallery. Every other
    // file, every sub-folder and the protected files stay, and links are removed as links.
    // Called once the whole gallery is written; failures to delete are ignored.
    void removeLeftovers(const OutputFolders& folders) const;

private:
    bool isProtected(const std::string& path) const;
    void noteOutput(const std::string& path) const;

    OverwriteMode m_mode;
    Frontend& m_frontend;
    std::set<std::string> m_protectedKeys;
    OwnedFiles m_owned;
    // Where this build's outputs are (location keys), filled as the build asks about them.
    // The build asks from one thread only.
    mutable std::set<std::string> m_outputKeys;
};

} // namespace vellumar
