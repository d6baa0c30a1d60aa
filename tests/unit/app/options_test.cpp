// The command line's option syntax.
#include <gtest/gtest.h>

#include <tuple>

#include "app/options.h"

namespace {

TEST(FindOption, QuotingLastOccurrenceAndExactNames) {
  const std::tuple<const char*, const char*, std::optional<std::string>> cases[] = {
      {"/I:\"C:\\Program Files\\Fin\" /S:2", "I", "C:\\Program Files\\Fin"},
      {"/I:C:\\Program Files\\Fin /S:2", "I", "C:\\Program"},
      {"/I:\"C:\\Fin /S:2", "I", std::nullopt},       // no closing quote
      {"/I:C:\\A /I:\"C:\\B", "I", std::nullopt},     // the last one decides, well-formed or not
      {"/UNINSTALL:\"\" /S:2", "UNINSTALL", ""},
      {"/s:2", "S", std::nullopt},                    // names keep their letter case
      {"/OS:9", "S", std::nullopt},                   // nor is one found inside a longer one
      {"/PW:secret", "P", std::nullopt},
  };
  for (const auto& [commandLine, name, value] : cases) EXPECT_EQ(FindOption(commandLine, name), value) << commandLine;
}

TEST(OptionValues, NumbersFlagsAndTheNoCheckSwitch) {
  EXPECT_EQ(OptionNumber("12abc"), 12);
  EXPECT_EQ(OptionNumber("-3"), -3);
  EXPECT_EQ(OptionNumber("99999999999999"), 2147483647);
  EXPECT_TRUE(OptionFlag("1yes"));
  EXPECT_FALSE(OptionFlag("yes"));
  EXPECT_TRUE(HasNoCheckSwitch("/S:2 /NoCheck"));
  EXPECT_FALSE(HasNoCheckSwitch("/S:2 /check"));
}

}  // namespace
