// What the program sees of its own command line (a quoted name with blanks: the seam probe).
#include <gtest/gtest.h>

#include "sys/commandline.h"

namespace {

TEST(ArgumentsAfterProgramName, SkipsQuotedOrBareNameAndTheBlanksAfter) {
  EXPECT_EQ(sys::ArgumentsAfterProgramName("C:\\Setup\\Plandrix_T17_AE.exe\t  /S:1"), "/S:1");
  EXPECT_EQ(sys::ArgumentsAfterProgramName("Plandrix_T17_AE.exe"), "");
  EXPECT_EQ(sys::ArgumentsAfterProgramName("\"unclosed name /S:1"), "");
  // As in the C run-time, a quoted name ends at its closing quote even without a blank.
  EXPECT_EQ(sys::ArgumentsAfterProgramName("\"C:\\a b\"/nocheck"), "/nocheck");
  EXPECT_EQ(sys::ArgumentsAfterProgramName(""), "");
}

}  // namespace
