#include "picture_steps.h"

#include <exception>
#include <limits>
#include <map>
#include <set>

#include "atomic_file.h"
#include "imaging/responsive_copy.h"
#include "model/gallery_file_names.h"
#include "pipeline/held_pictures.h"
#include "pipeline/output_fingerprint.h"
#include "pipeline/placeholder.h"
#include "pipeline/render_pool.h"
#include "pipeline/reuse_records.h"
#include "pipeline/thumbnail_tone.h"
#include "progress_percent.h"
#include "readers/picture_loader.h"
#include "text_util.h"

namespace vellumar {

namespace {

std::vector<RenderRequest> requestsFor(const BuildPlan& plan, std::span<const TImgEntry> entries) {
    std::vector<RenderRequest> requests(plan.pictureCount);
    const auto memory = std::make_shared<MemoryBudget>(plan.memoryLimit);
    for (std::size_t i = 0; i < plan.pictureCount; ++i) {
        RenderRequest& request = requests[i];
        request.path = trimBlanksAndControls(entries[i].file);
        request.crop = entries[i].crop;
        request.rotate = entries[i].rotate;
        request.thumbnail = plan.thumbnailBox;
        request.doubleSizeThumbnail = plan.doubleSizeThumbnails;
        request.largePicture = true;
        request.largePictureBox = plan.largePictureBox;
        request.smoothScaling = plan.smoothScaling;
        request.autoRotate = plan.autoRotate;
        request.wideGamut = plan.wideGamut;
        request.keepOriginalJpeg = plan.keepOriginalJpeg;
        request.responsiveWidths = plan.responsiveWidths;
        request.modernFormats = plan.modernFormats;
        request.memory = memory;
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

// One output file of one picture, and what an earlier build left of it.
struct Output {
    std::string path;
    std::optional<std::string> fingerprint; // nothing: the source cannot be looked at
    std::optional<PictureSize> reused;      // the size of the identical file already there
};

// The user-facing text of a worker's error; the pool hands over only project errors.
std::string messageOf(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& failure) {
        return failure.what();
    }
}

PictureSize sizeOf(const RenderedPicture& picture) {
    return {picture.width, picture.height};
}

// Every width is a candidate until the large picture's width is known.
constexpr int kAnyWidth = std::numeric_limits<int>::max();

bool isResponsiveCopy(const ExtraOutput& output) {
    return output.of == ExtraOutput::Of::ResponsiveCopy;
}

std::string extraOutputPath(const BuildPlan& plan, const GallerySettings& settings,
                            std::size_t picture, const ExtraOutput& output) {
    switch (output.of) {
    case ExtraOutput::Of::Thumbnail:
        return plan.folders.thumbs + inFormat(thumbnailFileName(settings, picture), output.format);
    case ExtraOutput::Of::DoubleSizeThumbnail:
        return plan.folders.thumbs +
               inFormat(doubleSizeThumbnailFileName(settings, picture), output.format);
    case ExtraOutput::Of::ResponsiveCopy:
        break;
    }
    return plan.folders.pictures +
           inFormat(responsiveCopyFileName(picture, output.width), output.format);
}

class PictureBuilder {
public:
    PictureBuilder(const BuildPlan& plan, const GallerySettings& settings,
                   std::span<const TImgEntry> entries, const PictureFormatRegistry& formats,
                   const OutputPolicy& policy, Frontend& frontend)
        : m_plan(plan), m_formats(formats), m_policy(policy), m_frontend(frontend),
          m_records(plan.reuseFolder, plan.reuse), m_held(plan.heldPictureMemory),
          m_thumbnails(plan.pictureCount), m_largePictures(plan.pictureCount),
          m_largePictureSizes(plan.pictureCount), m_largePictureErrors(plan.pictureCount),
          m_largePictureStandIns(plan.pictureCount), m_extras(plan.pictureCount),
          m_paths(plan.pictureCount) {
        m_records.removeAbandonedWrites();
        std::vector<RenderRequest> requests = requestsFor(plan, entries);
        for (std::size_t i = 0; i < plan.pictureCount; ++i) {
            m_paths[i] = requests[i].path;
            m_thumbnails[i] = lookUp(plan.folders.thumbs + thumbnailFileName(settings, i + 1),
                                     thumbnailFingerprint(requests[i]));
            if (plan.doubleSizeThumbnails) {
                m_doubleSizeThumbnails.push_back(
                    lookUp(plan.folders.thumbs + doubleSizeThumbnailFileName(settings, i + 1),
                           doubleSizeThumbnailFingerprint(requests[i])));
                requests[i].doubleSizeThumbnailMade = m_doubleSizeThumbnails[i].reused.has_value();
            }
            m_largePictures[i] = lookUp(plan.folders.pictures + largePictureFileName(i + 1),
                                        largePictureFingerprint(requests[i]));
            // Only what is not there already is rendered; a picture with all is not decoded.
            requests[i].thumbnailMade = m_thumbnails[i].reused.has_value();
            requests[i].largePictureMade = m_largePictures[i].reused.has_value();
            lookUpExtras(plan, settings, i, requests[i]);
        }
        m_pool.emplace(std::move(requests), plan.workerCount, formats);
    }

    bool thumbnailLoop(PictureResults& results) {
        m_policy.prepareFolder(m_plan.folders.thumbs);
        const auto keepWaiting = [this] {
            m_frontend.processEvents();
            return !m_frontend.stopRequested();
        };
        PictureLoop loop(m_plan, m_frontend, "Initializing thumbnails......");
        for (std::size_t i = 1; i <= m_plan.pictureCount; ++i) {
            if (!loop.begin(i, "Generating thumbnail file ")) {
                return false;
            }
            std::optional<PictureOutcome> outcome = m_pool->take(i - 1, keepWaiting);
            if (!outcome) {
                return false;
            }
            const Output& thumbnail = m_thumbnails[i - 1];
            const Output* doubleSize =
                m_doubleSizeThumbnails.empty() ? nullptr : &m_doubleSizeThumbnails[i - 1];
            const bool failed = outcome->thumbnailError &&
                                (!thumbnail.reused || (doubleSize && !doubleSize->reused));
            if (failed) {
                outcome->thumbnail =
                    standIn(i - 1, outcome->thumbnailError, m_plan.thumbnailBox, results);
                outcome->doubleSizeThumbnail = standIn(i - 1, outcome->thumbnailError,
                                                       doubleSizeOf(m_plan.thumbnailBox), results);
            }
            results.sizes[i - 1].thumbnail =
                writeUnlessReused(thumbnail, outcome->thumbnail, !failed);
            if (doubleSize) {
                writeUnlessReused(*doubleSize, outcome->doubleSizeThumbnail, !failed);
            }
            if (!failed) {
                writeThumbnailTwins(i - 1, *outcome);
                results.published[i - 1].thumbnailFormats = m_plan.modernFormats;
            }
            // From the file the folder now holds, which the page will show, however it got
            // there.
            results.thumbnailTones[i - 1] = thumbnailFileTone(thumbnail.path);
            if (!outcome->colourNotice.empty()) {
                m_frontend.notice(outcome->colourNotice);
            }
            if (outcome->decoded) {
                ++results.decodedPictures;
                results.metadata[i - 1] = std::move(outcome->metadata);
            } else {
                // Both outputs were there already; the pages still want what the file says.
                results.metadata[i - 1] = readPictureMetadata(m_paths[i - 1], m_formats);
            }
            holdLargePicture(i - 1, *outcome, results);
            loop.end(i);
        }
        loop.finish();
        return true;
    }

    bool largePictureLoop(PictureResults& results) {
        m_policy.prepareFolder(m_plan.folders.pictures);
        PictureLoop loop(m_plan, m_frontend, "Initializing large pictures......");
        // Pictures kept at their own size are written afresh whatever the mode.
        const bool alwaysWrite = !m_plan.largePictureBox;
        for (std::size_t i = 1; i <= m_plan.pictureCount; ++i) {
            if (!loop.begin(i, "Generating large picture ")) {
                return false;
            }
            if (m_largePictureErrors[i - 1]) {
                std::rethrow_exception(m_largePictureErrors[i - 1]);
            }
            const Output& largePicture = m_largePictures[i - 1];
            results.sizes[i - 1].largePicture = m_largePictureSizes[i - 1];
            if (alwaysWrite) {
                m_policy.checkNotProtected(largePicture.path);
            }
            const bool wanted = alwaysWrite || m_policy.mayWrite(largePicture.path);
            if (!largePicture.reused && wanted) {
                m_held.write(largePicture.path);
                if (!m_largePictureStandIns[i - 1]) {
                    recordWritten(largePicture, m_largePictureSizes[i - 1]);
                }
            } else {
                m_held.drop(largePicture.path);
            }
            if (!m_largePictureStandIns[i - 1]) {
                writeResponsiveCopies(i - 1, results);
            }
            loop.end(i);
        }
        loop.finish();
        return true;
    }

private:
    // Looks up every extra output a picture may have, and tells the request which need not be
    // made: those already there, and copies at least as wide as a large picture that is.
    void lookUpExtras(const BuildPlan& plan, const GallerySettings& settings, std::size_t index,
                      RenderRequest& request) {
        const std::optional<PictureSize>& largePicture = m_largePictures[index].reused;
        for (const ExtraOutput& output : extraOutputsOf(request, kAnyWidth)) {
            Output& found =
                m_extras[index]
                    .emplace(output, lookUp(extraOutputPath(plan, settings, index + 1, output),
                                            extraOutputFingerprint(request, output)))
                    .first->second;
            const bool unwanted =
                isResponsiveCopy(output) && largePicture && output.width >= largePicture->width;
            if (found.reused || unwanted) {
                request.extrasMade.insert(output);
            }
        }
    }

    void writeThumbnailTwins(std::size_t index, const PictureOutcome& outcome) {
        for (const auto& [output, twin] : m_extras[index]) {
            const std::optional<RenderedPicture> rendered = renderedExtra(outcome, output);
            if (!isResponsiveCopy(output) && (twin.reused || rendered)) {
                writeUnlessReused(twin, rendered, true);
            }
        }
    }

    // The copies of a large picture narrower than it, written as its own file is, each by
    // the overwrite mode.
    void writeResponsiveCopies(std::size_t index, PictureResults& results) {
        const PictureSize large = m_largePictureSizes[index];
        for (const auto& [output, copy] : m_extras[index]) {
            if (!isResponsiveCopy(output) || output.width >= large.width) {
                continue;
            }
            if (copy.reused) {
                m_policy.mayWrite(copy.path);
            } else if (m_policy.mayWrite(copy.path)) {
                m_held.write(copy.path);
                recordWritten(copy, responsiveCopySize(output.width, large));
            } else {
                m_held.drop(copy.path);
            }
        }
        PublishedExtras& published = results.published[index];
        for (const PictureSize copy : responsiveCopySizes(m_plan.responsiveWidths, large)) {
            published.responsiveWidths.push_back(copy.width);
        }
        published.responsiveFormats = m_plan.modernFormats;
    }

    static std::optional<RenderedPicture> renderedExtra(const PictureOutcome& outcome,
                                                        const ExtraOutput& output) {
        const auto found = outcome.extras.find(output);
        return found == outcome.extras.end() ? std::nullopt
                                             : std::optional<RenderedPicture>(found->second);
    }

    Output lookUp(std::string path, std::optional<std::string> fingerprint) const {
        Output output{std::move(path), std::move(fingerprint), std::nullopt};
        if (output.fingerprint) {
            output.reused = m_records.find(output.path, *output.fingerprint);
        }
        return output;
    }

    // The size of the output as the folder ends up holding it; each file follows the
    // overwrite mode on its own, and one identical to what would be written is asked about as
    // ever but left as it is.
    PictureSize writeUnlessReused(const Output& output,
                                  const std::optional<RenderedPicture>& rendered,
                                  bool madeFromSource) {
        if (output.reused) {
            m_policy.mayWrite(output.path);
            return *output.reused;
        }
        if (m_policy.mayWrite(output.path)) {
            write(output, rendered->bytes, sizeOf(*rendered), madeFromSource);
        }
        return sizeOf(*rendered);
    }

    void holdLargePicture(std::size_t index, PictureOutcome& outcome, PictureResults& results) {
        for (auto& [output, copy] : outcome.extras) {
            if (isResponsiveCopy(output)) {
                m_held.hold(m_extras[index].at(output).path, std::move(copy.bytes));
            }
        }
        if (m_largePictures[index].reused) {
            m_largePictureSizes[index] = *m_largePictures[index].reused;
            return;
        }
        if (outcome.largePictureError && m_plan.keepGoing) {
            outcome.largePicture =
                standIn(index, outcome.largePictureError, m_plan.largePictureBox, results);
            m_largePictureStandIns[index] = true;
        }
        if (outcome.largePicture) {
            m_largePictureSizes[index] = sizeOf(*outcome.largePicture);
            m_held.hold(m_largePictures[index].path, std::move(outcome.largePicture->bytes));
        } else {
            m_largePictureErrors[index] = outcome.largePictureError;
        }
    }

    // The placeholder for an output that could not be made, when the build is to go on;
    // otherwise the output's error ends the loop. The picture is listed once however many of
    // its outputs fail.
    RenderedPicture standIn(std::size_t index, const std::exception_ptr& error,
                            const std::optional<PictureBox>& box, PictureResults& results) {
        if (!m_plan.keepGoing) {
            std::rethrow_exception(error);
        }
        if (m_skipped.insert(index).second) {
            results.skipped.push_back({m_paths[index], messageOf(error)});
        }
        return placeholderPicture(box);
    }

    // A placeholder is never recorded as made from its source: a later build, with or
    // without going on past errors, must try the picture again.
    void write(const Output& output, const std::vector<std::uint8_t>& jpeg, PictureSize size,
               bool madeFromSource) {
        writeFileAtomically(output.path, jpeg);
        if (madeFromSource) {
            recordWritten(output, size);
        }
    }

    void recordWritten(const Output& output, PictureSize size) {
        if (output.fingerprint) {
            m_records.record(output.path, *output.fingerprint, size);
        }
    }

    const BuildPlan& m_plan;
    const PictureFormatRegistry& m_formats;
    const OutputPolicy& m_policy;
    Frontend& m_frontend;
    ReuseRecords m_records;
    HeldPictures m_held;
    std::vector<Output> m_thumbnails;
    std::vector<Output> m_doubleSizeThumbnails; // empty when they are not made
    std::vector<Output> m_largePictures;
    // What the large-picture loop will meet at each picture: its size, or its error.
    std::vector<PictureSize> m_largePictureSizes;
    std::vector<std::exception_ptr> m_largePictureErrors;
    std::vector<bool> m_largePictureStandIns;
    std::vector<std::map<ExtraOutput, Output>> m_extras;
    std::vector<std::string> m_paths;
    std::set<std::size_t> m_skipped;
    // Last, so its workers are joined before anything they could still be handing over to.
    std::optional<RenderPool> m_pool;
};

} // namespace

bool buildPictures(const BuildPlan& plan, const GallerySettings& settings,
                   std::span<const TImgEntry> entries, const PictureFormatRegistry& formats,
                   const OutputPolicy& policy, Frontend& frontend, PictureResults& results) {
    results.sizes.assign(plan.pictureCount, {});
    results.metadata.assign(plan.pictureCount, {});
    results.thumbnailTones.assign(plan.pictureCount, std::nullopt);
    results.published.assign(plan.pictureCount, {});
    results.decodedPictures = 0;
    PictureBuilder builder(plan, settings, entries, formats, policy, frontend);
    return builder.thumbnailLoop(results) && builder.largePictureLoop(results);
}

} // namespace vellumar
