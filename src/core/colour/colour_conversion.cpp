#include "colour_conversion.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <map>
#include <mutex>
#include <string>
#include <tuple>

#include "colour/lcms_profile.h"

namespace vellumar {

struct ColourTransform {
    explicit ColourTransform(cmsHTRANSFORM handle) : transform(handle) {}
    ~ColourTransform() { cmsDeleteTransform(transform); }
    ColourTransform(const ColourTransform&) = delete;
    ColourTransform& operator=(const ColourTransform&) = delete;
    cmsHTRANSFORM transform;
};

namespace {

// A gray profile reads the first of the three equal samples and skips the other two.
constexpr cmsUInt32Number kGrayOfRgb8 =
    COLORSPACE_SH(PT_GRAY) | CHANNELS_SH(1) | BYTES_SH(1) | EXTRA_SH(2);
constexpr cmsUInt32Number kGrayOfRgb16 =
    COLORSPACE_SH(PT_GRAY) | CHANNELS_SH(1) | BYTES_SH(2) | EXTRA_SH(2);

// The layout as Little CMS names it, for a profile of this kind of colour; 0 when they do not
// fit each other.
cmsUInt32Number lcmsFormat(SampleLayout layout, cmsUInt32Number colour) {
    switch (layout) {
    case SampleLayout::Rgb8:
        return colour == cmsSigRgbData ? TYPE_RGB_8 : colour == cmsSigGrayData ? kGrayOfRgb8 : 0;
    case SampleLayout::Rgb16:
        return colour == cmsSigRgbData ? TYPE_RGB_16 : colour == cmsSigGrayData ? kGrayOfRgb16 : 0;
    case SampleLayout::Cmyk8:
        return colour == cmsSigCmykData ? TYPE_CMYK_8 : 0;
    case SampleLayout::InvertedCmyk8:
        return colour == cmsSigCmykData ? TYPE_CMYK_8_REV : 0;
    case SampleLayout::InvertedCmyk16:
        return colour == cmsSigCmykData ? TYPE_CMYK_16_REV : 0;
    case SampleLayout::Lab16:
        return colour == cmsSigLabData ? TYPE_Lab_16 : 0;
    }
    return 0;
}

// The layout a profile's own samples come in, for telling whether it can be used at all.
SampleLayout ownLayout(cmsUInt32Number colour) {
    switch (colour) {
    case cmsSigCmykData:
        return SampleLayout::Cmyk8;
    case cmsSigLabData:
        return SampleLayout::Lab16;
    default:
        return SampleLayout::Rgb8;
    }
}

// FNV-1a: a profile is known again by its bytes, without keeping them.
std::uint64_t hashOf(const std::vector<std::uint8_t>& bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const std::uint8_t byte : bytes) {
        hash = (hash ^ byte) * 1099511628211ull;
    }
    return hash;
}

// What tells one description's colours from another's.
std::string keyOf(const ColourDescription& d) {
    std::array<char, 256> text{};
    const Chromaticities c = d.chromaticities.value_or(Chromaticities{});
    std::snprintf(text.data(), text.size(),
                  "%d %016llx %zu %.6f %d %.5f %.5f %.5f %.5f %.5f %.5f %.5f %.5f %d %d",
                  static_cast<int>(d.kind), static_cast<unsigned long long>(hashOf(d.icc)),
                  d.icc.size(), d.decodingGamma, d.chromaticities.has_value(), c.whiteX, c.whiteY,
                  c.redX, c.redY, c.greenX, c.greenY, c.blueX, c.blueY, d.cicpPrimaries,
                  d.cicpTransfer);
    return text.data();
}

using TransformKey = std::tuple<std::string, SampleLayout, ColourSpace>;

// A map of at most kMost entries that forgets the one used longest ago. A gallery whose
// pictures each carry a profile of their own (scans calibrated one by one, say) would
// otherwise keep a transform, hundreds of kilobytes, for every picture.
template <typename Key, typename Value>
class RecentlyUsed {
public:
    const Value* find(const Key& key) {
        const auto found = m_entries.find(key);
        if (found == m_entries.end()) {
            return nullptr;
        }
        found->second.lastUse = ++m_clock;
        return &found->second.value;
    }

    void insert(Key key, Value value) {
        if (m_entries.size() >= kMost) {
            m_entries.erase(std::min_element(
                m_entries.begin(), m_entries.end(),
                [](const auto& a, const auto& b) { return a.second.lastUse < b.second.lastUse; }));
        }
        m_entries.emplace(std::move(key), Entry{std::move(value), ++m_clock});
    }

private:
    static constexpr std::size_t kMost = 64;

    struct Entry {
        Value value;
        std::uint64_t lastUse;
    };
    std::map<Key, Entry> m_entries;
    std::uint64_t m_clock = 0;
};

// The transforms made lately, failures included (as nothing), so that a damaged profile is
// not read again for every picture that carries it. Little CMS transforms made without their
// one-pixel cache keep no state while they convert, so any number of threads may use one at once;
// one forgotten here lives on in the converters that hold it.
class TransformCache {
public:
    std::shared_ptr<const ColourTransform> find(const ColourDescription& description,
                                                SampleLayout layout, ColourSpace space) {
        const std::lock_guard lock(m_mutex);
        TransformKey key{keyOf(description), layout, space};
        if (const auto* found = m_transforms.find(key)) {
            return *found;
        }
        auto made = make(description, layout, space);
        m_transforms.insert(std::move(key), made);
        return made;
    }

