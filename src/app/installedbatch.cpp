#include "app/installedbatch.h"

#include "app/options.h"
#include "session/pathtext.h"
#include "productline/productline.h"
#include "session/session.h"
#include "sys/os.h"
#include "sys/profiles.h"

namespace {
constexpr std::size_t kBatchCapacity = 64;
constexpr int kLastBatchBeforeRebuild = 324;
}  // namespace

int InstalledBatch() {
  sys::Profiles* profiles = sys::os().profiles;
  if (profiles == nullptr) return -1;
  std::string ini = sys::JoinPath(Session().installDir.str(), "Bin\\Fyndra.ini");
  std::string batch = profiles->GetString(ini, "Batch", "CurrentBatch", "", kBatchCapacity);
  return batch.empty() ? -1 : OptionNumber(batch);
}

bool NeedsCleanReinstall() {
  const SessionSettings& settings = Session();
  if (PathExists(sys::JoinPath(settings.installDir.str(), "docs\\bp.asp"))) return false;
  if (IsLineOneOf(settings.productLine, {line::kQS2003E, line::kQS2003SE, line::kQK2003})) {
    return PathExists(sys::JoinPath(settings.installDir.str(), "sql\\prust.sql"));
  }
  if (IsLine(settings.productLine, line::kNHVW)) {
    int batch = InstalledBatch();
    return batch >= 0 && batch <= kLastBatchBeforeRebuild;
  }
  return false;
}
