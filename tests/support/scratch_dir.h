// A fresh folder for the running test. ctest runs every test in its own process, in parallel,
// so a folder shared by name between tests would let them delete each other's files.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <string_view>

namespace qla::test {

inline std::filesystem::path ScratchDir(std::string_view tag = "") {
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = "qla_" + std::string(info->test_suite_name()) + "_" + info->name() + "_" +
                       std::string(tag) + "_" + std::to_string(::getpid());
    for (char& c : name) {
        if (c == '/' || c == '\\')
            c = '_';
    }
    const std::filesystem::path dir = std::filesystem::path(testing::TempDir()) / name;
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

} // namespace qla::test
