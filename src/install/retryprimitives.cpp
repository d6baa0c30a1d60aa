#include "install/retryprimitives.h"

#include "session/log.h"
#include "session/session.h"
#include "sys/desktop.h"
#include "sys/files.h"
#include "sys/os.h"
#include "sys/paths.h"
#include "session/progressstate.h"
#include "session/textids.h"

namespace {

constexpr int kMaxAttempts = 5;
constexpr uint32_t kRetryCancelStop = mb::kRetryCancel | mb::kIconStop | mb::kSetForeground;
constexpr uint32_t kAbortRetryIgnoreStop = mb::kAbortRetryIgnore | mb::kIconStop | mb::kSetForeground;

sys::Files& Fs() { return *sys::os().files; }

// Clears the attributes of a readable, non-system path so that a retry can succeed.
// Nothing happens to a path whose attributes cannot be read or that is a system file.
enum class Clearing { Cleared, NotApplicable, Failed };
Clearing ClearAttributesInTheWay(const std::string& path) {
  sys::Result<uint32_t> attributes = Fs().GetAttributes(path);
  if (!attributes.ok() || (attributes.value & sys::attr::kSystem) != 0) return Clearing::NotApplicable;
  return Fs().SetAttributes(path, sys::attr::kNormal) == 0 ? Clearing::Cleared : Clearing::Failed;
}

std::string Line(const char* format, const std::string& a, const std::string& b) {
  std::string text;
  AppendFormat(text, format, a.c_str(), b.c_str());
  return text;
}

}  // namespace

CopyOutcome CopyFileWithRetry(const std::string& source, const std::string& target, bool failIfExists) {
  bool cleared = false;
  int attempt = 1;
  // Attempts that neither copy nor clear anything still count, so a target that keeps
  // refusing ends in the question instead of a loop.
  while (true) {
    sys::Error error = Fs().CopyFile(source, target, failIfExists);
    if (error == 0) return CopyOutcome::Copied;
    bool ask = false;
    if (error == sys::err::kAccessDenied) {
      if (cleared) {
        ask = true;
      } else {
        Clearing clearing = ClearAttributesInTheWay(target);
        if (clearing == Clearing::Cleared) cleared = true;
        else if (clearing == Clearing::Failed) ask = true;
        if (!ask && ++attempt > kMaxAttempts) ask = true;
      }
    } else if (error == sys::err::kSharingViolation) {
      if (++attempt > kMaxAttempts) ask = true;
    } else {
      return CopyOutcome::Failed;
    }
    if (!ask) continue;
    std::string text = Line("%s: %s.\r\n", "Copy failed", target) + LoadText(text::kCloseApplicationsAndRetry);
    if (LoggedMessageBox(0, text, "", kRetryCancelStop, sys::answer::kCancel) != sys::answer::kRetry)
      return CopyOutcome::Cancelled;
    attempt = 1;
  }
}

DeleteOutcome DeleteFileWithRetry(const std::string& path) {
  bool cleared = false;
  int attempt = 1;
  while (true) {
    sys::Error error = Fs().DeleteFile(path);
    if (error == 0 || error == sys::err::kFileNotFound) return DeleteOutcome::Done;
    bool inUse = error == sys::err::kSharingViolation;
    if (error == sys::err::kAccessDenied) {
      if (cleared) {
        inUse = true;
      } else {
        Clearing clearing = ClearAttributesInTheWay(path);
        if (clearing == Clearing::Failed) return DeleteOutcome::ReadOnly;
        if (clearing == Clearing::Cleared) cleared = true;
        if (++attempt <= kMaxAttempts) continue;
        inUse = true;
      }
    }
    if (!inUse || Session().silent) return DeleteOutcome::Failed;
    std::string text = Line("%s : %s.\r\n", path, LoadText(text::kSharingViolation)) + LoadText(text::kCloseApplicationsAndRetry);
    // A plain system box: this question is not one the log records.
    int answer = sys::os().desktop->MessageBox(0, text, "", kRetryCancelStop);
    if (answer != sys::answer::kRetry) return DeleteOutcome::Cancelled;
    attempt = 1;
  }
}

RemoveOutcome RemoveDirectoryWithRetry(const std::string& path) {
  bool cleared = false;
  int attempt = 1;
  while (true) {
    sys::Error error = Fs().RemoveDirectory(path);
    if (error == 0) return RemoveOutcome::Removed;
    if (error == sys::err::kAccessDenied) {
      if (cleared) return RemoveOutcome::Failed;
      Clearing clearing = ClearAttributesInTheWay(path);
      if (clearing == Clearing::Failed) return RemoveOutcome::Failed;
      if (clearing == Clearing::Cleared) cleared = true;
      if (++attempt > kMaxAttempts) return RemoveOutcome::Failed;
      continue;
    }
    if (error != sys::err::kSharingViolation) return RemoveOutcome::Failed;
    std::string text = Line("%s: %s.\r\n", LoadText(text::kFileNotDeleted), path) + LoadText(text::kCloseApplicationsAndRetry);
    int answer = LoggedMessageBox(0, text, "", kAbortRetryIgnoreStop, sys::answer::kIgnore);
    if (answer == sys::answer::kIgnore) return RemoveOutcome::Ignored;
    if (answer != sys::answer::kRetry) return RemoveOutcome::Failed;
    attempt = 1;
  }
}

bool DeleteDirectoryTree(const std::string& folder) {
  sys::Result<std::vector<sys::FindEntry>> listing = Fs().Find(sys::JoinPath(folder, "*.*"));
  if (!listing.ok()) return true;
  for (const sys::FindEntry& entry : listing.value) {
    std::string path = sys::JoinPath(folder, entry.name);
    if ((entry.attributes & sys::attr::kDirectory) != 0) {
      if (entry.name != "." && entry.name != "..") DeleteDirectoryTree(path);
      continue;
    }
    UpdateProgress([&](ProgressState& progress) { progress.itemLine = path; });
    RefreshProgress();
    DeleteFileWithRetry(path);  // a file that stays does not stop the walk
  }
  sys::Result<uint32_t> attributes = Fs().GetAttributes(folder);
  return !attributes.ok() || RemoveDirectoryWithRetry(folder) != RemoveOutcome::Failed;
}
