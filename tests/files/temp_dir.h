// Runs each test in a fresh temporary folder: the game's file names are relative.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace halvane {

class TempDirTest : public ::testing::Test {
  protected:
    void SetUp() override {
        home_ = std::filesystem::current_path();
        std::string pattern = (std::filesystem::temp_directory_path() / "halvane-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        std::filesystem::current_path(dir_);
    }
    void TearDown() override {
        std::filesystem::current_path(home_);
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    static void WriteText(const std::string &name, const std::string &text) {
        std::ofstream(name, std::ios::binary) << text;
    }
    static void WriteBytes(const std::string &name, const std::vector<uint8_t> &bytes) {
        WriteText(name, std::string(bytes.begin(), bytes.end()));
    }
    // The shipped levels, setup and pictures from `source`, for whole games; a
    // Data folder of the test's own, so the best score lands here.
    static void UseShippedGame(const std::string &source) {
        std::filesystem::create_directory("Data");
        for (int level = 1; level <= 5; ++level) {
            const std::string name = "level" + std::to_string(level) + ".dat";
            std::filesystem::copy_file(source + "/Data/" + name, "Data/" + name);
        }
        std::filesystem::copy_file(source + "/Data/setup.dat", "Data/setup.dat");
        std::filesystem::create_directory_symlink(source + "/Graphics", "Graphics");
    }
    static std::vector<uint8_t> ReadBytes(const std::string &name) {
        std::ifstream in(name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::filesystem::path home_, dir_;
};

} // namespace halvane
