#include "transfer/listsignature.h"

#include "session/log.h"
#include "session/progressstate.h"
#include "session/session.h"
#include "session/textids.h"
#include "sys/hashing.h"
#include "sys/internet.h"
#include "sys/os.h"
#include "transfer/filelistrequest.h"
#include "transfer/sitedownloadlistener.h"
#include "transfer/sitereplies.h"
#include "transfer/sitesession.h"
#include "transfer/siteurls.h"

namespace {

// A base64 signature of a key up to 8192 bits is shorter than this.
constexpr std::size_t kSignatureReadLimit = 2048;
constexpr uint32_t kSignatureDownloadFlags = 0;

std::string& ListPublicKey() {
  static std::string key;
  return key;
}

// Why the list is not taken, in the log; empty when its signature holds.
std::string SignatureProblem(sys::Internet& internet, const std::string& listPath) {
  std::string url = ListSignatureUrl(Session());
  sys::CacheDownload download =
      internet.DownloadToCacheFile(url, kCachePathCapacity, kSignatureDownloadFlags, Site().callback.get());
  std::string signature;
  if (!download.ok()) {
    std::string problem;
    return AppendFormat(problem, "its signature could not be fetched from %s (0x%lx)", url.c_str(),
                        static_cast<unsigned long>(static_cast<uint32_t>(download.result)));
  }
  if (!ReadFileStart(download.path, kSignatureReadLimit, signature)) return "its signature could not be read";
  if (IsSiteRefusal(signature)) return "the site has no signature: " + signature.substr(kSiteRefusal.size());
  sys::Result<bool> signedBy = sys::os().hashing->FileSignedBy(listPath, ListPublicKey(), signature);
  if (!signedBy.ok()) return "the list could not be read";
  return signedBy.value ? std::string{} : "its signature does not match this program's key";
}

}  // namespace

void SetListPublicKey(std::string publicKeyPem) { ListPublicKey() = std::move(publicKeyPem); }

bool CheckListSignature(sys::Internet& internet, const std::string& listPath) {
  if (ListPublicKey().empty()) return true;
  // The site's refusal in place of a list installs nothing and is reported as it is.
  std::string start;
  if (ReadFileStart(listPath, kSiteRefusal.size(), start) && IsSiteRefusal(start)) return true;
  std::string problem = SignatureProblem(internet, listPath);
  if (cancelRequested.load() != 0) return false;  // a Cancel is not a refusal
  if (problem.empty()) {
    WriteLog("The file list is signed by the publisher");
    return true;
  }
  WriteLog("The file list is refused: %s", problem.c_str());
  LoggedMessageBox(ProgressWindow(), LoadText(text::kListSignatureRefused), Session().captionText,
                   mb::kSetForeground | mb::kIconStop, sys::answer::kOk);
  return false;
}
