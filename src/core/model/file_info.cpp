#include "file_info.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

#include "frontend.h"
#include "imaging/picture_loader.h"
#include "path_text.h"
#include "project_error.h"

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

FileInfoRow fileInfoRowOf(const std::string& path, const PictureFormatRegistry& registry) {
    const PictureSize size = probePictureFile(path, registry);
    return {fileNameOf(path), std::to_string(size.width) + " X " + std::to_string(size.height),
            fileSizeText(path)};
}

void ReloadFileInfo(PictureList& list, const PictureFormatRegistry& registry) {
    for (int position = 1; position <= list.count(); ++position) {
        list.setRow(position, fileInfoRowOf(list.entry(position).file, registry));
    }
}

void FillTable(PictureList& list, Frontend& frontend, const PictureFormatRegistry& registry) {
    for (int position = 1; position <= list.count(); ++position) {
        list.setRow(position, fileInfoRowOf(list.entry(position).file, registry));
        frontend.status(std::to_string(position) + " pictures added");
        list.setCountText(countWhileAdding(position));
    }
    list.setCountText(countWhenDone(list.count()));
}

} // namespace vellumar
