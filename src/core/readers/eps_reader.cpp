#include "eps_reader.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <sstream>
#include <string>
#include <string_view>

#include "project_error.h"
#include "readers/byte_reader.h"
#include "readers/ghostscript_renderer.h"
#include "readers/metafile_reader.h"
#include "readers/tiff_reader.h"

namespace vellumar {

namespace eps {

constexpr std::uint8_t kDosMagic[] = {0xc5, 0xd0, 0xd3, 0xc6};
constexpr std::size_t kDosHeaderSize = 30;
constexpr std::string_view kPostScriptMagic = "%!PS-Adobe-";
constexpr std::string_view kBoundingBox = "%%BoundingBox:";

// The DOS binary header: where the PostScript and the previews lie in the file.
struct DosHeader {
    std::uint32_t magic = 0;      // C5 D0 D3 C6
    std::uint32_t psOffset = 0;   // the PostScript program
    std::uint32_t psLength = 0;   //
    std::uint32_t wmfOffset = 0;  // a Windows metafile preview, or 0 and 0
    std::uint32_t wmfLength = 0;  //
    std::uint32_t tiffOffset = 0; // a TIFF preview, or 0 and 0
    std::uint32_t tiffLength = 0; //
    std::uint16_t checksum = 0;   // 0xffff or a checksum of the header (not checked)
};

} // namespace eps

namespace {

const TiffReader kTiffPreview;
const MetafileReader kMetafilePreview;

bool hasDosHeader(Bytes bytes) {
    return bytes.size() >= sizeof eps::kDosMagic &&
           std::memcmp(bytes.data(), eps::kDosMagic, sizeof eps::kDosMagic) == 0;
}

bool startsWithPostScript(Bytes bytes) {
    return bytes.size() >= eps::kPostScriptMagic.size() &&
           std::memcmp(bytes.data(), eps::kPostScriptMagic.data(), eps::kPostScriptMagic.size()) ==
               0;
}

Bytes section(Bytes bytes, std::uint32_t offset, std::uint32_t length, const char* what) {
    if (std::uint64_t{offset} + length > bytes.size()) {
        throw ProjectError(std::string("the Encapsulated Postscript file is damaged: its ") + what +
                           " lies beyond the end of the file");
    }
    return bytes.subspan(offset, length);
}

// The parts of an EPS file: the PostScript and at most one preview.
struct Parts {
    Bytes postscript;
    Bytes preview;
    const PictureReader* previewReader = nullptr; // the reader of the preview's format
};

Parts partsOf(Bytes bytes) {
    if (!hasDosHeader(bytes)) {
        if (!startsWithPostScript(bytes)) {
            throw ProjectError("the file is not an Encapsulated Postscript file");
        }
        return {bytes, {}, nullptr};
    }
    if (bytes.size() < eps::kDosHeaderSize) {
        throw ProjectError("the Encapsulated Postscript file is truncated");
    }
    ByteReader cursor(bytes);
    eps::DosHeader header;
    header.magic = cursor.u32le();
    header.psOffset = cursor.u32le();
    header.psLength = cursor.u32le();
    header.wmfOffset = cursor.u32le();
    header.wmfLength = cursor.u32le();
    header.tiffOffset = cursor.u32le();
    header.tiffLength = cursor.u32le();
    header.checksum = cursor.u16le();
    Parts parts;
    parts.postscript = section(bytes, header.psOffset, header.psLength, "PostScript");
    if (header.tiffLength > 0) {
        parts.preview = section(bytes, header.tiffOffset, header.tiffLength, "TIFF preview");
        parts.previewReader = &kTiffPreview;
    } else if (header.wmfLength > 0) {
        parts.preview = section(bytes, header.wmfOffset, header.wmfLength, "metafile preview");
        parts.previewReader = &kMetafilePreview;
    }
    return parts;
}

// The last %%BoundingBox comment with four numbers (one reading "(atend)" defers to a later
// one); its size at 72 dots an inch, as Ghostscript crops to it.
PictureSize boundingBoxSize(Bytes postscript) {
    const std::string_view text(reinterpret_cast<const char*>(postscript.data()),
                                postscript.size());
    std::optional<PictureSize> size;
    for (std::size_t at = text.find(eps::kBoundingBox); at != std::string_view::npos;
         at = text.find(eps::kBoundingBox, at + 1)) {
        const std::size_t from = at + eps::kBoundingBox.size();
        const std::size_t end = std::min(text.find_first_of("\r\n", from), text.size());
        std::istringstream numbers{std::string(text.substr(from, end - from))};
        double left = 0, bottom = 0, right = 0, top = 0;
        if (numbers >> left >> bottom >> right >> top) {
            const double width = std::ceil(right) - std::floor(left);
            const double height = std::ceil(top) - std::floor(bottom);
            size = checkPictureSize(static_cast<std::int64_t>(std::clamp(width, -1.0, 1e9)),
                                    static_cast<std::int64_t>(std::clamp(height, -1.0, 1e9)));
        }
    }
    if (!size) {
        throw ProjectError("the Encapsulated Postscript file has no bounding box");
    }
    return *size;
}

} // namespace

EpsReader::EpsReader(PostScriptRenderer renderer) : m_renderer(std::move(renderer)) {}

EpsReader::EpsReader() : EpsReader(renderWithGhostscript) {}

bool EpsReader::sniff(Bytes bytes) const {
    return hasDosHeader(bytes) || startsWithPostScript(bytes);
}

PictureSize EpsReader::probe(const PictureSource& source) const {
    const Parts parts = partsOf(source.bytes);
    if (parts.previewReader != nullptr) {
        return parts.previewReader->probe({parts.preview, source.path});
    }
    return boundingBoxSize(parts.postscript);
}

Bitmap EpsReader::decode(const PictureSource& source) const {
    const Parts parts = partsOf(source.bytes);
    if (parts.previewReader != nullptr) {
        Bitmap preview = parts.previewReader->decode({parts.preview, source.path});
        preview.convertToRgb24();
        return preview;
    }
    boundingBoxSize(parts.postscript); // a program without a size cannot be cropped
    if (auto drawn = m_renderer ? m_renderer(parts.postscript) : std::nullopt) {
        return std::move(*drawn);
    }
    throw ProjectError("the Encapsulated Postscript file has no preview picture, and Ghostscript, "
                       "which could draw it, is not installed");
}

} // namespace vellumar
