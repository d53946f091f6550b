#include "metafile_reader.h"

#include "project_error.h"
#include "readers/emf_player.h"
#include "readers/wmf_player.h"

namespace vellumar {

namespace {

[[noreturn]] void notAMetafile() {
    throw ProjectError("the file is not a Windows metafile");
}

} // namespace

bool MetafileReader::sniff(Bytes bytes) const {
    return looksLikeEmf(bytes) || looksLikeWmf(bytes);
}

PictureSize MetafileReader::probe(const PictureSource& source) const {
    if (looksLikeEmf(source.bytes)) {
        return probeEmf(source.bytes);
    }
    if (looksLikeWmf(source.bytes)) {
        return probeWmf(source.bytes);
    }
    notAMetafile();
}

Bitmap MetafileReader::decode(const PictureSource& source) const {
    if (looksLikeEmf(source.bytes)) {
        return playEmf(source.bytes);
    }
    if (looksLikeWmf(source.bytes)) {
        return playWmf(source.bytes);
    }
    notAMetafile();
}

} // namespace vellumar
