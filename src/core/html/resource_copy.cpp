#include "resource_copy.h"

#include <array>
#include <filesystem>

#include "file_io.h"
#include "folder_containment.h"
#include "model/output_folders.h"
#include "model/style_list.h"
#include "path_text.h"
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

std::string templateFolderOf(const std::string& programFolder) {
    return withTrailingSeparator(programFolder) + "template/";
}

// The folder a file goes into, for a path of a folder and a relative name.
std::string parentOf(const std::string& path) {
    return path.substr(0, path.find_last_of('/') + 1);
}

// A style file in a sub-folder gets that folder in the gallery, made one level at a time,
// each checked to lie inside the gallery before it is made or entered.
void makeFoldersFor(const std::string& destination, const std::string& name,
                    const std::string& style) {
    std::string folder = destination;
    for (std::size_t start = 0, slash = name.find('/'); slash != std::string::npos;
         start = slash + 1, slash = name.find('/', start)) {
        folder += name.substr(start, slash + 1 - start);
        if (!liesInside(folder, destination)) {
            throw ProjectError("The style " + style + " refers to the file \"" + name +
                               "\", which would be written outside " + destination + ".");
        }
        std::error_code error;
        if (!std::filesystem::is_directory(folder, error) &&
            !std::filesystem::create_directory(folder, error) && error) {
            throw ProjectError("Cannot copy the style file \"" + name + "\" of the style " + style +
                               ": the folder " + folder + " cannot be made: " + error.message() +
                               ".");
        }
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

TemplateFiles templateFilesOf(const std::string& programFolder, const std::string& style) {
    TemplateFiles files{templateFolderOf(programFolder), {}};
    try {
        for (const std::string& line : loadTemplate(programFolder, style)) {
            for (std::string& name : resourceReferences(line)) {
                files.names.push_back(std::move(name));
            }
        }
    } catch (const ProjectError&) {
        // The build that loads the template reports it; until then no file is the style's.
    }
    return files;
}

void ExtractImgFile(const TemplateLines& lines, const std::string& programFolder,
                    const std::string& style, const std::string& destinationFolder,
                    const OutputPolicy& policy) {
    const std::string source = templateFolderOf(programFolder);
    const std::string destination = withTrailingSeparator(destinationFolder);
    std::vector<std::string> names;
    for (const std::string& line : lines) {
        for (std::string& name : resourceReferences(line)) {
            // Links are followed on both sides: a file or folder of the template folder that
            // leads elsewhere is as far out as a ".." step.
            if (leavesTemplateFolder(name) || !liesInside(source + name, source)) {
                throw ProjectError("The style " + style + " refers to the file \"" + name +
                                   "\", which is not inside " + source +
                                   ". No style file was copied.");
            }
            // A link in the file's own place is replaced; one in a folder on the way is not.
            if (name.find('/') != std::string::npos &&
                !liesInside(parentOf(destination + name), destination)) {
                throw ProjectError("The style " + style + " refers to the file \"" + name +
                                   "\", which would be written outside " + destination +
                                   ". No style file was copied.");
            }
            names.push_back(std::move(name));
        }
    }
    for (const std::string& name : names) {
        policy.checkNotProtected(destination + name);
        makeFoldersFor(destination, name, style);
        copyFileReplacing(source + name, destination + name);
    }
}

} // namespace vellumar
