// The libFuzzer entry point for every target: VELLUMAR_FUZZ_TARGET names one (see
// fuzz_targets.h; "picture" when unset).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "harness/fuzz_targets.h"
#include "harness/picture_harness.h"
#include "readers/reader_table.h"

namespace {

const vellumar::fuzzing::FuzzTarget* chosenTarget = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    vellumar::fuzzing::keepToOurOwnCode();
    static const std::vector<vellumar::fuzzing::FuzzTarget> targets =
        vellumar::fuzzing::fuzzTargets(vellumar::pictureFormats());
    const char* name = std::getenv("VELLUMAR_FUZZ_TARGET");
    chosenTarget = vellumar::fuzzing::findFuzzTarget(targets, name ? name : "picture");
    if (chosenTarget == nullptr) {
        std::fprintf(stderr, "Unknown VELLUMAR_FUZZ_TARGET; one of:");
        for (const vellumar::fuzzing::FuzzTarget& target : targets) {
            std::fprintf(stderr, " %s", target.name.c_str());
        }
        std::fprintf(stderr, "\n");
        std::exit(2);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    chosenTarget->run({data, size});
    return 0;
}
