#include <iostream>
#include <string>

#include "cli_frontend.h"
#include "commands.h"
#include "model/project_file.h"
#include "path_text.h"
#include "project_options.h"

namespace vellumar::cli {

int runShow(const Arguments& arguments) {
    std::string path;
    std::string givenFolder;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "--program-folder") {
            givenFolder = optionValue(arguments, i);
        } else if (path.empty() && !arguments[i].starts_with("-")) {
            path = arguments[i];
        } else {
            throw UsageError("unexpected argument '" + arguments[i] + "'");
        }
    }
    if (path.empty()) {
        throw UsageError("the project file is missing");
    }
    CliFrontend frontend;
    Project project;
    if (!openProject(project, path, chosenProgramFolder(givenFolder), frontend)) {
        return 1;
    }
    std::cout << projectText(project.pictures(), project.settings(), fileNameOf(path));
    return 0;
}

} // namespace vellumar::cli
