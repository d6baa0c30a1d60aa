#include "install/autoexecpath.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "install/retryprimitives.h"
#include "productline/productline.h"
#include "session/log.h"
#include "session/registrytext.h"
#include "session/session.h"
#include "sys/files.h"
#include "sys/os.h"
#include "sys/paths.h"

namespace {

constexpr const char* kSetupKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Setup";
constexpr std::size_t kBootDirCapacity = 4;
constexpr std::size_t kLineCapacity = 1023;
// The product's program that tells its bin folder from others on the path.
constexpr const char* kProductMarker = "k7shell.exe";

sys::Files& Fs() { return *sys::os().files; }

std::string Upper(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

std::string Trimmed(const std::string& text, const char* blanks) {
  std::size_t first = text.find_first_not_of(blanks);
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// The file as lines of at most 1023 bytes, each with its line break.
std::vector<std::string> LinesOf(const std::string& path) {
  std::vector<std::string> lines;
  sys::Result<sys::OwnedFile> file = Fs().OpenOwned(path, sys::FileAccess::Read, sys::share::kRead,
                                                     sys::Disposition::OpenExisting);
  if (!file.ok()) return lines;
  std::string text;
  char block[4096];
  for (sys::Result<uint32_t> got; (got = Fs().Read(file.value.get(), block, sizeof block)).ok() && got.value > 0;)
    text.append(block, got.value);
  for (std::size_t at = 0; at < text.size();) {
    std::size_t lineBreak = text.find('\n', at);
    std::size_t end = std::min({lineBreak == std::string::npos ? text.size() : lineBreak + 1, text.size(),
                                at + kLineCapacity});
    lines.push_back(text.substr(at, end - at));
    at = end;
  }
  return lines;
}

// Where the value of a path line begins ("PATH" and one character after it), or npos.
std::size_t PathValueStart(const std::string& line) {
  std::string work = Upper(Trimmed(line, " \t"));
  if (work.find("PATH") == std::string::npos) return std::string::npos;
  bool plain = work.starts_with("PATH") && work.size() > 4 && (work[4] == '\t' || work[4] == ' ' || work[4] == '=');
  bool set = false;
  if (!plain && work.starts_with("SET")) {
    std::size_t after = work.find_first_not_of(" \t", 3);
    set = after > 3 && after != std::string::npos && work.compare(after, 5, "PATH=") == 0;
  }
  if (!plain && !set) return std::string::npos;
  return Upper(line).find("PATH") + 5;
}

// A path element: its text up to and with ";", or a line break of its own.
std::vector<std::string> ElementsOf(const std::string& value) {
  std::vector<std::string> parts;
  std::string current;
  for (char c : value) {
    if (c == '\r' || c == '\n') {
      if (!current.empty()) parts.push_back(current);
      parts.push_back(std::string(1, c));
      current.clear();
      continue;
    }
    current += c;
    if (c == ';') {
      parts.push_back(current);
      current.clear();
    }
  }
  if (!current.empty()) parts.push_back(current);
  return parts;
}

bool IsProductElement(const std::string& element) {
  std::string folder = Trimmed(element, " \t");
  if (folder.ends_with(';')) folder.pop_back();
  if (folder.size() >= 2 && folder.front() == '"' && folder.back() == '"') folder = folder.substr(1, folder.size() - 2);
  if (folder.ends_with(';')) folder.pop_back();
  if (folder.empty()) return false;
  sys::Result<uint32_t> attributes = Fs().GetAttributes(sys::JoinPath(folder, kProductMarker));
  return attributes.ok() && !(attributes.value & sys::attr::kDirectory);
}

// A line left with nothing but "SET", "PATH", "=", ";" and blanks.
bool IsEmptyPathLine(const std::string& line) {
  std::string rest = Upper(line);
  for (const char* word : {"PATH", "SET"})
    for (std::size_t at; (at = rest.find(word)) != std::string::npos;) rest.erase(at, std::string(word).size());
  return rest.find_first_not_of("=; \t\r\n") == std::string::npos;
}

class AutoexecEdit {
 public:
  explicit AutoexecEdit(const std::string& entry) : entry_(entry), adding_(!entry.empty()) {}

  // The line as it goes into the new file; nothing when it is dropped.
  std::optional<std::string> Edit(const std::string& line) {
    std::size_t start = PathValueStart(line);
    if (start == std::string::npos) return line;
    std::string edited = line.substr(0, start);
    bool productHere = false;
    for (const std::string& element : ElementsOf(line.substr(start))) {
      if (!IsProductElement(element)) {
        edited += element;
        continue;
      }
      productHere = true;
      if (adding_ && !handled_ && sys::EqualsNoCase(element, entry_)) {
        edited += element;
      } else {
        if (adding_ && !handled_) edited += entry_;
        changed_ = true;
      }
      handled_ = true;
    }
    if (adding_ && !productHere && !handled_) {
      while (edited.ends_with('\r') || edited.ends_with('\n')) edited.pop_back();
      if (!edited.ends_with(';')) edited += ";";
      edited += entry_ + "\r\n";
      Added();
    }
    if (!adding_ && IsEmptyPathLine(edited)) {
      changed_ = true;
      return std::nullopt;
    }
    return edited;
  }

  // What follows the last line: a new path line when no line took the entry.
  std::string Ending(const std::string& written) {
    if (!adding_ || handled_) return "";
    Added();
    return std::string(written.empty() || written.ends_with('\n') ? "" : "\r\n") + "SET PATH=" + entry_ + "\n";
  }
  bool changed() const { return changed_; }

 private:
  void Added() {
    handled_ = changed_ = true;
    if (IsLine(Session().productLine.str(), line::kPINDRELV8)) Results().rebootNeeded = true;
  }
  std::string entry_;
  bool adding_;
  bool handled_ = false;
  bool changed_ = false;
};

bool WriteWhole(const std::string& path, const std::string& text) {
  sys::Result<sys::OwnedFile> file = Fs().OpenOwned(path, sys::FileAccess::Write, sys::share::kNone,
                                                     sys::Disposition::CreateAlways);
  if (!file.ok()) return false;
  return text.empty() || Fs().Write(file.value.get(), text.data(), static_cast<uint32_t>(text.size())).ok();
}

}  // namespace

std::string AutoexecEntry(const std::string& binFolder) { return "\"" + binFolder + "\";"; }

void EditAutoexecPath(const std::string& entry) {
  std::string bootFolder = ReadRegistryText(sys::Hive::LocalMachine, kSetupKey, "BootDir", kBootDirCapacity).value_or("");
  if (bootFolder.empty()) bootFolder = "C:\\";
  const std::string batch = sys::JoinPath(bootFolder, "autoexec.bat");
  const std::string fresh = sys::JoinPath(bootFolder, "autoexec.new");
  const std::string backup = sys::JoinPath(bootFolder, "autoexec.bak");

  sys::Result<uint32_t> attributes = Fs().GetAttributes(batch);
  const bool exists = attributes.ok();
  const uint32_t kept = exists ? attributes.value : sys::attr::kNormal;
  if (exists) Fs().SetAttributes(batch, sys::attr::kNormal);

  AutoexecEdit edit(entry);
  std::string text;
  for (const std::string& line : LinesOf(batch))
    if (std::optional<std::string> written = edit.Edit(line)) text += *written;
  text += edit.Ending(text);
  if (!WriteWhole(fresh, text)) return;

  if (edit.changed()) {
    if (exists && (DeleteFileWithRetry(backup) != DeleteOutcome::Done || Fs().MoveFile(batch, backup, 0) != 0))
      Fs().DeleteFile(batch);
    Fs().MoveFile(fresh, batch, 0);
    WriteLog("The search path in %s was changed", batch.c_str());
  } else {
    Fs().DeleteFile(fresh);
  }
  Fs().SetAttributes(batch, kept);
}
