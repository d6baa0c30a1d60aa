#include "publisher.h"

#include <strings.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <fstream>
#include <map>
#include <set>
#include <system_error>

#include "digest.h"
#include "itemcode.h"
#include "layout.h"
#include "listrecord.h"
#include "signature.h"
#include "sitelayout.h"
#include "sourcefile.h"

namespace fs = std::filesystem;

namespace publish {
namespace {

constexpr unsigned kMaxCodeSalts = 64;

struct SourceEntry {
  std::string relative;  // '/'-separated, as found
  fs::path path;
};

bool IsInside(const fs::path& inner, const fs::path& outer) {
  std::error_code ec;
  fs::path a = fs::weakly_canonical(inner, ec), b = fs::weakly_canonical(outer, ec);
  auto mismatch = std::mismatch(b.begin(), b.end(), a.begin(), a.end());
  return mismatch.first == b.end();
}

// Every regular file below the folder, sorted, so that two runs see the same order.
// Links are not followed (a link to a folder could loop).
std::string CollectSources(const fs::path& from, std::vector<SourceEntry>& out) {
  std::error_code ec;
  fs::recursive_directory_iterator it(from, fs::directory_options::none, ec), end;
  if (ec) return "cannot read " + from.string() + ": " + ec.message();
  for (; it != end; it.increment(ec)) {
    if (ec) return "cannot read below " + from.string() + ": " + ec.message();
    if (it->is_symlink(ec) || !it->is_regular_file(ec)) continue;
    out.push_back({fs::relative(it->path(), from, ec).generic_string(), it->path()});
  }
  std::sort(out.begin(), out.end(), [](const SourceEntry& a, const SourceEntry& b) { return a.relative < b.relative; });
  return {};
}

std::string ReadLayout(const fs::path& file, Layout& layout) {
  if (file.empty()) return {};
  std::string error;
  auto bytes = ReadWholeFile(file, error);
  if (!bytes) return "layout: " + error;
  auto parsed = ParseLayout(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
  if (!parsed.ok()) return "layout " + file.string() + ", " + parsed.error;
  layout = std::move(parsed.layout);
  return {};
}

bool WriteFileBytes(const fs::path& path, const void* data, size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
  out.close();
  return static_cast<bool>(out);
}

// A name Windows can hold: no separators, wildcards, quotes, pipes or control bytes.
bool IsWindowsName(const std::string& name) {
  if (name.empty() || name.back() == ' ' || name.back() == '.') return false;
  for (char c : name)
    if (static_cast<unsigned char>(c) < 0x20 || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos)
      return false;
  return true;
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The staging folder removes itself unless the release was swapped in.
class Staging {
 public:
  Staging(fs::path folder) : folder_(std::move(folder)) {}
  ~Staging() {
    std::error_code ec;
    if (!kept_) fs::remove_all(folder_, ec);
  }
  Staging(const Staging&) = delete;
  Staging& operator=(const Staging&) = delete;
  const fs::path& folder() const { return folder_; }
  void Keep() { kept_ = true; }

 private:
  fs::path folder_;
  bool kept_ = false;
};

std::string SwapIn(const fs::path& staging, const fs::path& target) {
  std::error_code ec;
  fs::path old = target.parent_path() / ("." + target.filename().string() + ".old-" + std::to_string(getpid()));
  bool hadOld = fs::exists(target, ec);
  if (hadOld) {
    fs::rename(target, old, ec);
    if (ec) return "cannot move the previous release aside: " + ec.message();
  }
  fs::rename(staging, target, ec);
  if (ec) {
    std::error_code back;
    if (hadOld) fs::rename(old, target, back);
    return "cannot move the new release into place: " + ec.message();
  }
  if (hadOld) fs::remove_all(old, ec);
  return {};
}

class ReleaseWriter {
 public:
  ReleaseWriter(const PublishOptions& options, const Layout& layout, const fs::path& staging)
      : options_(options), layout_(layout), staging_(staging), prefix_(ItemCodePrefix(options.productLine)) {}

  std::string Add(const SourceEntry& source, PublishSummary& summary) {
    Placement placement = ResolvePlacement(layout_, source.relative);
    if (placement.skip) return {};
    auto fileName = AnsiName(source.path.filename().string());
    auto folder = AnsiName(placement.folder);
    if (!fileName || !folder) return source.relative + ": the name has characters outside the ANSI range";
    if (!IsWindowsName(*fileName)) return source.relative + ": the file name is not valid on Windows";
    for (size_t start = 0, end = 0; start <= folder->size(); start = end + 1) {
      end = folder->find('\\', start);
      if (end == std::string::npos) end = folder->size();
      if (!IsWindowsName(folder->substr(start, end - start)))
        return source.relative + ": the folder " + *folder + " is not valid on Windows";
    }
    std::string target = Lower(*folder + "\\" + *fileName + "|" + placement.variant);
    if (!targets_.insert(target).second)
      return source.relative + ": another file already goes to " + *folder + "\\" + *fileName;

    std::error_code sizeError;
    if (fs::file_size(source.path, sizeError) > static_cast<uintmax_t>(INT32_MAX) && !sizeError)
      return source.relative + ": files of 2 GB or more do not fit the list";
    std::string error;
    auto bytes = ReadWholeFile(source.path, error);
    auto stamp = StampOf(source.path);
    if (!bytes || !stamp) return error.empty() ? "cannot read the time of " + source.relative : error;

    site::ListRecord record;
    record.itemCode = UniqueCode(*folder, *fileName, placement.variant);
    if (record.itemCode.empty()) return "no item code fits for line " + options_.productLine;
    record.itemRelease = options_.release;
    record.fileName = *fileName;
    record.size = static_cast<int64_t>(bytes->size());
    record.date = stamp->listDate;
    record.folder = *folder;
    record.registrationKind = placement.registrationKind;
    record.version = VersionText(*bytes);

    CabinetBuild cabinet =
        BuildSingleFileCabinet({*fileName, *bytes, stamp->dosDate, stamp->dosTime}, options_.compression);
    if (!cabinet.ok()) return source.relative + ": " + cabinet.error;
    record.cabSize = static_cast<int64_t>(cabinet.bytes.size());
    record.digest = site::Sha256Hex(cabinet.bytes.data(), cabinet.bytes.size());  // of what the site serves: the program checks it before expanding
    if (record.digest.empty()) return source.relative + ": cannot make the digest of its cabinet";
    std::string problem = site::ListRecordProblem(record);
    if (!problem.empty()) return source.relative + ": " + problem;
    if (!WriteFileBytes(staging_ / site::kItemsFolder / record.itemCode, cabinet.bytes.data(), cabinet.bytes.size()))
      return "cannot write the cabinet of " + source.relative;

    lists_[placement.group] += site::FormatListRecord(record);
    ++summary.items;
    summary.bytes += bytes->size();
    summary.cabinetBytes += cabinet.bytes.size();
    return {};
  }

  std::string WriteLists() {
    for (auto group : {site::Group::Base, site::Group::Help, site::Group::Demo}) {
      auto it = lists_.find(group);
      if (group != site::Group::Base && it == lists_.end()) continue;
      const std::string text = it == lists_.end() ? std::string{} : it->second;
      if (!WriteFileBytes(staging_ / site::ListFileName(group), text.data(), text.size()))
        return std::string("cannot write ") + site::ListFileName(group);
    }
    return {};
  }

  // One signature for each reply the site can make of the lists: the base list with
  // the help and demo lists added as asked, in that order.
  std::string SignLists(const std::string& privateKeyPem) {
    for (bool help : {false, true}) {
      for (bool demo : {false, true}) {
        std::string reply = ListText(site::Group::Base);
        if (help) reply += ListText(site::Group::Help);
        if (demo) reply += ListText(site::Group::Demo);
        std::string signature = site::SignBase64(reply, privateKeyPem);
        std::string name = site::SignatureFileName(help, demo);
        if (signature.empty()) return "cannot sign the list for " + name;
        if (!WriteFileBytes(staging_ / name, signature.data(), signature.size())) return "cannot write " + name;
      }
    }
    return {};
  }

 private:
  std::string ListText(site::Group group) const {
    auto it = lists_.find(group);
    return it == lists_.end() ? std::string{} : it->second;
  }

  // Codes are derived from the target; a clash of the hash picks the next salt.
  std::string UniqueCode(const std::string& folder, const std::string& fileName, const std::string& variant) {
    for (unsigned salt = 0; salt < kMaxCodeSalts; ++salt) {
      std::string code = MakeItemCode(prefix_, folder, fileName, variant, salt);
      if (code.empty()) return code;
      if (codes_.insert(Lower(code)).second) return code;
    }
    return {};
  }

  const PublishOptions& options_;
  const Layout& layout_;
  fs::path staging_;
  std::string prefix_;
  std::set<std::string> targets_;
  std::set<std::string> codes_;
  std::map<site::Group, std::string> lists_;
};

// The signing key's PEM text, or why it cannot sign; nothing without --sign-key.
std::string ReadSigningKey(const fs::path& file, std::string& pem) {
  if (file.empty()) return {};
  std::string error;
  auto bytes = ReadWholeFile(file, error);
  if (!bytes) return "--sign-key: " + error;
  pem.assign(bytes->begin(), bytes->end());
  std::string problem = site::CheckSigningKey(pem);
  return problem.empty() ? std::string{} : "--sign-key " + file.string() + ": " + problem;
}

std::string CheckOptions(const PublishOptions& o) {
  std::error_code ec;
  if (!site::IsSiteToken(o.productLine, listlimit::kItemCode)) return "--line must be a product-line code";
  if (!site::IsSiteToken(o.release, listlimit::kItemRelease))
    return "--release must be 1 to 38 letters, digits or _ - + .";
  if (!fs::is_directory(o.from, ec)) return "--from " + o.from.string() + " is not a folder";
  if (IsInside(o.site, o.from)) return "--site must not lie inside the --from folder";
  return {};
}

}  // namespace

std::string AssortmentFor(const std::string& productLine) {
  if (strcasecmp(productLine.c_str(), "QS2003SE") == 0) return "QS2003E";
  return productLine;
}

PublishSummary Publish(const PublishOptions& options, const PublishProgress& progress) {
  auto started = std::chrono::steady_clock::now();
  PublishSummary summary;
  Layout layout;
  summary.error = CheckOptions(options);
  if (summary.error.empty()) summary.error = ReadLayout(options.layoutFile, layout);
  std::string signingKey;
  if (summary.error.empty()) summary.error = ReadSigningKey(options.signKeyFile, signingKey);
  std::vector<SourceEntry> sources;
  if (summary.error.empty()) summary.error = CollectSources(options.from, sources);
  if (!summary.error.empty()) return summary;

  fs::path lineFolder = options.site / AssortmentFor(options.productLine);
  std::error_code ec;
  fs::create_directories(lineFolder, ec);
  Staging staging(lineFolder / ("." + options.release + ".staging-" + std::to_string(getpid())));
  fs::remove_all(staging.folder(), ec);
  if (!fs::create_directories(staging.folder() / site::kItemsFolder, ec)) {
    summary.error = "cannot create " + staging.folder().string() + ": " + ec.message();
    return summary;
  }

  ReleaseWriter writer(options, layout, staging.folder());
  for (size_t i = 0; i < sources.size(); ++i) {
    summary.error = writer.Add(sources[i], summary);
    if (!summary.error.empty()) return summary;
    if (progress) progress(i + 1, sources.size(), summary.bytes);
  }
  summary.error = writer.WriteLists();
  if (summary.error.empty() && !signingKey.empty()) summary.error = writer.SignLists(signingKey);
  summary.releaseFolder = lineFolder / options.release;
  if (summary.error.empty()) summary.error = SwapIn(staging.folder(), summary.releaseFolder);
  if (summary.error.empty()) staging.Keep();
  summary.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  return summary;
}

}  // namespace publish
