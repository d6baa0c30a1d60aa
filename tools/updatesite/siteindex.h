#pragma once
// What the site folder holds, as the requests ask for it: the releases of an
// assortment, a release's file list with the groups asked for and its signature, and an item's sizes
// and bytes. Names from requests are checked before they touch the disk, and folders
// are matched without regard to case, as the installer's codes are. A release's
// items are read once and read again when its lists change.
#include <cstdint>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace updatesite {

struct ItemInfo {
  int64_t size = 0;
  int64_t cabSize = 0;
  std::filesystem::path path;  // the bytes to send
};

struct ListRequest {
  std::string assortment;
  std::string release;
  bool help = false;
  bool demo = false;
};

class SiteIndex {
 public:
  explicit SiteIndex(std::filesystem::path root);

  // The published releases of an assortment, newest first; nothing when the
  // assortment is unknown.
  std::optional<std::vector<std::string>> Releases(const std::string& assortment) const;

  // The file list text, or nothing with `error` saying why.
  std::optional<std::string> FileList(const ListRequest& request, std::string& error) const;
  // The publisher's signature of that list text (base64), or nothing with `error`.
  std::optional<std::string> ListSignature(const ListRequest& request, std::string& error) const;

  // The item of a release, found in whichever assortment publishes that release.
  std::optional<ItemInfo> FindItem(const std::string& release, const std::string& itemCode, std::string& error);

 private:
  struct CachedRelease {
    std::filesystem::file_time_type stamp;
    std::map<std::string, ItemInfo> items;  // by item code
  };

  std::optional<std::filesystem::path> ReleaseFolder(const ListRequest& request, std::string& error) const;
  std::optional<std::filesystem::path> ChildNamed(const std::filesystem::path& folder, const std::string& name) const;
  const CachedRelease* LoadRelease(const std::filesystem::path& folder);

  std::filesystem::path root_;
  std::mutex cacheMutex_;
  std::map<std::filesystem::path, CachedRelease> cache_;
};

}  // namespace updatesite
