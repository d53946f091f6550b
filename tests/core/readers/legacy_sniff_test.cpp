#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "reader_fixtures.h"
#include "readers/autodesk_reader.h"
#include "readers/pcx_reader.h"
#include "readers/psd_reader.h"
#include "readers/sgi_reader.h"

namespace vellumar {
namespace {

// Readers with a signature claim their own pictures and none of the other formats', so a
// misnamed file reaches the right reader.
TEST(LegacySignatures, EachReaderRecognisesOnlyItsOwnFormat) {
    struct Sample {
        const char* format;
        const char* name;
    };
    const Sample samples[] = {{"targa", "mapped.tga"},     {"targa", "rgb15.vda"},
                              {"pcx", "rgb24.pcx"},        {"pcx", "planar4.pcx"},
                              {"sgi", "rgb-rle.sgi"},      {"sgi", "gray.bw"},
                              {"psd", "rgb-rle.psd"},      {"psd", "bitmap.psd"},
                              {"autodesk", "picture.cel"}, {"cut", "picture.cut"}};
    const std::pair<const char*, std::shared_ptr<PictureReader>> readers[] = {
        {"pcx", std::make_shared<PcxReader>()},
        {"sgi", std::make_shared<SgiReader>()},
        {"psd", std::make_shared<PsdReader>()},
        {"autodesk", std::make_shared<AutodeskReader>()}};
    for (const auto& [format, reader] : readers) {
        for (const auto& sample : samples) {
            SCOPED_TRACE(std::string(format) + " sniffing " + sample.name);
            EXPECT_EQ(reader->sniff(testing::fixtureBytes(sample.format, sample.name)),
                      std::string(format) == sample.format);
        }
    }
}

} // namespace
} // namespace vellumar
