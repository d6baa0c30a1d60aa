// The one-line registry helpers against the fake registry.
#include <gtest/gtest.h>

#include "fakes/fake_os.h"
#include "sys/registry_helpers.h"

namespace {

using sys::Hive;

TEST(RegistryHelpers, StringsAreWrittenWithTheirNulAndReadWithout) {
  FakeOs os;
  os.registry.CreateKey(Hive::CurrentUser, "Software\\A", sys::RegistryView::Native);
  sys::SetString(Hive::CurrentUser, "Software\\A", "v", "text");
  EXPECT_EQ(os.registry.ValueOf(Hive::CurrentUser, "Software\\A", "v")->data, std::string("text\0", 5));
  // A value written by someone else with several NULs or none still reads cleanly.
  os.registry.PutValue(Hive::CurrentUser, "Software\\A", "w", {sys::ValueType::String, std::string("ab\0\0", 4)});
  os.registry.PutValue(Hive::CurrentUser, "Software\\A", "x", {sys::ValueType::String, "cd"});
  EXPECT_EQ(sys::QueryString(Hive::CurrentUser, "Software\\A", "w"), "ab");
  EXPECT_EQ(sys::QueryString(Hive::CurrentUser, "Software\\A", "x"), "cd");
  EXPECT_EQ(sys::QueryString(Hive::CurrentUser, "Software\\A", "missing"), std::nullopt);
}

TEST(RegistryHelpers, DwordsNeedTheirTypeAndFourBytes) {
  FakeOs os;
  os.registry.PutValue(Hive::CurrentUser, "Software\\A", "short", {sys::ValueType::Dword, std::string("\1\0", 2)});
  EXPECT_EQ(sys::QueryDword(Hive::CurrentUser, "Software\\A", "short"), std::nullopt);
  EXPECT_EQ(sys::SetDword(Hive::CurrentUser, "Software\\A", "n", 0xFFFFFFFFu), sys::err::kSuccess);
  EXPECT_EQ(sys::QueryDword(Hive::CurrentUser, "Software\\A", "n"), 0xFFFFFFFFu);
}

}  // namespace
