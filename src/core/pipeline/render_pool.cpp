#include "render_pool.h"

#include <algorithm>
#include <chrono>
#include <new>
#include <sched.h>
#include <system_error>

#include "project_error.h"

namespace vellumar {

namespace {

// How often a waiting caller gets to handle its own events.
constexpr std::chrono::milliseconds kWaitSlice{20};

// Errors other than the project's own (memory running out, a library's failure) carry
// no user-facing text; they still end up as a message that names the picture.
std::exception_ptr asProjectError(const std::string& path) {
    try {
        throw;
    } catch (const ProjectError&) {
        return std::current_exception();
    } catch (const std::bad_alloc&) {
        return std::make_exception_ptr(
            ProjectError("Cannot read picture " + path + ": there is not enough memory."));
    } catch (const std::exception& error) {
        return std::make_exception_ptr(
            ProjectError("Cannot read picture " + path + ": " + error.what()));
    } catch (...) {
        return std::make_exception_ptr(
            ProjectError("Cannot read picture " + path + ": an unknown error occurred."));
    }
}

PictureOutcome render(const RenderRequest& request, const PictureFormatRegistry& formats) {
    PictureOutcome outcome;
    outcome.decoded = true;
    try {
        RenderedOutputs outputs = renderPicture(request, formats);
        outcome.thumbnail = std::move(outputs.thumbnail);
        outcome.doubleSizeThumbnail = std::move(outputs.doubleSizeThumbnail);
        outcome.largePicture = std::move(outputs.largePicture);
        outcome.extras = std::move(outputs.extras);
        outcome.metadata = std::move(outputs.metadata);
        outcome.colourNotice = std::move(outputs.colourNotice);
        return outcome;
    } catch (...) {
        outcome.largePictureError = asProjectError(request.path);
    }
    // Whether the thumbnail fails as well is known only by making it alone.
    outcome.thumbnailError = outcome.largePictureError;
    RenderRequest thumbnailsOnly = request;
    markLargePictureMade(thumbnailsOnly);
    if (request.largePicture && asksForOutputs(thumbnailsOnly)) {
        try {
            RenderedOutputs outputs = renderPicture(thumbnailsOnly, formats);
            outcome.thumbnail = std::move(outputs.thumbnail);
            outcome.doubleSizeThumbnail = std::move(outputs.doubleSizeThumbnail);
            outcome.extras = std::move(outputs.extras);
            outcome.colourNotice = std::move(outputs.colourNotice);
            outcome.thumbnailError = nullptr;
        } catch (...) {
            outcome.thumbnailError = asProjectError(request.path);
        }
    }
    return outcome;
}

} // namespace

int defaultWorkerCount() {
    // The cores this process may run on: fewer than the machine has under taskset or in a
    // container limited to some of them.
    cpu_set_t cores;
    if (::sched_getaffinity(0, sizeof(cores), &cores) == 0) {
        return std::max(1, CPU_COUNT(&cores));
    }
    return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

RenderPool::RenderPool(std::vector<RenderRequest> requests, int workerCount,
                       const PictureFormatRegistry& formats)
    : m_requests(std::move(requests)), m_formats(formats), m_outcomes(m_requests.size()) {
    const std::size_t workers =
        std::min<std::size_t>(static_cast<std::size_t>(std::max(workerCount, 1)),
                              std::max<std::size_t>(m_requests.size(), 1));
    // Two pictures a worker keep every worker busy while the taker writes files.
    m_window = 2 * workers;
    m_workers.reserve(workers);
    try {
        for (std::size_t i = 0; i < workers; ++i) {
            m_workers.emplace_back([this] { work(); });
        }
    } catch (const std::system_error& error) {
        stopWorkers();
        throw ProjectError(std::string("Cannot start the threads that render the pictures: ") +
                           error.what());
    }
}

RenderPool::~RenderPool() {
    stopWorkers();
}

void RenderPool::stopWorkers() {
    {
        const std::lock_guard lock(m_mutex);
        m_closing = true;
    }
    m_taken.notify_all();
    for (std::thread& worker : m_workers) {
        worker.join();
    }
}

void RenderPool::work() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        // Pictures that ask for nothing are passed at once, so a rebuild that needs only a
        // few pictures again renders those side by side however far apart they are.
        m_taken.wait(lock, [this] {
            return m_closing || (m_nextToRender < m_requests.size() &&
                                 (!asksForOutputs(m_requests[m_nextToRender]) || m_unTaken < m_window));
        });
        if (m_closing) {
            return;
        }
        const std::size_t index = m_nextToRender++;
        if (!asksForOutputs(m_requests[index])) {
            m_outcomes[index] = PictureOutcome{};
            m_rendered.notify_all();
            continue;
        }
        ++m_unTaken;
        lock.unlock();
        PictureOutcome outcome = render(m_requests[index], m_formats);
        lock.lock();
        m_outcomes[index] = std::move(outcome);
        m_rendered.notify_all();
    }
}

std::optional<PictureOutcome> RenderPool::take(std::size_t index,
                                               const std::function<bool()>& keepWaiting) {
    std::unique_lock lock(m_mutex);
    while (!m_outcomes[index]) {
        if (!m_rendered.wait_for(lock, kWaitSlice, [&] { return m_outcomes[index].has_value(); })) {
            lock.unlock();
            const bool wait = keepWaiting();
            lock.lock();
            if (!wait) {
                return std::nullopt;
            }
        }
    }
    PictureOutcome outcome = std::move(*m_outcomes[index]);
    m_outcomes[index].reset();
    if (outcome.decoded) {
        --m_unTaken;
    }
    lock.unlock();
    m_taken.notify_all();
    return outcome;
}

} // namespace vellumar
