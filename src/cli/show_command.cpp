#include <iostream>
#include <string>
#include <vector>

#include "cli_frontend.h"
#include "commands.h"
#include "model/project_file.h"
#include "model/style_list.h"
#include "path_text.h"
#include "project_options.h"

namespace vellumar::cli {

int runShow(const Arguments& arguments) {
    std::string project;
    std::string givenFolder;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "--program-folder") {
            givenFolder = optionValue(arguments, i);
        } else if (project.empty() && !arguments[i].starts_with("-")) {
            project = arguments[i];
        } else {
            throw UsageError("unexpected argument '" + arguments[i] + "'");
        }
    }
    if (project.empty()) {
        throw UsageError("the project file is missing");
    }
    const std::string programFolder = chosenProgramFolder(givenFolder);
    const std::vector<std::string> styles = listStyles(programFolder);
    GallerySettings settings = startingSettings(programFolder, styles);
    PictureList list;
    CliFrontend frontend;
    if (!LoadProject(project, list, settings, styles, frontend)) {
        std::cerr << loadFailedMessage(project) << '\n';
        return 1;
    }
    std::cout << projectText(list, settings, fileNameOf(project));
    return 0;
}

} // namespace vellumar::cli
