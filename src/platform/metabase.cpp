#include "platform/metabase.h"

#include "platform/webserverprobes.h"
#include "session/log.h"
#include "session/session.h"
#include "sys/os.h"
#include "sys/webserver.h"

namespace {

constexpr sys::Error kNotSupported = 50;

sys::WebServer& Server() { return *sys::os().webServer; }

std::string NumberBytes(uint32_t value) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  return bytes;
}

std::string ApplicationPath(const std::string& path) { return path.rfind('/', 0) == 0 ? path : "/LM/" + path; }

struct Split {
  std::string parent;
  std::string child;
};
Split AtLastSlash(const std::string& path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {"", path};
  return {path.substr(0, slash), path.substr(slash + 1)};
}

}  // namespace

std::string VirtualDirectoryPath(int32_t site, const std::string& name) {
  return "/LM/W3SVC/" + std::to_string(site < 1 ? 1 : site) + "/ROOT/" + name;
}

sys::Error AddMetabaseKey(const std::string& path) {
  Split split = AtLastSlash(path);
  return Server().AddKey(split.parent, split.child);
}

sys::Error SetMetabaseData(const std::string& path, uint32_t identifier, uint32_t attributes, uint32_t userType,
                           uint32_t dataType, const std::string& data) {
  sys::MetabaseRecord record{identifier, attributes, userType, dataType, data};
  switch (dataType) {
    case sys::metabase::kNumber: record.data.resize(4, '\0'); break;
    case sys::metabase::kString:
    case sys::metabase::kExpandString:
    case sys::metabase::kBinary: break;
    case sys::metabase::kAllTypes:
    case sys::metabase::kMultiString: return kNotSupported;
    default: return sys::err::kInvalidParameter;
  }
  return Server().SetData(path, record);
}

bool MetabaseKeyExists(const std::string& path) { return Server().OpenKey(path) == sys::err::kSuccess; }

sys::Error CreateWebApplication(const std::string& path, bool inProcess) {
  return Server().CreateApplication(ApplicationPath(path), inProcess);
}

sys::Error DeleteWebApplication(const std::string& path) { return Server().DeleteApplication(ApplicationPath(path)); }

void CreateVirtualDirectory(const std::string& name, const std::string& physicalPath) {
  std::string path = VirtualDirectoryPath(Session().websiteId, name);
  if (MetabaseKeyExists(path)) return;
  if (sys::Error error = AddMetabaseKey(path)) {
    WriteLog("The virtual directory %s was not made: the web server answered %08lX", path.c_str(),
             static_cast<unsigned long>(error));
    return;
  }
  using namespace sys::metabase;
  struct Record {
    uint32_t identifier;
    uint32_t type;
    std::string data;
  };
  std::vector<Record> records = {{1002, kString, "IIsWebVirtualDir"},
                                 {3001, kString, physicalPath},
                                 {6016, kNumber, NumberBytes(0x201)},  // read and script
                                 {6000, kNumber, NumberBytes(4)}};     // Windows integrated
  if (WebSetup().registerAspNet) records.push_back({6006, kString, "Default.aspx"});
  for (const Record& record : records) {
    if (sys::Error error = SetMetabaseData(path, record.identifier, kInherit, kFileUserType, record.type, record.data)) {
      WriteLog("The virtual directory %s is incomplete: record %lu was refused (%08lX)", path.c_str(),
               static_cast<unsigned long>(record.identifier), static_cast<unsigned long>(error));
      break;
    }
  }
  Server().Save();
  if (sys::Error error = CreateWebApplication(path, true))
    WriteLog("%s is no web application: the web server answered %08lX", path.c_str(), static_cast<unsigned long>(error));
}

bool DeleteVirtualDirectory(const std::string& name) {
  std::string path = VirtualDirectoryPath(1, name);
  if (sys::Error error = DeleteWebApplication(path)) {
    WriteLog("The virtual directory %s was not deleted: the web server answered %08lX", path.c_str(),
             static_cast<unsigned long>(error));
    return false;
  }
  Split split = AtLastSlash(path);
  if (Server().DeleteKey(split.parent, split.child) != sys::err::kSuccess) return false;
  Server().Save();
  return true;
}
