#include <iostream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>

#include "cli_frontend.h"
#include "commands.h"
#include "pipeline/gallery_preview.h"
#include "project_options.h"
#include "readers/reader_table.h"

extern char** environ;

namespace vellumar::cli {

namespace {

// Hands the page to the desktop's default browser without waiting for it.
void openInBrowser(const std::string& page) {
    std::string program = "xdg-open";
    char* argv[] = {program.data(), const_cast<char*>(page.c_str()), nullptr};
    pid_t child = 0;
    if (posix_spawnp(&child, "xdg-open", nullptr, nullptr, argv, environ) != 0) {
        std::cerr << "Cannot open " << page << ": xdg-open is not available\n";
    }
}

} // namespace

int runPreview(const Arguments& arguments) {
    std::string path;
    std::string givenFolder;
    bool open = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "--program-folder") {
            givenFolder = optionValue(arguments, i);
        } else if (arguments[i] == "--open") {
            open = true;
        } else if (path.empty() && !arguments[i].starts_with("-")) {
            path = arguments[i];
        } else {
            throw UsageError("unexpected argument '" + arguments[i] + "'");
        }
    }
    if (path.empty()) {
        throw UsageError("the project file is missing");
    }
    const std::string programFolder = chosenProgramFolder(givenFolder);
    CliFrontend frontend(std::nullopt, Verbosity::Quiet);
    Project project;
    if (!openProject(project, path, programFolder, frontend)) {
        return 1;
    }
    const auto page = buildPreview(project, programFolder, pictureFormats(), frontend);
    if (!page) {
        return 1;
    }
    std::cout << *page << '\n';
    if (open) {
        openInBrowser(*page);
    }
    return 0;
}

} // namespace vellumar::cli
