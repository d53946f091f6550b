#pragma once

#include <lcms2.h>
#include <memory>
#include <string>

#include "colour/colour_description.h"

namespace vellumar {

struct LcmsProfileClose {
    void operator()(void* profile) const { cmsCloseProfile(profile); }
};
// One Little CMS profile, closed when it goes.
using LcmsProfile = std::unique_ptr<void, LcmsProfileClose>;

// The profile a description stands for, made by Little CMS from primaries and curves where
// the file carries none; nothing when an embedded profile cannot be read, or when a press
// profile is wanted and the system has none.
LcmsProfile profileOf(const ColourDescription& description);
// The profile of an output colour space.
LcmsProfile profileOf(ColourSpace space);

// The colour space the profile's samples are in, as the number its header holds: a damaged
// header holds any 32 bits, which Little CMS's enumeration has no name for.
cmsUInt32Number colourSpaceOf(cmsHPROFILE profile);

// The profile's own description ("Display P3"), or "" when it has none.
std::string profileDescription(cmsHPROFILE profile);

// Where Debian keeps the press CMYK profile that ghostscript ships (package libgs-common).
inline constexpr const char* kPressCmykProfile =
    "/usr/share/color/icc/ghostscript/default_cmyk.icc";

} // namespace vellumar
