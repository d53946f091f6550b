#include "resource_copy.h"

#include <array>

#include "file_io.h"
#include "model/output_folders.h"
#include "project_error.h"
#include "text_util.h"

namespace vellumar {

namespace {

constexpr std::array<std::string_view, 5> kReferenceEnds = {".gif\"", ".jpg\"", ".bmp\"", ".css\"",
                                                            ".js\""};
constexpr std::string_view kValueStart = "=\"";

bool leavesTemplateFolder(std::string_view name) {
    if (name.empty() || name.front() == '/') {
        return true;
    }
    std::size_t start = 0;
    for (;;) {
        const std::size_t slash = name.find('/', start);
        if (name.substr(start, slash - start) == "..") {
            return true;
        }
        if (slash == std::string_view::npos) {
            return false;
        }
        start = slash + 1;
    }
}

} // namespace

std::vector<std::string> resourceReferences(std::string_view line) {
    const std::string lower = toLowerAscii(line);
    std::vector<std::string> names;
    std::size_t from = 0;
    for (;;) {
        std::size_t end = std::string::npos; // just past the closing quote
        for (std::string_view referenceEnd : kReferenceEnds) {
            const std::size_t at = lower.find(referenceEnd, from);
            if (at != std::string::npos &&
                (end == std::string::npos || at + referenceEnd.size() < end)) {
                end = at + referenceEnd.size();
            }
        }
        if (end == std::string::npos) {
            return names;
        }
        // The value starts after the nearest ="; one before the previous reference belongs
        // to that reference, so such a value has no start of its own and is skipped.
        const std::size_t valueStart = lower.rfind(kValueStart, end - 2);
        if (valueStart != std::string::npos && valueStart >= from) {
            const std::size_t nameStart = valueStart + kValueStart.size();
            names.emplace_back(line.substr(nameStart, end - 1 - nameStart));
        }
        from = end;
    }
}

void ExtractImgFile(const TemplateLines& lines, const std::string& programFolder,
                    const std::string& destinationFolder, const OutputPolicy& policy) {
    std::vector<std::string> names;
    for (const std::string& line : lines) {
        for (std::string& name : resourceReferences(line)) {
            if (leavesTemplateFolder(name)) {
                throw ProjectError("The style template refers to the file \"" + name +
                                   "\", which is not inside the template folder. No style file "
                                   "was copied.");
            }
            names.push_back(std::move(name));
        }
    }
    const std::string source = withTrailingSeparator(programFolder) + "template/";
    const std::string destination = withTrailingSeparator(destinationFolder);
    for (const std::string& name : names) {
        policy.checkNotProtected(destination + name);
        copyFileReplacing(source + name, destination + name);
    }
}

} // namespace vellumar
