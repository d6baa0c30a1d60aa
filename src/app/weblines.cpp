#include "app/weblines.h"

#include "platform/websetup.h"
#include "sys/os.h"
#include "sys/registry.h"

namespace {

bool UsersKeyExists(const char* path) {
  sys::Registry* registry = sys::os().registry;
  return registry != nullptr && registry->OpenKey(sys::Hive::Users, path, sys::KeyAccess::Read) == sys::err::kSuccess;
}

}  // namespace

WebLines& StoredWebLines() {
  static WebLines lines;
  return lines;
}

bool ClassicWebKeyExists() { return UsersKeyExists(kFyndraMarkerKey); }
bool DotNetWebKeyExists() { return UsersKeyExists(kHalomirNetMarkerKey); }
