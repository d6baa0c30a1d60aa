#pragma once
// The web server of a pretend machine: an in-memory metabase of keys with their records,
// the web applications on them and each site's script maps. Without `present` every call
// fails as it does on a machine where the administration objects are not registered.
//
//   os.webServer.present = true;
//   os.webServer.AddSite(1, {".asp,C:\\asp.dll", ".aspx,C:\\aspnet_isapi.dll"});
#include <map>
#include <string>
#include <vector>

#include "sys/paths.h"
#include "sys/webserver.h"

namespace fakes {

class FakeWebServer : public sys::WebServer {
 public:
  static constexpr sys::Error kClassNotRegistered = 0x80040154;
  static constexpr sys::Error kPathNotFound = 0x80070003;

  struct Key {
    std::string path;
    std::vector<sys::MetabaseRecord> records;  // in the order written
  };

  bool present = false;
  int saves = 0;
  std::map<std::string, bool> applications;  // by folded path: in-process
  std::map<int32_t, std::vector<std::string>> scriptMaps;

  // A site "/LM/W3SVC/<n>/ROOT" with its script maps.
  void AddSite(int32_t site, const std::vector<std::string>& maps) {
    std::string path = "/LM/W3SVC/" + std::to_string(site);
    for (const std::string& key : {std::string("/LM"), std::string("/LM/W3SVC"), path, path + "/ROOT"})
      keys_[sys::FoldedCopy(key)].path = key;
    scriptMaps[site] = maps;
  }
  const Key* Find(const std::string& path) const {
    auto it = keys_.find(sys::FoldedCopy(path));
    return it == keys_.end() ? nullptr : &it->second;
  }

  sys::Error OpenKey(const std::string& path) override {
    if (!present) return kClassNotRegistered;
    return Find(path) ? sys::err::kSuccess : kPathNotFound;
  }
  sys::Error AddKey(const std::string& parent, const std::string& child) override {
    if (sys::Error e = OpenKey(parent)) return e;
    std::string path = parent + "/" + child;
    keys_[sys::FoldedCopy(path)].path = path;
    return sys::err::kSuccess;
  }
  sys::Error DeleteKey(const std::string& parent, const std::string& child) override {
    if (sys::Error e = OpenKey(parent + "/" + child)) return e;
    std::string prefix = sys::FoldedCopy(parent + "/" + child);
    std::erase_if(keys_, [&](const auto& key) { return key.first == prefix || key.first.rfind(prefix + "/", 0) == 0; });
    return sys::err::kSuccess;
  }
  sys::Error SetData(const std::string& path, const sys::MetabaseRecord& record) override {
    if (sys::Error e = OpenKey(path)) return e;
    keys_[sys::FoldedCopy(path)].records.push_back(record);
    return sys::err::kSuccess;
  }
  sys::Result<std::vector<std::string>> ChildKeys(const std::string& path) override {
    if (sys::Error e = OpenKey(path)) return {e};
    std::string prefix = sys::FoldedCopy(path) + "/";
    std::vector<std::string> names;
    for (const auto& [folded, key] : keys_)
      if (folded.rfind(prefix, 0) == 0 && folded.find('/', prefix.size()) == std::string::npos)
        names.push_back(key.path.substr(prefix.size()));
    return {sys::err::kSuccess, std::move(names)};
  }
  sys::Error Save() override {
    if (!present) return kClassNotRegistered;
    ++saves;
    return sys::err::kSuccess;
  }
  sys::Error CreateApplication(const std::string& path, bool inProcess) override {
    if (sys::Error e = OpenKey(path)) return e;
    applications[sys::FoldedCopy(path)] = inProcess;
    return sys::err::kSuccess;
  }
  sys::Error DeleteApplication(const std::string& path) override {
    if (!present) return kClassNotRegistered;
    return applications.erase(sys::FoldedCopy(path)) ? sys::err::kSuccess : kPathNotFound;
  }
  sys::Result<std::vector<std::string>> ScriptMaps(int32_t site) override {
    auto it = scriptMaps.find(site);
    if (!present || it == scriptMaps.end()) return {kClassNotRegistered};
    return {sys::err::kSuccess, it->second};
  }

 private:
  std::map<std::string, Key> keys_;  // by folded path
};

}  // namespace fakes
