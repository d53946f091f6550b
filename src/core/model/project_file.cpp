#include "project_file.h"

#include <filesystem>
#include <system_error>

#include "file_io.h"
#include "frontend.h"
#include "imaging/atomic_file.h"
#include "model/ini_file.h"
#include "model/integer_text.h"
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

void readSettings(const IniReader& ini, GallerySettings& settings,
                  const std::vector<std::string>& styles) {
    // Each key sees the flags read before it, so keys that exist only under a flag are read
    // exactly when they were written.
    for (const SettingKey& key : settingKeys()) {
        if (key.isPresentIn(settings)) {
            key.read(settings, ini.valueOr(kSettingSection, key.name, key.missingValue), styles);
        }
    }
    repairSizeFlags(settings);
}

// Reads count pictures. A section whose file is gone is skipped, and the next section takes
// its place.
void readPictures(const IniReader& ini, int count, PictureList& list, Frontend& frontend) {
    for (int section = 1; list.count() < count; ++section) {
        frontend.processEvents();
        const std::string name = imageSection(section);
        const std::string file = ini.valueOr(name, "file", "");
        if (!isExistingFile(file)) {
            frontend.notice("File " + file + " not found and skipped.");
            --count;
            continue;
        }
        TImgEntry entry;
        entry.file = file;
        entry.title = ini.valueOr(name, "title", "");
        entry.info = ini.valueOr(name, "info", "");
        entry.crop = toInteger(ini.valueOr(name, "crop", ""));
        entry.rotate = toInteger(ini.valueOr(name, "rotate", ""));
        list.append(std::move(entry));
        frontend.processEvents();
        frontend.status(fileNameOf(file) + " pictures loaded.");
    }
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
        ini.key("crop", std::to_string(entry.crop));
        ini.key("rotate", std::to_string(entry.rotate));
    }
    return ini.text();
}

void SaveProject(const std::string& path, const PictureList& list,
                 const GallerySettings& settings) {
    const std::string text = projectText(list, settings, fileNameOf(path));
    try {
        AtomicFileWriter file(path);
        file.write({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
        file.sync();
        file.commit();
    } catch (const ProjectError&) {
        throw ProjectError("Unable to write to " + path);
    }
}

bool LoadProject(const std::string& path, PictureList& list, GallerySettings& settings,
                 const std::vector<std::string>& styles, Frontend& frontend) {
    // Read into copies, so that a load that fails half-way leaves the open project whole.
    PictureList loadedList;
    GallerySettings loadedSettings = settings;
    try {
        const IniReader ini(readTextFile(path, kMaxProjectBytes));
        const int count = toInteger(ini.valueOr(kProjectSection, "imgcount", "0"));
        if (count < 0 || count > PictureList::kCapacity) {
            return false;
        }
        frontend.processEvents();
        frontend.status("Loading settings......");
        readSettings(ini, loadedSettings, styles);
        readPictures(ini, count, loadedList, frontend);
    } catch (const ProjectError&) {
        return false;
    }
    list = std::move(loadedList);
    settings = std::move(loadedSettings);
    return true;
}

std::string loadFailedMessage(const std::string& path) {
    return "Load project " + path + " fail!";
}

} // namespace vellumar
