#pragma once

#include <functional>
#include <string>
#include <vector>

#include "readers/format_registry.h"
#include "readers/picture_reader.h"

namespace vellumar::fuzzing {

// One thing the fuzzer can drive, named as its corpus folder tests/fuzz/corpus/<name>/.
struct FuzzTarget {
    std::string name;
    std::function<void(Bytes)> run;
};

// "picture" (the first byte picks the extension and the program's loader takes it from there),
// one target a reader class that hands the bytes to that reader alone (named by the first
// extension it serves), "project_file", "template", "metadata" and "jpeg_pass_through".
std::vector<FuzzTarget> fuzzTargets(const PictureFormatRegistry& registry);

// The target of that name, or nullptr.
const FuzzTarget* findFuzzTarget(const std::vector<FuzzTarget>& targets, const std::string& name);

} // namespace vellumar::fuzzing
