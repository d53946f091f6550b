#include "project_options.h"

#include <algorithm>
#include <filesystem>

#include "model/output_folders.h"
#include "model/style_list.h"
#include "path_text.h"
#include "program_folder.h"
#include "readers/reader_table.h"

namespace vellumar::cli {

const std::string& optionValue(const Arguments& arguments, std::size_t& index) {
    if (index + 1 >= arguments.size()) {
        throw UsageError("option '" + arguments[index] + "' needs a value");
    }
    return arguments[++index];
}

std::string chosenProgramFolder(const std::string& given) {
    return given.empty() ? programFolder()
                         : withTrailingSeparator(std::filesystem::absolute(given).string());
}

GallerySettings startingSettings(const std::string& programFolder,
                                 const std::vector<std::string>& styles, const std::string& style) {
    GallerySettings settings;
    if (!style.empty() && std::find(styles.begin(), styles.end(), style) == styles.end()) {
        throw UsageError("no style '" + style + "' in " + programFolder + "template/");
    }
    const std::string chosen = style.empty() && !styles.empty() ? styles.front() : style;
    if (!chosen.empty()) {
        StyleLinkImages linkImages;
        chooseStyle(programFolder, chosen, settings, linkImages);
    }
    return settings;
}

bool openProject(Project& project, const std::string& path, const std::string& programFolder,
                 Frontend& frontend) {
    const std::vector<std::string> styles = listStyles(programFolder);
    project.settings() = startingSettings(programFolder, styles);
    return project.open(path, styles, frontend, pictureFormats());
}

} // namespace vellumar::cli
