#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "cli_frontend.h"
#include "commands.h"
#include "model/picture_adding.h"
#include "model/picture_failures.h"
#include "model/project_file.h"
#include "model/setting_keys.h"
#include "model/settings_rules.h"
#include "model/style_list.h"
#include "model/titles_from_metadata.h"
#include "project_error.h"
#include "project_options.h"
#include "readers/reader_table.h"

namespace vellumar::cli {

namespace {

enum class AddKind { File, Folder, Tree };

struct Addition {
    AddKind kind;
    std::string path;
};

struct NewOptions {
    std::string output;
    std::string programFolder;
    std::string style;
    std::vector<Addition> additions;
    std::vector<std::string> assignments; // KEY=VALUE
    bool force = false;                   // replace an existing project file
    bool titlesFromMetadata = false;
};

NewOptions parseNewOptions(const Arguments& arguments) {
    NewOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (option == "-o") {
            options.output = optionValue(arguments, i);
        } else if (option == "--program-folder") {
            options.programFolder = optionValue(arguments, i);
        } else if (option == "--style") {
            options.style = optionValue(arguments, i);
        } else if (option == "--add") {
            options.additions.push_back({AddKind::File, optionValue(arguments, i)});
        } else if (option == "--add-dir") {
            options.additions.push_back({AddKind::Folder, optionValue(arguments, i)});
        } else if (option == "--add-tree") {
            options.additions.push_back({AddKind::Tree, optionValue(arguments, i)});
        } else if (option == "--titles-from-metadata") {
            options.titlesFromMetadata = true;
        } else if (option == "--set") {
            options.assignments.push_back(optionValue(arguments, i));
        } else if (option == "--force") {
            options.force = true;
        } else {
            throw UsageError("unexpected argument '" + option + "'");
        }
    }
    if (options.output.empty()) {
        throw UsageError("the project file is missing (-o PROJECT.vlm)");
    }
    return options;
}

void addPictures(const Addition& addition, PictureList& list, Frontend& frontend,
                 AddingReport& report) {
    if (addition.kind == AddKind::File) {
        try {
            if (!AddPic(list, addition.path, frontend, pictureFormats())) {
                if (report.leftOut.empty()) {
                    frontend.notice(kListFullInFolder);
                }
                report.leftOut.push_back(addition.path);
            }
        } catch (const ProjectError& error) {
            report.unreadable.push_back({addition.path, error.what()});
        }
        return;
    }
    std::error_code error;
    if (!std::filesystem::is_directory(addition.path, error)) {
        throw ProjectError("Folder " + addition.path + " not found.");
    }
    if (addition.kind == AddKind::Folder) {
        AddAllPic(list, addition.path, frontend, report, pictureFormats());
    } else {
        AddDirPic(list, addition.path, frontend, report, pictureFormats());
    }
}

void refuseToReplace(const std::string& path) {
    std::error_code error;
    if (std::filesystem::exists(std::filesystem::symlink_status(path, error))) {
        throw ProjectError(path + " already exists; --force replaces it.");
    }
}

// A value as the key would be read from a project file's Setting section.
void assign(const std::string& assignment, GallerySettings& settings,
            const std::vector<std::string>& styles) {
    const std::size_t equals = assignment.find('=');
    const std::string name = assignment.substr(0, equals);
    const SettingKey* key = findSettingKey(name);
    if (equals == std::string::npos || key == nullptr) {
        throw UsageError("--set " + assignment + ": no setting '" + name + "'");
    }
    const std::string value = assignment.substr(equals + 1);
    if (value.find_first_of("\r\n") != std::string::npos) {
        throw UsageError("--set " + name + ": settings are single lines");
    }
    try {
        key->read(settings, value, styles);
    } catch (const ProjectError& error) {
        throw UsageError("--set " + assignment + ": " + error.what());
    }
}

} // namespace

int runNew(const Arguments& arguments) {
    const NewOptions options = parseNewOptions(arguments);
    if (!options.force) {
        refuseToReplace(options.output);
    }
    const std::string programFolder = chosenProgramFolder(options.programFolder);
    const std::vector<std::string> styles = listStyles(programFolder);
    GallerySettings settings = startingSettings(programFolder, styles, options.style);
    CliFrontend frontend;
    PictureList list;
    AddingReport report;
    for (const Addition& addition : options.additions) {
        addPictures(addition, list, frontend, report);
    }
    for (const std::string& assignment : options.assignments) {
        assign(assignment, settings, styles);
    }
    if (options.titlesFromMetadata) {
        titlesFromMetadata(list, pictureFormats());
    }
    repairSizeFlags(settings);
    SaveProject(options.output, list, settings);
    // The project holds what could be added; the status says that not everything asked for is
    // in it.
    reportUnreadable(report, frontend);
    if (!report.leftOut.empty()) {
        frontend.notice(fileListMessage("The list is full; these " +
                                            std::to_string(report.leftOut.size()) +
                                            " files were left out:",
                                        report.leftOut));
    }
    return report.unreadable.empty() && report.leftOut.empty() ? 0 : 1;
}

} // namespace vellumar::cli
