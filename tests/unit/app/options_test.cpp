// The command line's option syntax.
#include <gtest/gtest.h>

#include "app/options.h"

namespace {

TEST(FindOption, QuotedValueKeepsItsBlanksAndUnquotedEndsAtTheFirstBlank) {
  EXPECT_EQ(FindOption("/I:\"C:\\Program Files\\Fin\" /S:2", "I"), "C:\\Program Files\\Fin");
  EXPECT_EQ(FindOption("/I:C:\\Program Files\\Fin /S:2", "I"), "C:\\Program");
}

TEST(FindOption, TheLastOccurrenceCounts) {
  EXPECT_EQ(FindOption("/R:100 /P:FNC /R:200", "R"), "200");
  EXPECT_EQ(FindOption("/R:\"1 0\" /R:\"2 0\"", "R"), "2 0");
}

TEST(FindOption, AbsentOrUnclosedQuoteIsNotFound) {
  EXPECT_FALSE(FindOption("/P:FNC", "R").has_value());
  EXPECT_FALSE(FindOption("/I:\"C:\\Fin /S:2", "I").has_value());
  // The last occurrence decides even when an earlier one was well-formed.
  EXPECT_FALSE(FindOption("/I:C:\\A /I:\"C:\\B", "I").has_value());
}

TEST(FindOption, EmptyValuesAreFound) {
  EXPECT_EQ(FindOption("/REBOOT:", "REBOOT"), "");
  EXPECT_EQ(FindOption("/UNINSTALL:\"\" /S:2", "UNINSTALL"), "");
  EXPECT_EQ(FindOption("/DEBUG: /S:2", "DEBUG"), "");
}

TEST(FindOption, NamesCompareWithLetterCase) {
  EXPECT_FALSE(FindOption("/s:2", "S").has_value());
  // "/OS:" does not hold "/S:", and one name is not found inside a longer one.
  EXPECT_FALSE(FindOption("/OS:9", "S").has_value());
  EXPECT_FALSE(FindOption("/PW:secret", "P").has_value());
}

TEST(OptionNumber, ReadsLeadingDecimalDigitsAndGivesZeroForText) {
  EXPECT_EQ(OptionNumber("2"), 2);
  EXPECT_EQ(OptionNumber("12abc"), 12);
  EXPECT_EQ(OptionNumber("abc"), 0);
  EXPECT_EQ(OptionNumber(""), 0);
  EXPECT_EQ(OptionNumber("-3"), -3);
  EXPECT_EQ(OptionNumber("99999999999999"), 2147483647);
}

TEST(OptionFlag, OnlyALeadingOneCounts) {
  EXPECT_TRUE(OptionFlag("1"));
  EXPECT_TRUE(OptionFlag("1yes"));
  EXPECT_FALSE(OptionFlag("0"));
  EXPECT_FALSE(OptionFlag("yes"));
  EXPECT_FALSE(OptionFlag(""));
}

TEST(NoCheckSwitch, IsFoundInAnyLetterCase) {
  EXPECT_TRUE(HasNoCheckSwitch("/S:2 /NoCheck"));
  EXPECT_TRUE(HasNoCheckSwitch("/nocheck"));
  EXPECT_FALSE(HasNoCheckSwitch("/S:2 /check"));
}

}  // namespace
