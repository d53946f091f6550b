#include "metadata_tokens.h"

#include "readers/sidecar_text.h"

namespace vellumar {

namespace {

std::string escapedHtml(std::string_view text) {
    std::string html;
    html.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            html += "&amp;";
            break;
        case '<':
            html += "&lt;";
            break;
        case '>':
            html += "&gt;";
            break;
        case '"':
            html += "&quot;";
            break;
        default:
            html += c;
        }
    }
    return html;
}

} // namespace

std::optional<std::string> metadataToken(std::string_view name, const PageContext& context,
                                         int picture) {
    if (!name.starts_with("pic ")) {
        return std::nullopt;
    }
    static const PictureMetadata kNone;
    const auto index = static_cast<std::size_t>(picture) - 1;
    const PictureMetadata& metadata =
        index < context.metadata.size() ? context.metadata[index] : kNone;
    if (name == "pic date") {
        return metadata.dateTaken ? dateTakenText(*metadata.dateTaken) : std::string();
    }
    if (name == "pic camera") {
        return escapedHtml(metadata.camera);
    }
    if (name == "pic lens") {
        return escapedHtml(metadata.lens);
    }
    if (name == "pic exposure") {
        return escapedHtml(metadata.exposure);
    }
    if (name == "pic description") {
        return escapedHtml(pictureDescription(metadata, context.entries[index].file));
    }
    return std::nullopt;
}

} // namespace vellumar
