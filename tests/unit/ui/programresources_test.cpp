// The Windows programs of both builds carry the project's version in their version
// resource: the program reads it back to log it and to compare itself with an
// installed copy.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "sys/peversion.h"

namespace {

TEST(ProgramResources, BothProgramsOfBothBuildsCarryTheProjectVersion) {
  char actual[32];
  std::vector<std::filesystem::path> programs;
  for (const char* bin : {PLANDRIX_WINDOWS_BIN, PLANDRIX_WINDOWS32_BIN})
    for (const char* program : {"Plandrix_T17_AE.exe", "HalomirPlandrix.exe"}) programs.emplace_back(bin) /= program;
  for (const std::filesystem::path& path : programs) {
    if (!std::filesystem::exists(path)) FAIL() << "build the windows and windows32 presets first: " << path << " is missing";
    std::ifstream file(path, std::ios::binary);
    std::vector<uint8_t> image((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::optional<sys::PeVersion> version = sys::ReadPeVersion(image);
    ASSERT_TRUE(version.has_value()) << path;
    const sys::FileVersion& parts = version->file;
    std::snprintf(actual, sizeof actual, "%u.%u.%u.%u", parts[0], parts[1], parts[2], parts[3]);
    EXPECT_STREQ(actual, PLANDRIX_PROJECT_VERSION) << path;
  }
}

}  // namespace
