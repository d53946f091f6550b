#include <iostream>

#include "colour/colour_description.h"
#include "commands.h"
#include "project_error.h"
#include "readers/picture_loader.h"
#include "readers/reader_table.h"

namespace vellumar::cli {

// Decodes each picture in full, so a damaged file shows up here as it would in a build, and
// names the colours it was found to be in.
int runInfo(const Arguments& arguments) {
    if (arguments.empty()) {
        throw UsageError("no picture files given");
    }
    int status = 0;
    for (const std::string& path : arguments) {
        try {
            const PictureFile file(path, pictureFormats());
            const Bitmap bitmap = file.decodeWithinDefaultLimit();
            std::cout << path << '\t' << bitmap.width() << " X " << bitmap.height() << '\t'
                      << colourName(file.colour()) << '\n';
        } catch (const ProjectError& error) {
            std::cerr << error.what() << '\n';
            status = 1;
        }
    }
    return status;
}

} // namespace vellumar::cli