    bool exceedsSrgb(const ColourDescription& description) {
        const std::lock_guard lock(m_mutex);
        std::string key = keyOf(description);
        if (const bool* found = m_wideGamut.find(key)) {
            return *found;
        }
        const bool wide = reachesBeyondSrgb(description);
        m_wideGamut.insert(std::move(key), wide);
        return wide;
    }

private:
    static std::shared_ptr<const ColourTransform> make(const ColourDescription& description,
                                                       SampleLayout layout, ColourSpace space) {
        const LcmsProfile source = profileOf(description);
        const LcmsProfile target = profileOf(space);
        if (!source || !target) {
            return nullptr;
        }
        const cmsUInt32Number format = lcmsFormat(layout, colourSpaceOf(source.get()));
        if (format == 0) {
            return nullptr;
        }
        // L*a*b* bends sharply on its way to RGB: the finer table keeps its conversion as
        // close to the exact one as the other spaces'.
        const cmsUInt32Number precision =
            layout == SampleLayout::Lab16 ? cmsFLAGS_HIGHRESPRECALC : 0;
        cmsHTRANSFORM transform = cmsCreateTransform(
            source.get(), format, target.get(), TYPE_RGB_8, INTENT_RELATIVE_COLORIMETRIC,
            cmsFLAGS_BLACKPOINTCOMPENSATION | cmsFLAGS_NOCACHE | precision);
        return transform ? std::make_shared<const ColourTransform>(transform) : nullptr;
    }

    // Whether the most saturated colours of an RGB profile land outside sRGB's range when
    // converted without clipping. L*a*b* holds every colour there is.
    static bool reachesBeyondSrgb(const ColourDescription& description) {
        const LcmsProfile source = profileOf(description);
        const LcmsProfile srgb = profileOf(ColourSpace::Srgb);
        if (source && colourSpaceOf(source.get()) == cmsSigLabData) {
            return true;
        }
        if (!source || colourSpaceOf(source.get()) != cmsSigRgbData) {
            return false;
        }
        cmsHTRANSFORM transform =
            cmsCreateTransform(source.get(), TYPE_RGB_DBL, srgb.get(), TYPE_RGB_DBL,
                               INTENT_RELATIVE_COLORIMETRIC, cmsFLAGS_NOCACHE);
        if (!transform) {
            return false;
        }
        constexpr std::array<double, 18> kSaturated{1, 0, 0, 0, 1, 0, 0, 0, 1,
                                                    0, 1, 1, 1, 0, 1, 1, 1, 0};
        std::array<double, 18> converted{};
        cmsDoTransform(transform, kSaturated.data(), converted.data(), 6);
        cmsDeleteTransform(transform);
        constexpr double kTolerance = 0.02;
        for (const double value : converted) {
            if (value < -kTolerance || value > 1 + kTolerance) {
                return true;
            }
        }
        return false;
    }

    std::mutex m_mutex;
    RecentlyUsed<TransformKey, std::shared_ptr<const ColourTransform>> m_transforms;
    RecentlyUsed<std::string, bool> m_wideGamut;
};

TransformCache& transformCache() {
    static TransformCache cache;
    return cache;
}

std::vector<std::uint8_t> savedProfile(ColourSpace space) {
    const LcmsProfile profile = profileOf(space);
    cmsUInt32Number size = 0;
    if (!profile || !cmsSaveProfileToMem(profile.get(), nullptr, &size)) {
        return {};
    }
    std::vector<std::uint8_t> bytes(size);
    if (!cmsSaveProfileToMem(profile.get(), bytes.data(), &size)) {
        return {};
    }
    bytes.resize(size);
    return bytes;
}

} // namespace

std::optional<ColourConverter> ColourConverter::make(const ColourDescription& description,
                                                     SampleLayout layout, ColourSpace space) {
    auto transform = transformCache().find(description, layout, space);
    if (!transform) {
        return std::nullopt;
    }
    return ColourConverter(std::move(transform));
}

void ColourConverter::convert(const void* in, std::uint8_t* out, std::size_t pixels) const {
    cmsDoTransform(m_transform->transform, in, out, static_cast<cmsUInt32Number>(pixels));
}

bool colourUsable(const ColourDescription& description) {
    // Without the system's press profile a CMYK picture is still shown, by ink arithmetic:
    // nothing the file could be blamed for.
    if (description.isSrgb() || description.kind == ColourDescription::Kind::PressCmyk) {
        return true;
    }
    const LcmsProfile profile = profileOf(description);
    if (!profile) {
        return false;
    }
    const SampleLayout layout = ownLayout(colourSpaceOf(profile.get()));
    return transformCache().find(description, layout, ColourSpace::Srgb) != nullptr;
}

ColourSpace outputSpaceFor(const ColourDescription& description, bool wideGamut) {
    if (!wideGamut || description.isSrgb()) {
        return ColourSpace::Srgb;
    }
    return transformCache().exceedsSrgb(description) ? ColourSpace::DisplayP3 : ColourSpace::Srgb;
}

bool convertColours(Bitmap& bitmap, const ColourDescription& description, ColourSpace space) {
    if (description.isSrgb() && space == ColourSpace::Srgb) {
        return true;
    }
    const auto converter = ColourConverter::make(description, SampleLayout::Rgb8, space);
    if (!converter) {
        return false;
    }
    bitmap.convertToRgb24();
    if (!bitmap.isEmpty()) {
        // The rows follow each other without gaps: one call converts them all.
        converter->convert(bitmap.row(0), bitmap.row(0),
                           static_cast<std::size_t>(bitmap.width()) *
                               static_cast<std::size_t>(bitmap.height()));
    }
    return true;
}

const std::vector<std::uint8_t>& embeddedProfileOf(ColourSpace space) {
    static const std::vector<std::uint8_t> none;
    static const std::vector<std::uint8_t> displayP3 = savedProfile(ColourSpace::DisplayP3);
    return space == ColourSpace::DisplayP3 ? displayP3 : none;
}

} // namespace vellumar
