#pragma once

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

#include <gtest/gtest.h>

#include "imaging/format_registry.h"
#include "project_error.h"

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

// A fresh folder per test, removed afterwards.
class TempFolder {
public:
    TempFolder() {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        m_path = std::filesystem::temp_directory_path() /
                 ("vellumar-" + std::string(test->test_suite_name()) + "-" + test->name() + "-" +
                  std::to_string(::getpid()));
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~TempFolder() { std::filesystem::remove_all(m_path); }

    // The full path of name inside the folder, with "/" separators.
    std::string operator/(const std::string& name) const { return (m_path / name).string(); }

    std::string write(const std::string& name, const std::string& content) const {
        const std::filesystem::path file = m_path / name;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << content;
        return file.string();
    }
    std::string picture(const std::string& name, int width = 640, int height = 480) const {
        return write(name, "TST " + std::to_string(width) + " " + std::to_string(height));
    }

private:
    std::filesystem::path m_path;
};

} // namespace vellumar::testing
