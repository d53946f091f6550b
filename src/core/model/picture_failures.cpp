#include "picture_failures.h"

#include <algorithm>

namespace vellumar {

namespace {

constexpr std::size_t kListedAtMost = 10;

} // namespace

std::string unreadablePicturesHeading(std::size_t count) {
    return count == 1 ? "This picture cannot be read:"
                      : "These " + std::to_string(count) + " pictures cannot be read:";
}

std::string fileListMessage(std::string_view heading, const std::vector<std::string>& files) {
    std::string message(heading);
    const std::size_t listed = std::min(files.size(), kListedAtMost);
    for (std::size_t i = 0; i < listed; ++i) {
        message += "\n" + files[i];
    }
    if (files.size() > listed) {
        message += "\n... and " + std::to_string(files.size() - listed) + " more.";
    }
    return message;
}

std::string failureListMessage(std::string_view heading,
                               const std::vector<PictureFailure>& failures) {
    std::vector<std::string> reasons;
    reasons.reserve(failures.size());
    for (const PictureFailure& failure : failures) {
        // A reason from deep inside (an encoder's) may not say which file it is about.
        const bool named = failure.reason.find(failure.file) != std::string::npos;
        reasons.push_back(named ? failure.reason : failure.file + ": " + failure.reason);
    }
    return fileListMessage(heading, reasons);
}

} // namespace vellumar
