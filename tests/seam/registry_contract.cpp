// The registry: names without letter case but with their case kept, typed values as
// raw bytes, 2 for what is absent, 5 for a key with sub-keys, the classes root and keys
// made with an access list.
#include "seam/contract.h"
#include <optional>

#include "sys/os.h"
#include "sys/paths.h"
#include "sys/registry.h"
#include "sys/registry_helpers.h"

namespace {

using sys::Hive;
using sys::KeyAccess;
namespace err = sys::err;

sys::Registry& Registry() { return *sys::os().registry; }

SEAM_CHECK(RegistryNamesIgnoreCaseButKeepIt) {
  const std::string key = bench.key + "\\Mixed Case";
  SEAM_EQ(Registry().CreateKey(Hive::CurrentUser, key), err::kSuccess);
  SEAM_EQ(Registry().CreateKey(Hive::CurrentUser, sys::FoldedCopy(key)), err::kSuccess);
  SEAM_EQ(sys::SetString(Hive::CurrentUser, sys::FoldedCopy(key), "InstallDir", "C:\\Fin"), err::kSuccess);
  SEAM_EQ(sys::QueryString(Hive::CurrentUser, key, "INSTALLDIR"), std::optional<std::string>("C:\\Fin"));
  SEAM_EQ(Registry().EnumSubKeys(Hive::CurrentUser, bench.key).value, std::vector<std::string>{"Mixed Case"});
  SEAM_EQ(Registry().EnumValueNames(Hive::CurrentUser, key).value, std::vector<std::string>{"InstallDir"});
}

SEAM_CHECK(RegistryValuesKeepTheirTypeAndBytes) {
  const std::string& key = bench.key;
  Registry().CreateKey(Hive::CurrentUser, key);
  sys::SetString(Hive::CurrentUser, key, "Path", "C:\\x");
  sys::SetDword(Hive::CurrentUser, key, "Count", 0x01020304);
  auto path = Registry().QueryValue(Hive::CurrentUser, key, "Path");
  SEAM_EQ(path.value.type, sys::ValueType::String);
  SEAM_EQ(path.value.data, std::string("C:\\x\0", 5));  // stored with its NUL
  SEAM_EQ(Registry().QueryValue(Hive::CurrentUser, key, "Count").value.data, std::string("\4\3\2\1", 4));
  SEAM_EQ(sys::QueryDword(Hive::CurrentUser, key, "Count"), std::optional<uint32_t>(0x01020304));
  // A DWORD is no string and a string no DWORD; strings other programs wrote end at
  // their first NUL or without one, a DWORD of the wrong size is none.
  SEAM_EQ(sys::QueryString(Hive::CurrentUser, key, "Count"), std::nullopt);
  SEAM_EQ(sys::QueryDword(Hive::CurrentUser, key, "Path"), std::nullopt);
  Registry().SetValue(Hive::CurrentUser, key, "Nuls", {sys::ValueType::String, std::string("ab\0\0", 4)});
  Registry().SetValue(Hive::CurrentUser, key, "Bare", {sys::ValueType::String, "cd"});
  Registry().SetValue(Hive::CurrentUser, key, "Short", {sys::ValueType::Dword, std::string("\1\0", 2)});
  SEAM_EQ(sys::QueryString(Hive::CurrentUser, key, "Nuls"), std::optional<std::string>("ab"));
  SEAM_EQ(sys::QueryString(Hive::CurrentUser, key, "Bare"), std::optional<std::string>("cd"));
  SEAM_EQ(sys::QueryDword(Hive::CurrentUser, key, "Short"), std::nullopt);
  SEAM_EQ(Registry().DeleteValue(Hive::CurrentUser, key, "COUNT"), err::kSuccess);
  SEAM_EQ(Registry().EnumValueNames(Hive::CurrentUser, key).value.size(), 4u);
}

SEAM_CHECK(RegistryAbsentKeysAndValuesAnswerTwo) {
  const std::string absent = bench.key + "\\Nowhere";
  SEAM_EQ(Registry().OpenKey(Hive::CurrentUser, absent, KeyAccess::Read), err::kFileNotFound);
  SEAM_EQ(Registry().QueryValue(Hive::CurrentUser, absent, "x").error, err::kFileNotFound);
  // Setting a value does not make its key.
  SEAM_EQ(sys::SetString(Hive::CurrentUser, absent, "x", "y"), err::kFileNotFound);
  SEAM_EQ(Registry().OpenKey(Hive::CurrentUser, absent, KeyAccess::Read), err::kFileNotFound);
  Registry().CreateKey(Hive::CurrentUser, bench.key);
  SEAM_EQ(Registry().QueryValue(Hive::CurrentUser, bench.key, "").error, err::kFileNotFound);
  SEAM_EQ(Registry().QueryValue(Hive::CurrentUser, bench.key, "x").error, err::kFileNotFound);
  SEAM_EQ(Registry().DeleteValue(Hive::CurrentUser, bench.key, "x"), err::kFileNotFound);
}

SEAM_CHECK(RegistryKeysWithSubKeysStayAndSubKeysListSorted) {
  for (const char* sub : {"beta", "Alpha", "gamma\\deep"}) Registry().CreateKey(Hive::CurrentUser, bench.key + "\\" + sub);
  SEAM_EQ(Registry().EnumSubKeys(Hive::CurrentUser, bench.key).value,
          (std::vector<std::string>{"Alpha", "beta", "gamma"}));
  SEAM_EQ(Registry().DeleteKey(Hive::CurrentUser, bench.key + "\\Gamma"), err::kAccessDenied);
  SEAM_EQ(Registry().DeleteKey(Hive::CurrentUser, bench.key + "\\Gamma\\Deep"), err::kSuccess);
  SEAM_EQ(Registry().DeleteKey(Hive::CurrentUser, bench.key + "\\Gamma"), err::kSuccess);
  SEAM_EQ(Registry().DeleteKey(Hive::CurrentUser, bench.key + "\\Gamma"), err::kFileNotFound);
}

SEAM_CHECK(RegistryTreesGoWholeAndEmptyKeysOnlyWhenEmpty) {
  Registry().CreateKey(Hive::CurrentUser, bench.key + "\\Tree\\Deep");
  Registry().CreateKey(Hive::CurrentUser, bench.key + "\\Valued");
  sys::SetString(Hive::CurrentUser, bench.key + "\\Valued", "x", "y");
  SEAM_EQ(Registry().DeleteEmptyKey(Hive::CurrentUser, bench.key + "\\Tree") != err::kSuccess, true);
  SEAM_EQ(Registry().DeleteEmptyKey(Hive::CurrentUser, bench.key + "\\Valued") != err::kSuccess, true);
  SEAM_EQ(Registry().DeleteKeyTree(Hive::CurrentUser, bench.key + "\\TREE"), err::kSuccess);
  SEAM_EQ(Registry().DeleteKeyTree(Hive::CurrentUser, bench.key + "\\Tree"), err::kFileNotFound);
  Registry().DeleteValue(Hive::CurrentUser, bench.key + "\\Valued", "x");
  SEAM_EQ(Registry().DeleteEmptyKey(Hive::CurrentUser, bench.key + "\\Valued"), err::kSuccess);
  SEAM_EQ(Registry().EnumSubKeys(Hive::CurrentUser, bench.key).value, std::vector<std::string>{});
}

SEAM_CHECK(RegistryClassesRootIsTheMachinesClasses) {
  const std::string clsid = "CLSID\\{PlandrixProbe" + bench.key.substr(bench.key.rfind('\\') + 1) + "}";
  SEAM_EQ(Registry().CreateKey(Hive::ClassesRoot, clsid), err::kSuccess);
  SEAM_EQ(Registry().OpenKey(Hive::LocalMachine, "Software\\Classes\\" + clsid, KeyAccess::Read), err::kSuccess);
}

SEAM_CHECK(RegistryKeysWithAnAccessList) {
  const std::string name = "Software\\PlandrixProbeAcl" + bench.key.substr(bench.key.rfind('\\'));
  SEAM_EQ(Registry().CreateKeyWithDescriptor(Hive::LocalMachine, name + "\\Key", "D:(A;OICI;KA;;;WD)"), err::kSuccess);
  SEAM_EQ(Registry().OpenKey(Hive::LocalMachine, name + "\\Key", KeyAccess::All), err::kSuccess);
  SEAM_TRUE(Registry().CreateKeyWithDescriptor(Hive::LocalMachine, name + "\\Bad", "no descriptor") != err::kSuccess);
}

}  // namespace
