#include "harness/fuzz_targets.h"

#include "harness/picture_harness.h"
#include "harness/text_harness.h"

namespace vellumar::fuzzing {

std::vector<FuzzTarget> fuzzTargets(const PictureFormatRegistry& registry) {
    std::vector<FuzzTarget> targets{
        {"picture", [&registry](Bytes bytes) { loadAnyFormat(registry, bytes); }}};
    for (const FormatTarget& format : formatTargets(registry)) {
        targets.push_back({format.name, [&decoder = *format.reader->decoder](Bytes bytes) {
                               decodeWithReader(decoder, bytes);
                           }});
    }
    targets.push_back({"project_file", loadProjectFile});
    targets.push_back({"template", expandTemplateText});
    targets.push_back({"svg", checkSvgFile});
    targets.push_back({"metadata", readMetadata});
    targets.push_back({"jpeg_pass_through", passThroughJpegBytes});
    return targets;
}

const FuzzTarget* findFuzzTarget(const std::vector<FuzzTarget>& targets, const std::string& name) {
    for (const FuzzTarget& target : targets) {
        if (target.name == name) {
            return &target;
        }
    }
    return nullptr;
}

} // namespace vellumar::fuzzing
