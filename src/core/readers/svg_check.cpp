#include "svg_check.h"

#include <array>
#include <cstdint>
#include <expat.h>
#include <memory>
#include <string_view>

namespace vellumar {

namespace {

// Expat's name of an element of the SVG namespace: the namespace, this separator, the name.
constexpr char kNamespaceSeparator = ' ';
constexpr std::string_view kSvgRoot = "http://www.w3.org/2000/svg svg";
constexpr std::size_t kPieceBytes = 64 * 1024;

struct RootElement {
    bool seen = false;
    bool isSvg = false;
};

void XMLCALL onStartElement(void* data, const XML_Char* name, const XML_Char** /*attributes*/) {
    auto* root = static_cast<RootElement*>(data);
    if (!root->seen) {
        root->seen = true;
        root->isSvg = std::string_view(name) == kSvgRoot;
    }
}

struct ParserFree {
    void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
};

} // namespace

bool isSvgPicture(const ReadOnlyFile& file) {
    const std::unique_ptr<XML_ParserStruct, ParserFree> parser(
        XML_ParserCreateNS(nullptr, kNamespaceSeparator));
    if (!parser) {
        return false;
    }
    RootElement root;
    XML_SetUserData(parser.get(), &root);
    XML_SetStartElementHandler(parser.get(), onStartElement);
    std::array<std::uint8_t, kPieceBytes> piece{};
    std::uint64_t offset = 0;
    for (;;) {
        const std::size_t got = file.readAt(offset, piece);
        offset += got;
        const bool last = got == 0;
        if (XML_Parse(parser.get(), reinterpret_cast<const char*>(piece.data()),
                      static_cast<int>(got), last ? XML_TRUE : XML_FALSE) != XML_STATUS_OK) {
            return false;
        }
        // The root decides: a file whose first element is something else is no SVG picture,
        // however long it goes on.
        if (root.seen && !root.isSvg) {
            return false;
        }
        if (last) {
            return root.isSvg;
        }
    }
}

} // namespace vellumar
