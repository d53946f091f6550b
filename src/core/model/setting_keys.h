#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "model/gallery_settings.h"

namespace vellumar {

// One key of a project file's Setting section: how its setting is written and read.
struct SettingKey {
    std::string_view name;
    // The value read when the file lacks the key.
    std::string_view missingValue;
    // Whether the key is written (and read back): some keys exist only while the flag they
    // depend on is on. Empty for keys that are always there.
    std::function<bool(const GallerySettings&)> present;
    std::function<std::string(const GallerySettings&)> write;
    // Applies a value as read from a file. styles is the installed style list. A value that
    // should be a number and is not fails with "'<value>' is not a valid integer value".
    std::function<void(GallerySettings&, const std::string& value,
                       const std::vector<std::string>& styles)>
        read;

    bool isPresentIn(const GallerySettings& settings) const {
        return !present || present(settings);
    }
};

// Every key in the order the file holds them.
const std::vector<SettingKey>& settingKeys();

// The key of that name, letter case aside; nullptr when there is none.
const SettingKey* findSettingKey(std::string_view name);

} // namespace vellumar
