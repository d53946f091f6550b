// Runs what the fuzzers found worth keeping (the corpus and every crash found, as named
// regression files) through their targets, and every test picture through every reader, so
// a decoder change that brings an old fault back fails here, sanitizers or not.
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "file_io.h"
#include "harness/fuzz_targets.h"
#include "harness/picture_harness.h"
#include "readers/reader_table.h"

namespace vellumar::fuzzing {
namespace {

namespace fs = std::filesystem;

const fs::path kFuzzFolder = VELLUMAR_FUZZ_DIR;

std::vector<fs::path> filesUnder(const fs::path& folder) {
    std::vector<fs::path> files;
    if (fs::is_directory(folder)) {
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
            if (entry.is_regular_file()) {
                files.push_back(entry.path());
            }
        }
    }
    return files;
}

class CorpusReplay : public ::testing::Test {
protected:
    static void SetUpTestSuite() { keepToOurOwnCode(); }
    const std::vector<FuzzTarget> targets = fuzzTargets(pictureFormats());
};

TEST_F(CorpusReplay, EverySavedInputRunsThroughItsTarget) {
    int inputs = 0;
    for (const char* kept : {"corpus", "regressions"}) {
        if (!fs::is_directory(kFuzzFolder / kept)) {
            continue; // no crash found yet
        }
        for (const fs::directory_entry& folder : fs::directory_iterator(kFuzzFolder / kept)) {
            const FuzzTarget* target = findFuzzTarget(targets, folder.path().filename());
            ASSERT_NE(target, nullptr) << folder.path() << " names no fuzz target";
            for (const fs::path& file : filesUnder(folder.path())) {
                SCOPED_TRACE(file.string());
                target->run(readFileBytes(file));
                ++inputs;
            }
        }
    }
    EXPECT_GT(inputs, 0);
}

TEST_F(CorpusReplay, EveryTestPictureAndSavedInputRunsThroughEveryReader) {
    std::vector<fs::path> files = filesUnder(fs::path(VELLUMAR_TEST_DATA_DIR) / "readers");
    for (const char* kept : {"corpus", "regressions"}) {
        for (const fs::path& file : filesUnder(kFuzzFolder / kept)) {
            files.push_back(file);
        }
    }
    const std::vector<FormatTarget> readers = formatTargets(pictureFormats());
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.string());
        const std::vector<std::uint8_t> bytes = readFileBytes(file);
        for (const FormatTarget& reader : readers) {
            decodeWithReader(*reader.reader->decoder, bytes);
        }
    }
}

} // namespace
} // namespace vellumar::fuzzing
