#include "install/placefile.h"

#include "install/placementstate.h"
#include "install/rebootreplace.h"
#include "install/registeratlogon.h"
#include "session/log.h"
#include "session/session.h"
#include "sys/desktop.h"
#include "sys/files.h"
#include "sys/os.h"
#include "sys/paths.h"
#include "sys/processes.h"
#include "session/progressstate.h"
#include "filelist/listdate.h"
#include "session/textids.h"

namespace {

constexpr int kImmediateRetriesOnShare = 10;
constexpr uint32_t kAbortRetryIgnore = mb::kAbortRetryIgnore;
constexpr uint32_t kAbortRetryIgnoreStop = mb::kAbortRetryIgnore | mb::kIconStop;
constexpr const char* kMailClientWindowClass = "rctrl_renwnd32";

sys::Files& Fs() { return *sys::os().files; }

std::string Text(const char* format, const std::string& a) {
  std::string text;
  return AppendFormat(text, format, a.c_str());
}
std::string Text(const char* format, const std::string& a, const std::string& b) {
  std::string text;
  return AppendFormat(text, format, a.c_str(), b.c_str());
}

// The new file carries the list's date before it takes the target's name.
void StampListDate(const std::string& path, const FileEntry& entry) {
  uint64_t listTime = ParseListDate(entry.date.str());
  if (listTime == 0) return;
  sys::Result<sys::OwnedFile> file =
      Fs().OpenOwned(path, sys::FileAccess::Write, sys::share::kRead, sys::Disposition::OpenExisting);
  if (!file.ok()) return;
  sys::FileTimes times;
  times.lastWrite = listTime;
  Fs().SetTimes(file.value.get(), times);
}

// Copied bytes count into the progress window's total of a copying pass.
void FinishPlacedFile(const PlaceRequest& request, const FileEntry& entry) {
  if (IsSourceMode(Session().installMode) || request.sourceKind == SourceKind::Copied)
    UpdateProgress([&](ProgressState& progress) { progress.totalDone += entry.size; });
}

// A refused replacement of a target that is not read-only: the target is in use when it
// cannot be opened for writing by us alone.
sys::Error WhyReplacementRefused(const std::string& target) {
  sys::Result<uint32_t> attributes = Fs().GetAttributes(target);
  if (attributes.ok() && (attributes.value & sys::attr::kReadOnly) != 0) return sys::err::kAccessDenied;
  sys::Result<sys::OwnedFile> file =
      Fs().OpenOwned(target, sys::FileAccess::Write, sys::share::kNone, sys::Disposition::OpenExisting);
  if (!file.ok() && (file.error == sys::err::kSharingViolation || file.error == sys::err::kUserMappedFile))
    return file.error;
  return sys::err::kAccessDenied;
}

// The target changes in one step: the new bytes are written beside it (an expanded
// cabinet already lies there), dated, and moved over it. A run stopped at any moment
// leaves the old file or the new one, never a part of it.
sys::Error PutInPlace(const PlaceRequest& request, const FileEntry& entry) {
  std::string beside = request.prepared;
  if (!request.expandedInPlace) {
    std::size_t slash = request.target.rfind('\\');
    sys::Result<std::string> made =
        Fs().CreateTempFile(slash == std::string::npos ? std::string() : request.target.substr(0, slash + 1), "_sy");
    if (!made.ok()) return made.error;
    beside = made.value;
    if (sys::Error error = Fs().CopyFile(request.prepared, beside, false)) {
      Fs().DeleteFile(beside);
      return error;
    }
    int32_t mode = Session().installMode;  // files from a CD are read-only
    if (mode == kCdWorkstation || mode == kCdNetwork) Fs().SetAttributes(beside, sys::attr::kNormal);
  }
  StampListDate(beside, entry);
  sys::Error error = Fs().MoveFile(beside, request.target, sys::move::kReplaceExisting);
  if (error == 0) return 0;
  if (!request.expandedInPlace) Fs().DeleteFile(beside);
  return error == sys::err::kAccessDenied ? WhyReplacementRefused(request.target) : error;
}

int AskCannotCopy(const std::string& target) {
  std::string text = Text("%s %s\r\n", LoadText(text::kCannotCopy), target) + LoadText(text::kSharingViolation);
  return LoggedMessageBox(ProgressWindow(), text, Session().captionText, kAbortRetryIgnore, sys::answer::kAbort);
}

// The copy of one file, with what its failures need to remember between attempts.
class Placing {
 public:
  Placing(const PlaceRequest& request, const FileEntry& entry) : request_(request), entry_(entry) {}

  PlaceResult Run() {
    while (true) {
      sys::Error error = PutInPlace(request_, entry_);
      if (error == 0) {
        FinishPlacedFile(request_, entry_);
        return {PlaceOutcome::Placed, keepPrepared_};
      }
      int answer = AnswerFor(error);
      if (answer == sys::answer::kRetry) continue;
      if (answer == sys::answer::kIgnore) return {PlaceOutcome::Ignored, keepPrepared_};
      if (answer == sys::answer::kOk) return {PlaceOutcome::Placed, keepPrepared_};
      return {PlaceOutcome::Aborted, keepPrepared_};
    }
  }

