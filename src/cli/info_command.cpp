#include <iostream>

#include "commands.h"
#include "project_error.h"
#include "readers/picture_loader.h"
#include "readers/reader_table.h"

namespace vellumar::cli {

// Decodes each picture in full, so a damaged file shows up here as it would in a build.
int runInfo(const Arguments& arguments) {
    if (arguments.empty()) {
        throw UsageError("no picture files given");
    }
    int status = 0;
    for (const std::string& path : arguments) {
        try {
            const Bitmap bitmap = readPictureFile(path, pictureFormats());
            std::cout << path << '\t' << bitmap.width() << " X " << bitmap.height() << '\n';
        } catch (const ProjectError& error) {
            std::cerr << error.what() << '\n';
            status = 1;
        }
    }
    return status;
}

} // namespace vellumar::cli
