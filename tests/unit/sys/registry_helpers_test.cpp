// The registry helpers read what other programs wrote: strings with several NULs or
// none, and DWORD values of the wrong size. (Writing is part of the seam contract.)
#include <gtest/gtest.h>

#include "fakes/fake_os.h"
#include "sys/registry_helpers.h"

namespace {

TEST(RegistryHelpers, ForeignStringsAndShortDwordsReadCleanly) {
  FakeOs os;
  using sys::Hive;
  os.registry.PutValue(Hive::CurrentUser, "Software\\A", "w", {sys::ValueType::String, std::string("ab\0\0", 4)});
  os.registry.PutValue(Hive::CurrentUser, "Software\\A", "x", {sys::ValueType::String, "cd"});
  os.registry.PutValue(Hive::CurrentUser, "Software\\A", "short", {sys::ValueType::Dword, std::string("\1\0", 2)});
  EXPECT_EQ(sys::QueryString(Hive::CurrentUser, "Software\\A", "w"), "ab");
  EXPECT_EQ(sys::QueryString(Hive::CurrentUser, "Software\\A", "x"), "cd");
  EXPECT_EQ(sys::QueryDword(Hive::CurrentUser, "Software\\A", "short"), std::nullopt);
}

}  // namespace
