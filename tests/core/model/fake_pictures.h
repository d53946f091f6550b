#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "project_error.h"
#include "readers/format_registry.h"
#include "support/scratch_folder.h"

namespace vellumar::testing {

// A picture format for tests that need pictures but not a real decoder: the file is the
// text "TST <width> <height>".
class FakePictureReader : public PictureReader {
public:
    bool sniff(Bytes bytes) const override {
        return bytes.size() >= 4 && std::string(bytes.begin(), bytes.begin() + 4) == "TST ";
    }
    PictureSize probe(const PictureSource& source) const override {
        if (!sniff(source.bytes)) {
            throw ProjectError("not a test picture");
        }
        PictureSize size;
        std::sscanf(std::string(source.bytes.begin(), source.bytes.end()).c_str(), "TST %d %d",
                    &size.width, &size.height);
        return size;
    }
    Bitmap decode(const PictureSource&) const override { throw ProjectError("not decoded"); }
};

// Reads ".tst" and ".jpg" files with the fake reader.
class FakeFormats : public PictureFormatRegistry {
public:
    FakeFormats() {
        auto reader = std::make_shared<FakePictureReader>();
        registerFormat("tst", "Test pictures", "", "TTestGraphic", ReaderKind::Bitmap, reader);
        registerFormat("jpg", "", "JPG test pictures", "TTestGraphic", ReaderKind::Bitmap, reader);
    }
};

// A scratch folder with helpers for making pictures and files in it.
class TempFolder : public ScratchFolder {
public:
    // The full path of name inside the folder.
    std::string operator/(const std::string& name) const { return (path() / name).string(); }

    std::string write(const std::string& name, const std::string& content) const {
        writeFile(path() / name, content);
        return *this / name;
    }
    std::string picture(const std::string& name, int width = 640, int height = 480) const {
        return write(name, "TST " + std::to_string(width) + " " + std::to_string(height));
    }
};

} // namespace vellumar::testing
