#include "siteindex.h"

#include <strings.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "listrecord.h"
#include "replies.h"
#include "sitelayout.h"

namespace fs = std::filesystem;

namespace updatesite {
namespace {

constexpr size_t kAssortmentLimit = 30;

std::optional<std::string> ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool IsRelease(const fs::path& folder) {
  std::error_code ec;
  return fs::is_regular_file(folder / site::ListFileName(site::Group::Base), ec);
}

}  // namespace

SiteIndex::SiteIndex(fs::path root) : root_(std::move(root)) {}

std::optional<fs::path> SiteIndex::ChildNamed(const fs::path& folder, const std::string& name) const {
  std::error_code ec;
  fs::path exact = folder / name;
  if (fs::is_directory(exact, ec)) return exact;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::string child = it->path().filename().string();
    if (strcasecmp(child.c_str(), name.c_str()) == 0 && it->is_directory(ec)) return it->path();
  }
  return std::nullopt;
}

std::optional<std::vector<std::string>> SiteIndex::Releases(const std::string& assortment) const {
  if (!site::IsSiteToken(assortment, kAssortmentLimit)) return std::nullopt;
  auto line = ChildNamed(root_, assortment);
  if (!line) return std::nullopt;
  std::vector<std::string> releases;
  std::error_code ec;
  for (fs::directory_iterator it(*line, ec), end; !ec && it != end; it.increment(ec)) {
    std::string name = it->path().filename().string();
    if (site::IsSiteToken(name, listlimit::kItemRelease) && IsRelease(it->path())) releases.push_back(name);
  }
  SortNewestFirst(releases);
  return releases;
}

std::optional<fs::path> SiteIndex::ReleaseFolder(const ListRequest& request, std::string& error) const {
  if (!site::IsSiteToken(request.assortment, kAssortmentLimit)) {
    error = "Unknown assortment";
    return std::nullopt;
  }
  if (!site::IsSiteToken(request.release, listlimit::kItemRelease)) {
    error = "Unknown release";
    return std::nullopt;
  }
  auto line = ChildNamed(root_, request.assortment);
  if (!line) {
    error = "Assortment " + request.assortment + " is not published on this site";
    return std::nullopt;
  }
  auto release = ChildNamed(*line, request.release);
  if (!release || !IsRelease(*release)) {
    error = "Release " + request.release + " of " + request.assortment + " is not published on this site";
    return std::nullopt;
  }
  return release;
}

std::optional<std::string> SiteIndex::FileList(const ListRequest& request, std::string& error) const {
  auto release = ReleaseFolder(request, error);
  if (!release) return std::nullopt;
  auto text = ReadText(*release / site::ListFileName(site::Group::Base));
  if (!text) {
    error = "The file list of release " + request.release + " cannot be read";
    return std::nullopt;
  }
  for (auto [wanted, group] : {std::pair{request.help, site::Group::Help}, std::pair{request.demo, site::Group::Demo}}) {
    if (!wanted) continue;
    if (auto extra = ReadText(*release / site::ListFileName(group))) *text += *extra;
  }
  return text;
}

std::optional<std::string> SiteIndex::ListSignature(const ListRequest& request, std::string& error) const {
  auto release = ReleaseFolder(request, error);
  if (!release) return std::nullopt;
  auto text = ReadText(*release / site::SignatureFileName(request.help, request.demo));
  if (!text) error = "Release " + request.release + " of " + request.assortment + " is not signed";
  return text;
}

const SiteIndex::CachedRelease* SiteIndex::LoadRelease(const fs::path& folder) {
  std::error_code ec;
  auto stamp = fs::last_write_time(folder / site::ListFileName(site::Group::Base), ec);
  if (ec) return nullptr;
  auto found = cache_.find(folder);
  if (found != cache_.end() && found->second.stamp == stamp) return &found->second;
  CachedRelease loaded;
  loaded.stamp = stamp;
  for (auto group : {site::Group::Base, site::Group::Help, site::Group::Demo}) {
    auto text = ReadText(folder / site::ListFileName(group));
    if (!text) continue;
    std::istringstream lines(*text);
    std::string line;
    while (std::getline(lines, line)) {
      auto record = site::ParseListRecord(line);
      if (!record || !site::IsSiteToken(record->itemCode, listlimit::kItemCode)) continue;
      loaded.items[record->itemCode] =
          ItemInfo{record->size, record->cabSize, folder / site::kItemsFolder / record->itemCode};
    }
  }
  return &(cache_[folder] = std::move(loaded));
}

std::optional<ItemInfo> SiteIndex::FindItem(const std::string& release, const std::string& itemCode,
                                            std::string& error) {
  if (!site::IsSiteToken(release, listlimit::kItemRelease)) {
    error = "Unknown release";
    return std::nullopt;
  }
  if (!site::IsSiteToken(itemCode, listlimit::kItemCode)) {
    error = "Unknown item";
    return std::nullopt;
  }
  std::vector<fs::path> lines;
  std::error_code ec;
  for (fs::directory_iterator it(root_, ec), end; !ec && it != end; it.increment(ec))
    if (it->is_directory(ec)) lines.push_back(it->path());
  std::sort(lines.begin(), lines.end());
  bool releaseKnown = false;
  std::lock_guard lock(cacheMutex_);
  for (const auto& line : lines) {
    auto folder = ChildNamed(line, release);
    if (!folder || !IsRelease(*folder)) continue;
    releaseKnown = true;
    const CachedRelease* cached = LoadRelease(*folder);
    if (!cached) continue;
    auto item = cached->items.find(itemCode);
    if (item != cached->items.end()) return item->second;
  }
  error = releaseKnown ? "Item " + itemCode + " is not part of release " + release
                       : "Release " + release + " is not published on this site";
  return std::nullopt;
}

}  // namespace updatesite
