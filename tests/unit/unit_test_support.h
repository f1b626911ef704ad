// What the unit suites share: the fixtures of tests/data, reading a file whole, and a folder of
// the test's own, made before each test and removed with all it holds after it.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

#include <gtest/gtest.h>

inline std::string fixture(const std::string& name) {
    return std::string(PSTYLE_TEST_DATA_DIR) + "/" + name;
}

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class TempFolderTest : public testing::Test {
protected:
    void SetUp() override {
        dir_ =
            (std::filesystem::temp_directory_path() / ("pstyle-test-" + std::to_string(getpid())))
                .string();
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        std::filesystem::permissions(dir_, std::filesystem::perms(0755));
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    // name may lead into a subfolder.
    std::string path(const std::string& name) const { return dir_ + "/" + name; }

    // The names in the folder or in one of its subfolders, sorted.
    std::vector<std::string> entries(const std::string& subfolder = ".") const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path(subfolder))) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string dir_;
};
