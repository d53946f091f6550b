#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vellumar {

// A picture that could not be read, and the reader's reason (which names the file).
struct PictureFailure {
    std::string file;
    std::string reason;
};

// "These N pictures cannot be read:" (or "This picture cannot be read:").
std::string unreadablePicturesHeading(std::size_t count);

// One message for many failures: the heading, then the first ten reasons a line each (with
// the file in front when a reason does not name it) and, past ten, how many more there are,
// so a folder of broken files gives one readable notice.
std::string failureListMessage(std::string_view heading,
                               const std::vector<PictureFailure>& failures);

// The same for files named without a reason: the first ten a line each, then the count.
std::string fileListMessage(std::string_view heading, const std::vector<std::string>& files);

} // namespace vellumar
