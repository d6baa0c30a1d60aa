// Path joining and case-insensitive names: every path the program forms goes through these.
#include <gtest/gtest.h>

#include "sys/paths.h"

namespace {

TEST(JoinPath, PutsExactlyOneBackslashAndDropsATrailingOne) {
  EXPECT_EQ(sys::JoinPath("C:\\App\\\\", "\\\\bin\\"), "C:\\App\\bin");
  EXPECT_EQ(sys::JoinPath("C:\\App", ""), "C:\\App");
  EXPECT_EQ(sys::JoinPath("", "bin\\"), "bin");
}

TEST(CaseFolding, CoversAsciiAndWindows1252Letters) {
  EXPECT_TRUE(sys::EqualsNoCase("Software\\MOLVEX", "software\\molvex"));
  EXPECT_TRUE(sys::EqualsNoCase("\xC4rger", "\xE4RGER"));  // Ä / ä
  EXPECT_TRUE(sys::EqualsNoCase("\x8A", "\x9A"));          // Š / š
  EXPECT_FALSE(sys::EqualsNoCase("\xD7", "\xF7"));         // × and ÷ are not letters
  EXPECT_FALSE(sys::EqualsNoCase("abc", "abcd"));
  EXPECT_LT(sys::CompareNoCase("alpha", "BETA"), 0);
  EXPECT_LT(sys::CompareNoCase("abc", "ABCD"), 0);
  EXPECT_TRUE(sys::EndsWithNoCase("Setup.EXE", ".exe"));
  EXPECT_FALSE(sys::EndsWithNoCase("exe", ".exe"));
}

}  // namespace
