// Project files come from anywhere: reading one must never crash or hang, whatever the bytes,
// and what was read must save again.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <unistd.h>

#include "frontend.h"
#include "model/project_file.h"

namespace {

class SilentFrontend : public vellumar::Frontend {
public:
    void status(const std::string&) override {}
    void progress(int) override {}
    void notice(const std::string&) override {}
    bool question(const std::string&) override { return false; }
    void processEvents() override {}
};

const std::string& projectPath() {
    static const std::string path = "/tmp/vellumar-fuzz-" + std::to_string(::getpid()) + ".vlm";
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::ofstream(projectPath(), std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    SilentFrontend frontend;
    vellumar::PictureList list;
    vellumar::GallerySettings settings;
    if (vellumar::LoadProject(projectPath(), list, settings, {"Classic", "Paper"}, frontend)) {
        vellumar::projectText(list, settings, "fuzz.vlm");
    }
    return 0;
}
