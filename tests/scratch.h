// Scratch files for the unit tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

// A file in the test's folder: tmpfile() may not be allowed to write where Windows puts it.
// Named after the running test: CTest runs the tests of a file side by side.
inline std::string scratch_file(const char *extension)
{
    return std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + extension;
}

// The bytes written to a scratch list; returns its path.
inline std::string scratch_list(const std::string &bytes)
{
    const std::string path = scratch_file(".txt");
    std::FILE *file = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    return path;
}
