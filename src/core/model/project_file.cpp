#include "project_file.h"

#include <filesystem>
#include <optional>
#include <system_error>
#include <unistd.h>

#include "atomic_file.h"
#include "file_io.h"
#include "frontend.h"
#include "integer_text.h"
#include "model/ini_file.h"
#include "model/setting_keys.h"
#include "model/settings_rules.h"
#include "path_text.h"
#include "project_error.h"

namespace vellumar {

namespace {

constexpr std::string_view kProjectSection = "project";
constexpr std::string_view kSettingSection = "Setting";
// Far above a project of 9999 pictures; only guards against a wrong file of that name.
constexpr std::size_t kMaxProjectBytes = 64 * 1024 * 1024;

std::string imageSection(int number) {
    return "Image" + std::to_string(number);
}

bool isExistingFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(path, error) && !std::filesystem::is_directory(path, error);
}

// Runs one key's reading; when it fails, the error names the section, the key and the line it
// came from, so the user can find what to mend.
template <typename Read>
void readKey(const IniReader& ini, std::string_view section, std::string_view key, Read&& read) {
    try {
        read();
    } catch (const ProjectError& error) {
        const std::optional<int> line = ini.lineOf(section, key);
        throw ProjectError("[" + std::string(section) + "] " + std::string(key) +
                           (line ? " (line " + std::to_string(*line) + ")" : " (missing)") + ": " +
                           error.what());
    }
}

int readInteger(const IniReader& ini, std::string_view section, std::string_view key,
                std::string_view missingValue = "") {
    int value = 0;
    readKey(ini, section, key, [&] { value = toInteger(ini.valueOr(section, key, missingValue)); });
    return value;
}

void readSettings(const IniReader& ini, GallerySettings& settings,
                  const std::vector<std::string>& styles) {
    // Each key sees the flags read before it, so keys that exist only under a flag are read
    // exactly when they were written.
    for (const SettingKey& key : settingKeys()) {
        if (key.isPresentIn(settings)) {
            readKey(ini, kSettingSection, key.name, [&] {
                key.read(settings, ini.valueOr(kSettingSection, key.name, key.missingValue),
                         styles);
            });
        }
    }
    repairSizeFlags(settings);
}

// Every project file, however old, starts with a project or a Setting section; without
// either, a file of zeros or some other text would fail at its first number as if it were a
// damaged project. A NUL byte would cut its line short unseen.
void checkIsProjectText(const IniReader& ini) {
    if (!ini.hasSection(kProjectSection) && !ini.hasSection(kSettingSection)) {
        throw ProjectError(
            "The file is not a project file: it has neither a [project] nor a [Setting] section.");
    }
    if (const std::optional<int> line = ini.firstNulLine()) {
        throw ProjectError("Line " + std::to_string(*line) +
                           " holds a NUL byte, which a project file never holds.");
    }
}

// Reads count pictures. A section whose file is gone is skipped, and the next section takes
// its place.
void readPictures(const IniReader& ini, int count, PictureList& list, Frontend& frontend,
                  std::vector<std::string>& missing) {
    for (int section = 1; list.count() < count; ++section) {
        frontend.processEvents();
        const std::string name = imageSection(section);
        const std::string file = ini.valueOr(name, "file", "");
        if (!isExistingFile(file)) {
            frontend.notice("File " + file + " not found and skipped.");
            missing.push_back(file);
            --count;
            continue;
        }
        TImgEntry entry;
        entry.file = file;
        entry.title = ini.valueOr(name, "title", "");
        entry.info = ini.valueOr(name, "info", "");
        entry.crop = static_cast<CropAlign>(readInteger(ini, name, "crop"));
        entry.rotate = readInteger(ini, name, "rotate");
        list.append(std::move(entry));
        frontend.processEvents();
        frontend.status(fileNameOf(file) + " pictures loaded.");
    }
}

// Where a save really writes: through a link to the file it leads to, so that the link stays
// and the real project is the one saved. What must not be replaced by a project is refused:
// anything but a regular file (a pipe, a device, a folder) and a file made read-only.
std::string saveTargetOf(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::path target = path;
    if (fs::is_symlink(fs::symlink_status(target, error))) {
        target = fs::weakly_canonical(target, error);
        if (error) {
            throw ProjectError("Cannot follow the link " + path + ": " + error.message());
        }
    }
    const fs::file_status status = fs::status(target, error);
    if (status.type() == fs::file_type::not_found) {
        return target;
    }
    if (status.type() != fs::file_type::regular) {
        throw ProjectError(target.string() + " is not a regular file.");
    }
    // The permission bits count even for root, who may write anyway: a file made read-only
    // was made so on purpose.
    constexpr fs::perms kAnyWrite =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    if ((status.permissions() & kAnyWrite) == fs::perms::none ||
        ::access(target.c_str(), W_OK) != 0) {
        throw ProjectError(target.string() + " is read-only.");
    }
    return target;
}

} // namespace

std::string projectText(const PictureList& list, const GallerySettings& settings,
                        const std::string& projectName) {
    IniWriter ini;
    ini.section(kProjectSection);
    ini.key("name", projectName);
    ini.key("imgcount", std::to_string(list.count()));
    ini.section(kSettingSection);
    for (const SettingKey& key : settingKeys()) {
        if (key.isPresentIn(settings)) {
            ini.key(key.name, key.write(settings));
        }
    }
    for (int position = 1; position <= list.count(); ++position) {
        const TImgEntry& entry = list.entry(position);
        ini.section(imageSection(position));
        ini.key("file", entry.file);
        ini.key("title", entry.title);
        ini.key("info", entry.info);
        ini.key("crop", std::to_string(static_cast<int>(entry.crop)));
        ini.key("rotate", std::to_string(entry.rotate));
    }
    return ini.text();
}

void SaveProject(const std::string& path, const PictureList& list,
                 const GallerySettings& settings) {
    const std::string text = projectText(list, settings, fileNameOf(path));
    try {
        AtomicFileWriter file(saveTargetOf(path));
        file.write({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
        file.sync();
        file.commit();
    } catch (const ProjectError& error) {
        throw ProjectError("Unable to write to " + path + "\n" + error.what());
    }
}

LoadResult LoadProject(const std::string& path, PictureList& list, GallerySettings& settings,
                       const std::vector<std::string>& styles, Frontend& frontend) {
    // Read into copies, so that a load that fails half-way leaves the open project whole.
    PictureList loadedList;
    GallerySettings loadedSettings = settings;
    std::vector<std::string> missing;
    try {
        const IniReader ini(readTextFile(path, kMaxProjectBytes));
        checkIsProjectText(ini);
        const int count = readInteger(ini, kProjectSection, "imgcount", "0");
        if (count < 0 || count > PictureList::kCapacity) {
            readKey(ini, kProjectSection, "imgcount", [&] {
                throw ProjectError(std::to_string(count) + " is not a picture count from 0 to " +
                                   std::to_string(PictureList::kCapacity));
            });
        }
        frontend.processEvents();
        frontend.status("Loading settings......");
        readSettings(ini, loadedSettings, styles);
        readPictures(ini, count, loadedList, frontend, missing);
    } catch (const ProjectError& error) {
        return {false, error.what(), {}};
    }
    list = std::move(loadedList);
    settings = std::move(loadedSettings);
    return {true, {}, std::move(missing)};
}

std::string loadFailedMessage(const std::string& path) {
    return "Load project " + path + " fail!";
}

std::string loadFailedNotice(const std::string& path, const std::string& reason) {
    return loadFailedMessage(path) + "\n" + reason;
}

} // namespace vellumar
