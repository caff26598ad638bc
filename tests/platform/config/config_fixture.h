#pragma once
// A fresh configuration folder per test, removed afterwards.

#include "platform/config/config_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

class ConfigFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "cv-config-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        fw::SetConfigFolder((root_ / "cantorvale").string());
    }
    void TearDown() override {
        fw::SetConfigFolder("");
        std::filesystem::remove_all(root_);
    }

    std::string ConfigPath(const std::string& name) const { return (root_ / "cantorvale" / name).string(); }
    std::string RootPath(const std::string& name) const { return (root_ / name).string(); }

    static void WriteFile(const std::string& path, const std::string& bytes) {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string ReadFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

    std::filesystem::path root_;
};
