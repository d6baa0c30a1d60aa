#include "install/searchpath.h"

#include <optional>

#include "install/autoexecpath.h"
#include "install/pathvalue.h"
#include "productline/productline.h"
#include "session/log.h"
#include "session/session.h"
#include "sys/os.h"
#include "sys/paths.h"
#include "sys/registry.h"
#include "sys/registry_helpers.h"
#include "sys/systeminfo.h"

namespace {

constexpr const char* kMachineEnvironment = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
constexpr const char* kUserEnvironment = "Environment";
constexpr const char* kPathName = "path";
// The buffers the path is read into when adding and when removing.
constexpr std::size_t kAddCapacity = 8192;
constexpr std::size_t kRemoveCapacity = 4096;

std::string BinFolder() { return sys::JoinPath(Session().installDir.str(), "bin"); }

// The path value of a key, empty when absent. A value that does not fit the buffer is
// not touched at all: cutting it would lose the user's folders.
std::optional<std::string> ReadPath(sys::Hive hive, const char* key, std::size_t capacity) {
  std::string value = sys::QueryString(hive, key, kPathName).value_or("");
  if (value.size() < capacity) return value;
  WriteLog("The search path in %s is longer than %lu bytes; it was left as it is", key,
           static_cast<unsigned long>(capacity - 1));
  return std::nullopt;
}

void WritePath(sys::Hive hive, const char* key, const std::string& value, sys::ValueType type) {
  sys::SetString(hive, key, kPathName, value, type);
}

bool KeyReady(sys::Hive hive, const char* key) { return sys::os().registry->CreateKey(hive, key) == sys::err::kSuccess; }

void BroadcastEnvironmentChange() {
  if (sys::os().systemInfo != nullptr) sys::os().systemInfo->BroadcastSettingChange("Environment");
}

void RemoveFrom(sys::Hive hive, const char* key, sys::ValueType type) {
  std::optional<std::string> value = ReadPath(hive, key, kRemoveCapacity);
  if (value && !value->empty()) WritePath(hive, key, WithoutFolder(*value, BinFolder()), type);
}

}  // namespace

bool IsInMachinePath(const std::string& folder) {
  return PathValueContains(sys::QueryString(sys::Hive::LocalMachine, kMachineEnvironment, kPathName).value_or(""),
                           folder);
}

void AddToSearchPath() {
  const std::string bin = BinFolder();
  if (!Session().isNtFamily) {
    EditAutoexecPath(AutoexecEntry(bin));
    return;
  }
  const bool admin = Session().hasAdminRights;
  sys::Hive hive = admin ? sys::Hive::LocalMachine : sys::Hive::CurrentUser;
  const char* key = admin ? kMachineEnvironment : kUserEnvironment;
  if (admin) {
    RemoveFromUserPath();
  } else if (IsInMachinePath(bin)) {
    return;
  }
  const bool opened = KeyReady(hive, key);
  if (admin) KeyReady(sys::Hive::CurrentUser, kUserEnvironment);
  if (!opened) return;
  if (std::optional<std::string> value = ReadPath(hive, key, kAddCapacity)) {
    // Written back even when it is there already: that makes it an expandable string.
    if (PathValueContains(*value, bin)) {
      WritePath(hive, key, *value, sys::ValueType::ExpandString);
    } else {
      WritePath(hive, key, WithFolderInFront(*value, bin), sys::ValueType::ExpandString);
      WriteLog("%s put on the search path", bin.c_str());
      if (IsLine(Session().productLine.str(), line::kPINDRELV8)) Results().rebootNeeded = true;
    }
  }
  if (admin) {
    std::optional<std::string> user = ReadPath(sys::Hive::CurrentUser, kUserEnvironment, kAddCapacity);
    if (user && !user->empty()) WritePath(sys::Hive::CurrentUser, kUserEnvironment, *user, sys::ValueType::ExpandString);
  }
  BroadcastEnvironmentChange();
}

void RemoveFromUserPath() { RemoveFrom(sys::Hive::CurrentUser, kUserEnvironment, sys::ValueType::String); }

void RemoveFromSearchPath() {
  if (!Session().isNtFamily) {
    EditAutoexecPath("");
    return;
  }
  RemoveFromUserPath();
  if (!KeyReady(sys::Hive::LocalMachine, kMachineEnvironment)) return;
  RemoveFrom(sys::Hive::LocalMachine, kMachineEnvironment, sys::ValueType::ExpandString);
  BroadcastEnvironmentChange();
}
