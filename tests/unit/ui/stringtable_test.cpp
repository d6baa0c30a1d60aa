// The string table as both builds and the native tests see it.
#include "ui/strings/stringtable.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string Fnc(uint32_t id) { return std::string(FindStringEntry(id, StringTableBuild::kFnc)); }

// The loader's buffer holds 511 bytes, and a message text is written to the log as a
// printf format: an entry that breaks either rule would be cut or garble the log.
TEST(StringTable, EveryEntryFitsTheLoaderIsSafeAsALogFormatAndListsCarryTheirCodes) {
  for (StringTableBuild build : {StringTableBuild::kFnc, StringTableBuild::kGeneric}) {
    uint32_t previous = 0;
    for (const StringEntry& entry : StringEntries(build)) {
      EXPECT_FALSE(entry.text.empty()) << entry.id;
      EXPECT_LE(entry.text.size(), 511u) << entry.id;
      EXPECT_EQ(entry.text.find('%'), std::string_view::npos) << entry.id;
      EXPECT_GT(entry.id, previous) << "entries must be sorted for the lookup";
      previous = entry.id;
    }
  }
  // The dialog shows the language and country lists without their first three characters
  // and stores the first two as the code.
  EXPECT_EQ(Fnc(220), "   (All)");
  EXPECT_EQ(Fnc(250), "   (All)");
  for (uint32_t id = 221; id <= 254; ++id) {
    if (id == 250) continue;
    std::string text = Fnc(id);
    ASSERT_GE(text.size(), 4u) << id;
    EXPECT_TRUE(std::isupper(static_cast<unsigned char>(text[0])) && std::isupper(static_cast<unsigned char>(text[1])))
        << id;
    EXPECT_EQ(text[2], ' ') << id;
  }
  EXPECT_EQ(Fnc(255), "");
}

// The generator itself, on a small table of its own.
class StringGenerator : public ::testing::Test {
 protected:
  void SetUp() override {
    // A folder per test: ctest runs the tests of this fixture side by side.
    dir_ = std::filesystem::path(PLANDRIX_BINARY_DIR) / "test-output" / "stringgenerator" /
           ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    Write("generic.tsv", "2\tkLine\tQS2003E\n");
  }
  void Write(const std::string& name, const std::string& content) {
    std::ofstream(dir_ / name, std::ios::binary) << content;
  }
  std::string Read(const std::string& name) {
    std::ifstream file(dir_ / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
  }
  int Generate() {
    std::string command = "cd '" + dir_.string() + "' && python3 " PLANDRIX_SOURCE_DIR
                          "/tools/stringtable/generate_strings.py --table strings.tsv --generic generic.tsv"
                          " --rc-fnc fnc.rc --rc-generic generic.rc --cpp table.cpp --ids ids.h 2>/dev/null";
    return std::system(command.c_str());
  }
  std::filesystem::path dir_;
};

TEST_F(StringGenerator, ConvertsToWindows1252AndEscapesForBothLanguages) {
  Write("strings.tsv",
        "# comment\n2\tkLine\tFNC\n7\tkCafe\tCaf\xc3\xa9 \xe2\x80\x99quoted\\\" a\\b\\r\\n\\tend\n9\tkAbsent\n");
  ASSERT_EQ(Generate(), 0);
  std::string rc = Read("fnc.rc");
  EXPECT_EQ(rc.find("  9, "), std::string::npos) << "a name without a text is no entry";
  EXPECT_NE(Read("ids.h").find("constexpr uint32_t kAbsent = 9;"), std::string::npos) << Read("ids.h");
  EXPECT_NE(rc.find("  7, \"Caf\\351 \\222quoted\"\" a\\\\b\\r\\n\\tend\"\r\n"), std::string::npos) << rc;
  EXPECT_NE(Read("generic.rc").find("  2, \"QS2003E\""), std::string::npos);
  EXPECT_NE(Read("table.cpp").find("{7, std::string_view(\"Caf\\351 \\222quoted\\\" a\\\\b\\015\\012\\011end\", 23)}"),
            std::string::npos)
      << Read("table.cpp");
}

TEST_F(StringGenerator, RefusesABrokenTableAndWritesNothing) {
  for (const char* broken : {"7 no tab\n", "7\tkOne\tone\n7\tkTwo\ttwo\n", "7\tkOne\tone\n8\tkOne\ttwo\n",
                             "7\tkWide\t\xe4\xb8\xad\n", "70000\tkBig\tbig\n", "7\tkEmpty\t\n", "7\tunnamed\ttext\n",
                             "3\tkOther\tgeneric differs from the main table's name\n2\tkNotLine\tFNC\n"}) {
    Write("strings.tsv", broken);
    std::filesystem::remove(dir_ / "fnc.rc");
    EXPECT_NE(Generate(), 0) << broken;
    EXPECT_FALSE(std::filesystem::exists(dir_ / "fnc.rc")) << broken;
  }
}

}  // namespace
