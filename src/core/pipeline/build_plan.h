#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "html/index_layout.h"
#include "html/page_folder_links.h"
#include "html/template_file.h"
#include "imaging/memory_budget.h"
#include "model/enums.h"
#include "model/gallery_settings.h"
#include "model/output_folders.h"
#include "pipeline/picture_render.h"
#include "pipeline/render_pool.h"

namespace vellumar {

// What one run of the build driver writes and where, read from the settings and checked
// before anything is written. A gallery build and the preview are two plans over the same
// driver.
struct BuildPlan {
    enum class Kind {
        Gallery, // every picture into the destination, with statuses for every page
        Preview  // the first index page's pictures into the preview folder, which starts empty
    };
    Kind kind = Kind::Gallery;
    OutputFolders folders;
    PageFolderLinks links;
    OverwriteMode mode = OverwriteMode::Ask;
    std::size_t pictureCount = 0; // pictures 1..pictureCount are built
    IndexLayout layout;           // how those pictures spread over index pages
    PictureBox thumbnailBox;
    bool doubleSizeThumbnails = false;         // each thumbnail also at twice its box
    std::optional<PictureBox> largePictureBox; // nothing: pictures keep their own size
    bool smoothScaling = true;
    bool autoRotate = false;
    bool wideGamut = false;
    bool keepOriginalJpeg = false;
    std::vector<int> responsiveWidths;      // of the large pictures' smaller copies
    std::vector<ImageFormat> modernFormats; // written beside the JPEGs
    TemplateLines templateLines;
    int workerCount = 1;
    // What the pictures decoding at the same time may take together, in bytes.
    std::uint64_t memoryLimit = kDefaultMemoryLimit;
    // Large pictures wait for their loop in memory up to this many bytes, beyond it on disk.
    std::size_t heldPictureMemory = 64u << 20;
    // Whether outputs that earlier builds left unchanged are taken instead of made again,
    // and where the records of what was written are kept.
    bool reuse = true;
    std::string reuseFolder;
    // Whether a picture that cannot be read gets placeholder outputs and the build goes on,
    // instead of ending there.
    bool keepGoing = false;
};

// How the user asked a build to run.
struct BuildOptions {
    int workerCount = defaultWorkerCount();
    std::uint64_t memoryLimit = kDefaultMemoryLimit; // for the pictures decoding at once
    bool reuse = true;                               // take outputs earlier builds left unchanged
    bool keepGoing = false;                          // go on past pictures that cannot be read
};

// The plan of a gallery build of entryCount pictures. Every setting that would stop the
// build part-way (table or picture sizes below 1, output names that leave their folders, a
// destination that must not be emptied, a style that cannot be read) fails here with a
// ProjectError, so a refused build writes nothing.
BuildPlan galleryPlan(const GallerySettings& settings, std::size_t entryCount,
                      const std::string& programFolder, const BuildOptions& options);

// The folder the preview gallery is written to: programFolder + "preview/" when that can be
// written, else a "preview" folder in the program's cache folder. Creates it.
std::string previewFolder(const std::string& programFolder);

// The plan of a preview of the first index page's pictures into the preview folder, checked
// as a gallery build's plan is before the folder is looked for.
BuildPlan previewPlan(const GallerySettings& settings, std::size_t entryCount,
                      const std::string& programFolder, const BuildOptions& options);

} // namespace vellumar
