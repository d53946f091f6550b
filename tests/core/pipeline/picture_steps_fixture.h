#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "atomic_file.h"
#include "imaging/jpeg_writer.h"
#include "model/style_list.h"
#include "pipeline/build_driver.h"
#include "pipeline/build_plan.h"
#include "pipeline/picture_steps.h"
#include "readers/picture_loader.h"
#include "readers/reader_table.h"
#include "support/file_contents.h"
#include "support/scratch_folder.h"
#include "support/scripted_frontend.h"
#include "support/test_pictures.h"

namespace vellumar::testing {

namespace fs = std::filesystem;

// The picture loops as a gallery build runs them, with one worker and with several (the
// parameter): what the user sees and what lands on disk must not depend on how many workers
// render.
class PictureStepsFixture : public ::testing::TestWithParam<int> {
protected:
    PictureStepsFixture() {
        settings.Style = listStyles(kProgramFolder).front();
        settings.DestFolder = destination();
        // The files every gallery has; what a build writes beside them is tested on its own.
        settings.ResponsiveWidths = {};
        settings.ModernFormats = ModernFormatChoice::None;
        fs::create_directories(destination());
    }

    // A JPEG source picture of the given size in the scratch folder.
    void addPicture(const std::string& name, int width, int height) {
        const std::string path = scratch.folder() + "src/" + name;
        fs::create_directories(scratch.path() / "src");
        writeFileAtomically(path, encodeJpeg(filledPicture(width, height, {90, 140, 60})));
        TImgEntry entry;
        entry.file = path;
        entry.title = name;
        entries.push_back(entry);
    }
    void addPictures(int count) {
        for (int i = 1; i <= count; ++i) {
            addPicture("photo" + std::to_string(i) + ".jpg", 40 + i, 30);
        }
    }

    bool run(OverwriteMode mode, std::size_t heldMemory = 64u << 20) {
        settings.Overwrite = mode;
        BuildPlan plan = galleryPlan(settings, entries.size(), kProgramFolder, {GetParam()});
        plan.heldPictureMemory = heldMemory;
        plan.reuse = reuse;
        plan.reuseFolder = scratch.folder() + "reuse/";
        const OutputPolicy policy = outputPolicyOf(plan, settings, kProgramFolder, {}, frontend);
        if (!buildPictures(plan, settings, entries, pictureFormats(), policy, frontend, results)) {
            return false;
        }
        // As the page step ends a whole build, with what "Always overwrite" leaves out.
        policy.removeLeftovers(plan.folders);
        return true;
    }

    // Large pictures resized to fit 600 x 600, which the small test pictures already do.
    void resizeLargePictures() {
        settings.ResizePic = true;
        settings.PicHeight.on = false;
    }

    std::string destination() const { return scratch.folder() + "gallery/"; }
    PictureSize sizeOf(const std::string& file) {
        return probePictureFile(destination() + file, pictureFormats());
    }
    bool exists(const std::string& file) const { return fs::exists(destination() + file); }

    // Every file of the gallery with its bytes.
    std::map<std::string, std::string> galleryFiles() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(destination())) {
            if (entry.is_regular_file()) {
                files[fs::relative(entry.path(), destination()).string()] = readFile(entry.path());
            }
        }
        return files;
    }

    // Hidden temporary files anywhere below the scratch folder.
    std::vector<std::string> leftovers() const {
        std::vector<std::string> found;
        for (const auto& entry : fs::recursive_directory_iterator(scratch.path())) {
            if (entry.path().extension() == ".tmp") {
                found.push_back(entry.path().string());
            }
        }
        return found;
    }

    static inline const std::string kProgramFolder = VELLUMAR_SOURCE_DATA_DIR "/";
    ScratchFolder scratch;
    std::vector<TImgEntry> entries;
    GallerySettings settings;
    ScriptedFrontend frontend;
    PictureResults results;
    bool reuse = true;
};

} // namespace vellumar::testing
