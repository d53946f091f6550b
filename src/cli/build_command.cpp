#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "build_summary.h"
#include "cli_frontend.h"
#include "commands.h"
#include "interrupt.h"
#include "model/picture_failures.h"
#include "pipeline/build_all.h"
#include "project_options.h"
#include "readers/reader_table.h"
#include "text_util.h"

namespace vellumar::cli {

namespace {

bool onOff(const Arguments& arguments, std::size_t& index) {
    const std::string& value = optionValue(arguments, index);
    if (value != "on" && value != "off") {
        throw UsageError("option '" + arguments[index - 1] + "' takes on or off");
    }
    return value == "on";
}

int jobCount(const Arguments& arguments, std::size_t& index) {
    const std::string& value = optionValue(arguments, index);
    const int count = std::atoi(value.c_str());
    if (count < 1 || count > 256 || std::to_string(count) != value) {
        throw UsageError("option '--jobs' takes a number of workers from 1 to 256");
    }
    return count;
}

// Whole megabytes (millions of bytes): the unit the refusal of a too large picture names.
std::uint64_t memoryLimit(const Arguments& arguments, std::size_t& index) {
    const std::string& value = optionValue(arguments, index);
    const long long megabytes = std::atoll(value.c_str());
    if (megabytes < 1 || megabytes > 1'000'000 || std::to_string(megabytes) != value) {
        throw UsageError("option '--memory-limit' takes a number of megabytes from 1 to 1000000");
    }
    return static_cast<std::uint64_t>(megabytes) * 1'000'000;
}

} // namespace

int runBuild(const Arguments& arguments) {
    std::string path;
    std::string givenFolder;
    std::optional<std::string> destination;
    std::optional<bool> answer;
    std::optional<Verbosity> verbosity;
    BuildOptions options;
    bool thumbProtect = true;
    bool imageProtect = true;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--program-folder") {
            givenFolder = optionValue(arguments, i);
        } else if (argument == "--dest") {
            destination = optionValue(arguments, i);
        } else if (argument == "--yes" || argument == "--no") {
            if (answer) {
                throw UsageError("--yes and --no exclude each other");
            }
            answer = argument == "--yes";
        } else if (argument == "--jobs") {
            options.workerCount = jobCount(arguments, i);
        } else if (argument == "--memory-limit") {
            options.memoryLimit = memoryLimit(arguments, i);
        } else if (argument == "--no-reuse") {
            options.reuse = false;
        } else if (argument == "--keep-going") {
            options.keepGoing = true;
        } else if (argument == "--quiet" || argument == "--verbose") {
            if (verbosity) {
                throw UsageError("--quiet and --verbose exclude each other");
            }
            verbosity = argument == "--quiet" ? Verbosity::Quiet : Verbosity::Verbose;
        } else if (argument == "--thumb-protect") {
            thumbProtect = onOff(arguments, i);
        } else if (argument == "--image-protect") {
            imageProtect = onOff(arguments, i);
        } else if (path.empty() && !argument.starts_with("-")) {
            path = argument;
        } else {
            throw UsageError("unexpected argument '" + argument + "'");
        }
    }
    if (path.empty()) {
        throw UsageError("the project file is missing");
    }

    const std::string programFolder = chosenProgramFolder(givenFolder);
    const auto start = std::chrono::steady_clock::now();
    CliFrontend frontend(answer, verbosity.value_or(Verbosity::Normal));
    Project project;
    if (!openProject(project, path, programFolder, frontend)) {
        return 1;
    }
    // A gallery built without some of its pictures would, under Always overwrite, replace a
    // complete one: only build it when asked to.
    if (!project.missingPictures().empty() && !options.keepGoing) {
        frontend.notice(fileListMessage(
            "The build was not started: these pictures of the project were not found "
            "(--keep-going builds without them):",
            project.missingPictures()));
        return 1;
    }
    GallerySettings& settings = project.settings();
    if (destination) {
        settings.DestFolder = *destination;
    }
    settings.ThumbProtect = thumbProtect;
    settings.ImageProtect = imageProtect;
    stopOnInterrupt();
    if (const BuildAllResult result =
            BuildAll(project, programFolder, pictureFormats(), frontend, options)) {
        if (frontend.wantsSummary()) {
            const std::string folder = trimBlanks(settings.DestFolder);
            frontend.notice(
                summaryText({project.pictures().entries().size(), result.decodedPictures,
                             result.skippedPictures, folderBytes(folder),
                             std::chrono::steady_clock::now() - start},
                            folder));
        }
        // A complete gallery with placeholders in it is still not what was asked for.
        return result.skippedPictures == 0 ? 0 : 1;
    }
    return interruptRequested() ? kInterruptedStatus : 1;
}

} // namespace vellumar::cli
