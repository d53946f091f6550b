#include "picture_steps.h"

#include <exception>

#include "build/held_pictures.h"
#include "build/render_pool.h"
#include "imaging/atomic_file.h"
#include "model/gallery_file_names.h"
#include "progress_percent.h"
#include "text_util.h"

namespace vellumar {

namespace {

std::vector<RenderRequest> requestsFor(const BuildPlan& plan, std::span<const TImgEntry> entries) {
    std::vector<RenderRequest> requests(plan.pictureCount);
    for (std::size_t i = 0; i < plan.pictureCount; ++i) {
        RenderRequest& request = requests[i];
        request.path = trimBlanksAndControls(entries[i].file);
        request.crop = entries[i].crop;
        request.rotate = entries[i].rotate;
        request.thumbnail = plan.thumbnailBox;
        request.largePicture = true;
        request.largePictureBox = plan.largePictureBox;
        request.smoothScaling = plan.smoothScaling;
    }
    return requests;
}

// One build loop's frame around its pictures: the statuses and progress every loop gives.
class PictureLoop {
public:
    PictureLoop(const BuildPlan& plan, Frontend& frontend, const char* initializing)
        : m_count(static_cast<long long>(plan.pictureCount)), m_frontend(frontend) {
        m_frontend.status(initializing);
    }
    // False when the user asked to stop before picture i.
    bool begin(std::size_t i, const std::string& status) {
        if (m_frontend.stopRequested()) {
            return false;
        }
        m_frontend.processEvents();
        m_frontend.status(status + std::to_string(i));
        return true;
    }
    void end(std::size_t i) {
        m_frontend.processEvents();
        m_frontend.progress(progressPercent(static_cast<long long>(i), m_count));
    }
    void finish() {
        m_frontend.status("Finish");
        m_frontend.progress(0);
    }

private:
    long long m_count;
    Frontend& m_frontend;
};

PictureSize sizeOf(const RenderedPicture& picture) {
    return {picture.width, picture.height};
}

} // namespace

bool buildPictures(const BuildPlan& plan, const GallerySettings& settings,
                   std::span<const TImgEntry> entries, const OutputPolicy& policy,
                   Frontend& frontend, std::vector<BuiltSizes>& sizes) {
    sizes.assign(plan.pictureCount, {});
    RenderPool pool(requestsFor(plan, entries), plan.workerCount);
    HeldPictures held(plan.folders.root, plan.heldPictureMemory);
    const auto keepWaiting = [&frontend] {
        frontend.processEvents();
        return !frontend.stopRequested();
    };

    policy.prepareFolder(plan.folders.thumbs);
    // What the large-picture loop will meet at each picture: its size, or its error.
    std::vector<PictureSize> largePictureSizes(plan.pictureCount);
    std::vector<std::exception_ptr> largePictureErrors(plan.pictureCount);
    PictureLoop thumbnails(plan, frontend, "Initializing thumbnails......");
    for (std::size_t i = 1; i <= plan.pictureCount; ++i) {
        if (!thumbnails.begin(i, "Generating thumbnail file ")) {
            return false;
        }
        std::optional<PictureOutcome> outcome = pool.take(i - 1, keepWaiting);
        if (!outcome) {
            return false;
        }
        if (outcome->thumbnailError) {
            std::rethrow_exception(outcome->thumbnailError);
        }
        sizes[i - 1].thumbnail = sizeOf(*outcome->thumbnail);
        const std::string path = plan.folders.thumbs + thumbnailFileName(settings, i);
        if (policy.mayWrite(path)) {
            writeFileAtomically(path, outcome->thumbnail->jpeg);
        }
        if (outcome->largePicture) {
            largePictureSizes[i - 1] = sizeOf(*outcome->largePicture);
            held.hold(i - 1, std::move(outcome->largePicture->jpeg));
        } else {
            largePictureErrors[i - 1] = outcome->largePictureError;
        }
        thumbnails.end(i);
    }
    thumbnails.finish();

    policy.prepareFolder(plan.folders.pictures);
    PictureLoop largePictures(plan, frontend, "Initializing large pictures......");
    // Pictures kept at their own size are written afresh whatever the mode.
    const bool alwaysWrite = !plan.largePictureBox;
    for (std::size_t i = 1; i <= plan.pictureCount; ++i) {
        if (!largePictures.begin(i, "Generating large picture ")) {
            return false;
        }
        if (largePictureErrors[i - 1]) {
            std::rethrow_exception(largePictureErrors[i - 1]);
        }
        sizes[i - 1].largePicture = largePictureSizes[i - 1];
        const std::string path = plan.folders.pictures + largePictureFileName(i);
        if (alwaysWrite) {
            policy.checkNotProtected(path);
        }
        if (alwaysWrite || policy.mayWrite(path)) {
            held.writeTo(i - 1, path);
        } else {
            held.drop(i - 1);
        }
        largePictures.end(i);
    }
    largePictures.finish();
    return true;
}

} // namespace vellumar