 private:
  int AnswerFor(sys::Error error) {
    switch (error) {
      case sys::err::kSharingViolation:
      case sys::err::kUserMappedFile:
        return IsWorkstationTarget() ? InUseOnWorkstation() : InUseOnShare();
      case sys::err::kFileNotFound:
        if (Placement().installDirOnFat || Placement().netDirOnFat) return sys::answer::kOk;
        return CannotMake(error);
      case sys::err::kCannotMake:
        return CannotMake(error);
      case sys::err::kPathNotFound:
        return LoggedMessageBox(ProgressWindow(),
                                Text("%s\r\n", LoadText(text::kDirectoryMissing)) + Text("%s: %s", LoadText(text::kFileNotInstalled), request_.target),
                                Session().captionText, kAbortRetryIgnore, sys::answer::kAbort);
      case sys::err::kAccessDenied:
        return ClearReadOnly() ? sys::answer::kRetry : sys::answer::kAbort;
      case sys::err::kDiskFull:
        LoggedMessageBox(ProgressWindow(), Text("%s\r\n", LoadText(text::kNotEnoughDiskSpace)) + Text("%s: %s", LoadText(text::kFileNotInstalled), request_.target),
                         Session().captionText, mb::kOk, sys::answer::kOk);
        return sys::answer::kAbort;
      default:
        return ReportInstallError(request_.itemPath, request_.target, error);
    }
  }

  static bool IsWorkstationTarget() {
    int32_t mode = Session().installMode;
    return !(IsNetworkMode(mode) || mode == kCdCreation);
  }

  int CannotMake(sys::Error error) {
    if (Placement().installDirOnFat) return sys::answer::kOk;
    return ReportInstallError(request_.itemPath, request_.target, error);
  }

  bool ClearReadOnly() {
    sys::Result<uint32_t> attributes = Fs().GetAttributes(request_.target);
    if (!attributes.ok() || (attributes.value & sys::attr::kReadOnly) == 0) return false;
    return Fs().SetAttributes(request_.target, attributes.value & ~sys::attr::kReadOnly) == 0;
  }

  // The file on this workstation is in use: replace it at the restart when we may.
  int InUseOnWorkstation() {
    if (!Session().hasAdminRights) return Ignored(AskCannotCopy(request_.target));
    if (!ScheduleReplaceAtReboot(request_.prepared, request_.target, request_.expandedInPlace))
      return sys::answer::kAbort;
    Placement().inUseList += request_.target + "\r\n";
    Placement().inUseListed = true;
    Results().rebootNeeded = true;
    keepPrepared_ = true;
    if (entry_.registrationKind >= 1) RegisterAtNextLogon(request_.target);
    return sys::answer::kIgnore;
  }

  // A file on a share or a CD image in use: make sure the mail client does not hold its
  // add-in, retry at once ten times, then ask.
  int InUseOnShare() {
    // Cancel is the user's answer for this file: the retries below do not ask again.
    while (!mailClientDeclined_ && Placement().addInCheck && IsOutlookRunning()) {
      std::string text = LoadText(text::kCannotStartWorkstationInstallation) +
                         Text("\r\n\r\n%s: Microsoft Outlook", LoadText(text::kFirstClose));
      if (LoggedMessageBox(0, text, "", mb::kRetryCancel | mb::kIconStop, sys::answer::kRetry) != sys::answer::kRetry) {
        Results().copyIncomplete = true;
        mailClientDeclined_ = true;
      }
    }
    if (++immediateRetries_ <= kImmediateRetriesOnShare) return sys::answer::kRetry;
    immediateRetries_ = 0;
    return Ignored(AskCannotCopy(request_.target));
  }

  static int Ignored(int answer) {
    if (answer == sys::answer::kIgnore) Results().copyIncomplete = true;
    return answer;
  }

  const PlaceRequest& request_;
  const FileEntry& entry_;
  bool keepPrepared_ = false;
  bool mailClientDeclined_ = false;
  int immediateRetries_ = 0;
};

}  // namespace

PlaceResult PlaceFile(const PlaceRequest& request, const FileEntry& entry) { return Placing(request, entry).Run(); }

bool IsOutlookRunning() {
  sys::Processes* processes = sys::os().processes;
  return processes != nullptr && processes->FindTopLevelWindow(kMailClientWindowClass, "").has_value();
}

int ReportInstallError(const std::string& itemPath, const std::string& target, uint32_t error) {
  std::string systemText = sys::os().desktop->GetErrorText(error).substr(0, 1023);
  std::string text;
  if (IsSourceMode(Session().installMode))
    text = Text("%s: %s.\r\n", LoadText(text::kFileNotInstalled), itemPath) + Text("%s: %s\r\n", LoadText(text::kTargetFile), target);
  else
    text = Text("%s: %s.\r\n", LoadText(text::kFileNotInstalled), target);
  if (!systemText.empty())
    AppendFormat(text, "%s: %ld %s\r\n", LoadText(text::kError).c_str(), static_cast<long>(error), systemText.c_str());
  else
    AppendFormat(text, "%s: %ld\r\n", LoadText(text::kError).c_str(), static_cast<long>(error));
  text += LoadText(text::kCloseApplicationsAndRetry);
  return LoggedMessageBox(ProgressWindow(), text, Session().captionText, kAbortRetryIgnoreStop, sys::answer::kAbort);
}
