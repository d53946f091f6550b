#pragma once

#include <filesystem>
#include <string>
#include <unistd.h>

#include <gtest/gtest.h>

#include "support/file_contents.h"

namespace vellumar::testing {

// A fresh folder for one test, removed with everything in it when the test ends.
class ScratchFolder {
public:
    ScratchFolder() {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(test->test_suite_name()) + "." + test->name();
        for (char& c : name) {
            if (c == '/') {
                c = '_';
            }
        }
        // The process id keeps test runs of other build folders on this machine apart.
        m_path = std::filesystem::temp_directory_path() /
                 ("vellumar-" + name + "-" + std::to_string(::getpid()));
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // The folder as a text ending in "/", the form the core's folder settings take.
    std::string folder() const { return m_path.string() + "/"; }

private:
    std::filesystem::path m_path;
};

} // namespace vellumar::testing
