#pragma once
// The web server of a pretend machine: metabase keys with their records, applications and
// script maps. Without `present` every call fails, as where the server is not installed.
#include <map>
#include <string>
#include <vector>

#include "sys/paths.h"
#include "sys/webserver.h"

namespace fakes {

class FakeWebServer : public sys::WebServer {
 public:
  bool present = false;
  int saves = 0;
  std::map<std::string, std::vector<sys::MetabaseRecord>> keys;  // by folded path, records in order
  std::map<std::string, bool> applications;                      // by folded path: in-process
  std::map<int32_t, std::vector<std::string>> scriptMaps;

  void AddSite(int32_t site, const std::vector<std::string>& maps) {  // "/LM/W3SVC/<n>/ROOT"
    std::string siteKey = "/lm/w3svc/" + std::to_string(site);
    for (const std::string& key : {std::string("/lm"), std::string("/lm/w3svc"), siteKey, siteKey + "/root"}) keys[key];
    scriptMaps[site] = maps;
  }
  sys::Error OpenKey(const std::string& path) override {
    if (!present) return 0x80040154;  // the class is not registered
    return keys.count(sys::FoldedCopy(path)) ? sys::err::kSuccess : 0x80070003;
  }
  sys::Error AddKey(const std::string& parent, const std::string& child) override {
    return OpenKey(parent) ? OpenKey(parent) : (keys[sys::FoldedCopy(parent + "/" + child)], sys::err::kSuccess);
  }
  sys::Error DeleteKey(const std::string& parent, const std::string& child) override {
    std::string path = sys::FoldedCopy(parent + "/" + child);
    if (sys::Error e = OpenKey(path)) return e;
    std::erase_if(keys, [&](const auto& key) { return key.first == path || key.first.rfind(path + "/", 0) == 0; });
    return sys::err::kSuccess;
  }
  sys::Error SetData(const std::string& path, const sys::MetabaseRecord& record) override {
    return OpenKey(path) ? OpenKey(path) : (keys[sys::FoldedCopy(path)].push_back(record), sys::err::kSuccess);
  }
  sys::Result<std::vector<std::string>> ChildKeys(const std::string& path) override {
    if (sys::Error e = OpenKey(path)) return {e};
    std::string prefix = sys::FoldedCopy(path) + "/";
    std::vector<std::string> names;
    for (const auto& [key, records] : keys)
      if (key.rfind(prefix, 0) == 0 && key.find('/', prefix.size()) == std::string::npos)
        names.push_back(key.substr(prefix.size()));
    return {sys::err::kSuccess, names};
  }
  sys::Error Save() override { return present ? (++saves, sys::err::kSuccess) : OpenKey(""); }
  sys::Error CreateApplication(const std::string& path, bool inProcess) override {
    return OpenKey(path) ? OpenKey(path) : (applications[sys::FoldedCopy(path)] = inProcess, sys::err::kSuccess);
  }
  sys::Error DeleteApplication(const std::string& path) override {
    return OpenKey(path) ? OpenKey(path) : applications.erase(sys::FoldedCopy(path)) ? sys::err::kSuccess : 0x80070003;
  }
  sys::Result<std::vector<std::string>> ScriptMaps(int32_t site) override {
    if (sys::Error e = OpenKey("/LM/W3SVC/" + std::to_string(site))) return {e};
    return {sys::err::kSuccess, scriptMaps[site]};
  }
};

}  // namespace fakes
