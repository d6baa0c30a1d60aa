// The fake registry behaves like the real one where the program's logic depends on it.
#include <gtest/gtest.h>

#include "fakes/fake_os.h"
#include "sys/registry_helpers.h"

namespace {

using sys::Hive;
using sys::KeyAccess;
using sys::RegistryView;
namespace err = sys::err;

constexpr const char* kSettingsKey = "Software\\Molvex\\e-Halomir Plandrix";

TEST(FakeRegistry, KeysAndValuesCompareWithoutCaseButKeepTheirCase) {
  FakeOs os;
  ASSERT_EQ(os.registry.CreateKey(Hive::CurrentUser, kSettingsKey, RegistryView::Native), err::kSuccess);
  ASSERT_EQ(sys::SetString(Hive::CurrentUser, "SOFTWARE\\molvex\\E-HALOMIR PLANDRIX", "InstallDir", "C:\\Fennic"),
            err::kSuccess);
  EXPECT_EQ(sys::QueryString(Hive::CurrentUser, kSettingsKey, "installdir"), "C:\\Fennic");
  EXPECT_EQ(os.registry.KeyNameOf(Hive::CurrentUser, "software\\molvex\\e-halomir plandrix"), "e-Halomir Plandrix");
  auto names = os.registry.EnumValueNames(Hive::CurrentUser, kSettingsKey, RegistryView::Native);
  ASSERT_TRUE(names.ok());
  EXPECT_EQ(names.value, std::vector<std::string>{"InstallDir"});
}

TEST(FakeRegistry, ValuesKeepTheirTypeAndRawBytes) {
  FakeOs os;
  os.registry.CreateKey(Hive::LocalMachine, "Software\\Probe", RegistryView::Native);
  sys::SetString(Hive::LocalMachine, "Software\\Probe", "Path", "%SystemRoot%\\x", sys::ValueType::ExpandString);
  sys::SetDword(Hive::LocalMachine, "Software\\Probe", "Count", 0x01020304);
  os.registry.SetValue(Hive::LocalMachine, "Software\\Probe", "Blob", {sys::ValueType::Binary, std::string("\0\1", 2)},
                       RegistryView::Native);

  auto path = os.registry.QueryValue(Hive::LocalMachine, "Software\\Probe", "Path", RegistryView::Native);
  EXPECT_EQ(path.value.type, sys::ValueType::ExpandString);
  EXPECT_EQ(path.value.data, std::string("%SystemRoot%\\x\0", 15));  // written with its NUL
  auto count = os.registry.QueryValue(Hive::LocalMachine, "Software\\Probe", "Count", RegistryView::Native);
  EXPECT_EQ(count.value.data, std::string("\4\3\2\1", 4));  // little-endian
  EXPECT_EQ(sys::QueryDword(Hive::LocalMachine, "Software\\Probe", "Count"), 0x01020304u);
  // A DWORD is not a string and a string is not a DWORD.
  EXPECT_EQ(sys::QueryString(Hive::LocalMachine, "Software\\Probe", "Count"), std::nullopt);
  EXPECT_EQ(sys::QueryDword(Hive::LocalMachine, "Software\\Probe", "Path"), std::nullopt);
  EXPECT_EQ(os.registry.ValueOf(Hive::LocalMachine, "Software\\Probe", "Blob")->data, std::string("\0\1", 2));
}

TEST(FakeRegistry, AbsentKeysAndValuesAnswerTwo) {
  FakeOs os;
  EXPECT_EQ(os.registry.OpenKey(Hive::CurrentUser, "Software\\Nowhere", KeyAccess::Read, RegistryView::Native),
            err::kFileNotFound);
  EXPECT_EQ(os.registry.QueryValue(Hive::CurrentUser, "Software\\Nowhere", "x", RegistryView::Native).error,
            err::kFileNotFound);
  // Setting a value does not create its key.
  EXPECT_EQ(sys::SetString(Hive::CurrentUser, "Software\\Nowhere", "x", "y"), err::kFileNotFound);
  EXPECT_FALSE(os.registry.HasKey(Hive::CurrentUser, "Software\\Nowhere"));
  os.registry.CreateKey(Hive::CurrentUser, "Software\\Somewhere", RegistryView::Native);
  EXPECT_EQ(os.registry.QueryValue(Hive::CurrentUser, "Software\\Somewhere", "", RegistryView::Native).error,
            err::kFileNotFound);
  EXPECT_EQ(os.registry.DeleteValue(Hive::CurrentUser, "Software\\Somewhere", "x", RegistryView::Native),
            err::kFileNotFound);
}

TEST(FakeRegistry, KeysWithSubKeysCannotBeDeletedAndSubKeysListSorted) {
  FakeOs os;
  os.registry.CreateKey(Hive::CurrentUser, "Software\\Top\\beta", RegistryView::Native);
  os.registry.CreateKey(Hive::CurrentUser, "Software\\Top\\Alpha", RegistryView::Native);
  os.registry.CreateKey(Hive::CurrentUser, "Software\\Top\\gamma\\deep", RegistryView::Native);
  auto subKeys = os.registry.EnumSubKeys(Hive::CurrentUser, "Software\\Top", RegistryView::Native);
  EXPECT_EQ(subKeys.value, (std::vector<std::string>{"Alpha", "beta", "gamma"}));

  EXPECT_EQ(os.registry.DeleteKey(Hive::CurrentUser, "Software\\Top\\Gamma", RegistryView::Native),
            err::kAccessDenied);
  EXPECT_EQ(os.registry.DeleteKey(Hive::CurrentUser, "Software\\Top\\Gamma\\Deep", RegistryView::Native),
            err::kSuccess);
  EXPECT_EQ(os.registry.DeleteKey(Hive::CurrentUser, "Software\\Top\\Gamma", RegistryView::Native), err::kSuccess);
  EXPECT_EQ(os.registry.DeleteKey(Hive::CurrentUser, "Software\\Top\\Gamma", RegistryView::Native),
            err::kFileNotFound);
}

TEST(FakeRegistry, RefusedWriteLeavesReadingAlone) {
  FakeOs os;
  os.registry.PutString(Hive::LocalMachine, "Software\\Molvex", "Owner", "admin");
  os.registry.RefuseAccess(Hive::LocalMachine, "Software", KeyAccess::Write);

  EXPECT_EQ(os.registry.OpenKey(Hive::LocalMachine, "Software\\Molvex", KeyAccess::Read, RegistryView::Native),
            err::kSuccess);
  EXPECT_EQ(os.registry.OpenKey(Hive::LocalMachine, "Software\\Molvex", KeyAccess::Write, RegistryView::Native),
            err::kAccessDenied);
  EXPECT_EQ(sys::QueryString(Hive::LocalMachine, "Software\\Molvex", "Owner"), "admin");
  EXPECT_EQ(sys::SetString(Hive::LocalMachine, "Software\\Molvex", "Owner", "user"), err::kAccessDenied);
  EXPECT_EQ(os.registry.CreateKey(Hive::LocalMachine, "Software\\Molvex\\New", RegistryView::Native),
            err::kAccessDenied);
  EXPECT_FALSE(os.registry.HasKey(Hive::LocalMachine, "Software\\Molvex\\New"));
  // The user's own hive is not affected.
  EXPECT_EQ(os.registry.CreateKey(Hive::CurrentUser, "Software\\Molvex\\New", RegistryView::Native), err::kSuccess);

  os.registry.RefuseAccess(Hive::LocalMachine, "Software\\Molvex", KeyAccess::Read);
  EXPECT_EQ(sys::QueryString(Hive::LocalMachine, "Software\\Molvex", "Owner"), std::nullopt);
}

TEST(FakeRegistry, ThirtyTwoBitViewLivesUnderWow6432Node) {
  FakeOs os;
  os.registry.CreateKey(Hive::LocalMachine, "Software\\Molvex", RegistryView::Wow32);
  EXPECT_TRUE(os.registry.HasKey(Hive::LocalMachine, "Software\\Wow6432Node\\Molvex"));
  EXPECT_FALSE(os.registry.HasKey(Hive::LocalMachine, "Software\\Molvex"));
  // The user's hive has one view; a 32-bit system has one view everywhere.
  os.registry.CreateKey(Hive::CurrentUser, "Software\\Molvex", RegistryView::Wow32);
  EXPECT_TRUE(os.registry.HasKey(Hive::CurrentUser, "Software\\Molvex"));
  os.registry.is64BitSystem = false;
  os.registry.CreateKey(Hive::LocalMachine, "Software\\Other", RegistryView::Wow32);
  EXPECT_TRUE(os.registry.HasKey(Hive::LocalMachine, "Software\\Other"));
}

TEST(FakeRegistry, ClassesRootIsTheMachineClassesKey) {
  FakeOs os;
  os.registry.CreateKey(Hive::ClassesRoot, "CLSID\\{0000}", RegistryView::Native);
  EXPECT_TRUE(os.registry.HasKey(Hive::LocalMachine, "Software\\Classes\\CLSID\\{0000}"));
}

TEST(FakeRegistry, ADescriptorGoesOnlyToAKeyTheCallMakes) {
  FakeOs os;
  os.registry.CreateKey(Hive::LocalMachine, "Software\\Old", RegistryView::Native);
  EXPECT_EQ(os.registry.CreateKeyWithDescriptor(Hive::LocalMachine, "Software\\Old", "D:(A;;KA;;;WD)"), err::kSuccess);
  EXPECT_EQ(os.registry.CreateKeyWithDescriptor(Hive::LocalMachine, "Software\\New\\Key", "D:(A;;KA;;;WD)"),
            err::kSuccess);
  EXPECT_EQ(os.registry.DescriptorOf(Hive::LocalMachine, "Software\\Old"), std::nullopt);
  EXPECT_EQ(os.registry.DescriptorOf(Hive::LocalMachine, "software\\new\\key"), "D:(A;;KA;;;WD)");
  os.registry.RefuseAccess(Hive::LocalMachine, "Software", KeyAccess::Write);
  EXPECT_EQ(os.registry.CreateKeyWithDescriptor(Hive::LocalMachine, "Software\\Denied", "D:"), err::kAccessDenied);
}

TEST(FakeRegistry, FaultsFailTheChosenCallsOnly) {
  FakeOs os;
  os.registry.PutString(Hive::CurrentUser, "Software\\A", "v", "1");
  os.registry.faults.FailNth(fakes::RegistryOp::QueryValue, 2, err::kAccessDenied, "software\\a");
  EXPECT_TRUE(os.registry.QueryValue(Hive::CurrentUser, "Software\\A", "v", RegistryView::Native).ok());
  EXPECT_EQ(os.registry.QueryValue(Hive::CurrentUser, "Software\\A", "v", RegistryView::Native).error,
            err::kAccessDenied);
  EXPECT_TRUE(os.registry.QueryValue(Hive::CurrentUser, "Software\\A", "v", RegistryView::Native).ok());
  EXPECT_EQ(os.registry.faults.Calls(fakes::RegistryOp::QueryValue), 3);
}

}  // namespace
