#include "file_info.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>

#include "frontend.h"
#include "path_text.h"
#include "project_error.h"
#include "readers/picture_loader.h"

namespace vellumar {

namespace {

std::string fileSizeText(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        throw ProjectError("Cannot open file " + path + ": " + std::strerror(errno));
    }
    return std::to_string(info.st_size);
}

} // namespace

FileInfoRow fileInfoRowOf(const std::string& path, const PictureFormatRegistry& registry,
                          bool sizesAsCameraHeld) {
    const PictureSize size = probePictureFile(path, registry, sizesAsCameraHeld);
    return {fileNameOf(path), std::to_string(size.width) + " X " + std::to_string(size.height),
            fileSizeText(path)};
}

FileInfoRow gridRowOf(const std::string& path, const PictureFormatRegistry& registry,
                      std::vector<PictureFailure>& unreadable, bool sizesAsCameraHeld) {
    try {
        return fileInfoRowOf(path, registry, sizesAsCameraHeld);
    } catch (const ProjectError& error) {
        unreadable.push_back({path, error.what()});
        std::error_code sizeError;
        const std::uintmax_t bytes = std::filesystem::file_size(path, sizeError);
        return {fileNameOf(path), kCannotBeRead, sizeError ? "" : std::to_string(bytes)};
    }
}

std::vector<PictureFailure> ReloadFileInfo(PictureList& list,
                                           const PictureFormatRegistry& registry) {
    std::vector<PictureFailure> unreadable;
    for (int position = 1; position <= list.count(); ++position) {
        list.setRow(position, gridRowOf(list.entry(position).file, registry, unreadable,
                                        list.sizesAsCameraHeld()));
    }
    return unreadable;
}

std::vector<PictureFailure> FillTable(PictureList& list, Frontend& frontend,
                                      const PictureFormatRegistry& registry) {
    std::vector<PictureFailure> unreadable;
    for (int position = 1; position <= list.count(); ++position) {
        list.setRow(position, gridRowOf(list.entry(position).file, registry, unreadable,
                                        list.sizesAsCameraHeld()));
        frontend.status(std::to_string(position) + " pictures added");
        list.setCountText(countWhileAdding(position));
    }
    list.setCountText(countWhenDone(list.count()));
    return unreadable;
}

} // namespace vellumar
