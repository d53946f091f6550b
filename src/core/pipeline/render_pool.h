#pragma once

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "pipeline/picture_render.h"

namespace vellumar {

// What rendering one picture gave: each output, or the error that kept it from being made.
// A picture that cannot be read fails both; an output that fails on its own (a large
// picture too big to hold, say) leaves the other intact, so each build loop meets exactly
// the error it would have met rendering alone.
struct PictureOutcome {
    bool decoded = false; // false when nothing was asked of the picture
    std::optional<RenderedPicture> thumbnail;
    std::optional<RenderedPicture> doubleSizeThumbnail;
    std::exception_ptr thumbnailError; // the double-size version's and the twins' as well
    std::optional<RenderedPicture> largePicture;
    std::exception_ptr largePictureError; // its responsive copies' as well
    std::map<ExtraOutput, RenderedPicture> extras;
    PictureMetadata metadata; // when decoded
    std::string colourNotice; // said by the thread that runs the build
};

// Renders pictures on worker threads ahead of the one thread that asks the questions and
// writes the files. That thread takes the outcomes in list order; the workers hold at most a
// few rendered pictures it has not taken yet, so memory stays bounded however long the list
// is.
class RenderPool {
public:
    // Fails with a ProjectError when the system cannot start the workers.
    RenderPool(std::vector<RenderRequest> requests, int workerCount,
               const PictureFormatRegistry& formats);
    // Workers finish the picture in hand and are joined; outcomes not taken are dropped.
    ~RenderPool();
    RenderPool(const RenderPool&) = delete;
    RenderPool& operator=(const RenderPool&) = delete;

    // The outcome of request `index` (from 0; indexes are taken in increasing order). While
    // it is not ready, keepWaiting is called every few milliseconds; when it returns false
    // the wait is given up and nothing is returned.
    std::optional<PictureOutcome> take(std::size_t index, const std::function<bool()>& keepWaiting);

private:
    void work();
    void stopWorkers();

    std::vector<RenderRequest> m_requests;
    const PictureFormatRegistry& m_formats;
    std::vector<std::optional<PictureOutcome>> m_outcomes;
    std::size_t m_window;
    std::size_t m_nextToRender = 0;
    std::size_t m_unTaken = 0; // pictures rendered or being rendered, not yet taken
    bool m_closing = false;
    std::mutex m_mutex;
    std::condition_variable m_rendered;
    std::condition_variable m_taken;
    std::vector<std::thread> m_workers;
};

// One worker per core this process may run on, as far as the system tells.
int defaultWorkerCount();

} // namespace vellumar
