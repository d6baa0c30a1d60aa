// transferprobe SITE USER PASSWORD DOMAIN RELEASE OUTDIR: asks an update site for the
// file list of RELEASE of the line FNC, refreshes the release list quietly and then
// interactively, and fetches the list's first item, as an internet run does. What arrived
// goes to OUTDIR (filelist.txt, item.bin, the log to OUTDIR\usr), one "key=value" line
// per finding to stdout. Silent unless PROBE_INTERACTIVE is set. Exit code: 0, or the
// failed step. "transferprobe callback" checks the download callback's COM side alone.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "filelist/listformat.h"
#include "session/log.h"
#include "session/progressstate.h"
#include "session/session.h"
#include "sys/files.h"
#include "sys/os.h"
#include "sys/paths.h"
#include "sys/win32/downloadcallback.h"
#include "sys/win32/win32os.h"  // the adapter's wrapper of the system headers
#include "transfer/fetchurl.h"
#include "transfer/filelistrequest.h"
#include "transfer/releaselistrequest.h"
#include "transfer/sitedownloadlistener.h"
#include "transfer/sitereplies.h"
#include "transfer/sitesession.h"
#include "transfer/siteurls.h"

namespace {

enum Step { kFileList = 1, kReleaseListQuiet, kReleaseListInteractive, kItem, kUsage = 9 };

// Tabs and line ends made visible, so a line of stdout stays one line.
std::string Visible(const std::string& text) {
  std::string out;
  for (char c : text) out += c == '\t' ? "\\t" : c == '\r' ? "\\r" : c == '\n' ? "\\n" : std::string(1, c);
  return out;
}

class PrintingDialog : public ReleaseListDialog {
 public:
  sys::WindowId Window() const override { return 0; }
  void SetStatusText(const std::string& text) override { std::printf("dialog-status=%s\n", text.c_str()); }
  void ShowReleases(const std::vector<std::string>& releases) override {
    std::string joined;
    for (const std::string& r : releases) joined += (joined.empty() ? "" : ",") + r;
    std::printf("dialog-releases=%s\n", joined.c_str());
  }
};

bool Keep(const std::string& from, const std::string& outDir, const char* name) {
  return sys::os().files->CopyFile(from, sys::JoinPath(outDir, name), false) == 0;
}

// The download callback as COM sees it, without a download. (Its answer with the stored
// credentials, and with no window in a silent run, shows in every site request.)
int CheckCallback() {
  SiteDownloadListener listener;
  sys::win32::DownloadCallback* callback = sys::win32::DownloadCallback::Create(&listener);
  IBindStatusCallback* status = callback;

  IAuthenticate* authenticate = nullptr;
  HRESULT asked = status->QueryInterface(IID_IAuthenticate, reinterpret_cast<void**>(&authenticate));
  std::printf("qi-authenticate=0x%lx refs=%lu\n", static_cast<unsigned long>(asked), callback->references());
  void* other = reinterpret_cast<void*>(1);
  HRESULT refused = status->QueryInterface(IID_IClassFactory, &other);
  std::printf("qi-other=0x%lx null=%d\n", static_cast<unsigned long>(refused), other == nullptr ? 1 : 0);

  // After the system's own prompt, the system asks again itself.
  HWND window = nullptr;
  LPWSTR user = nullptr;
  LPWSTR password = nullptr;
  Site().credentialsPrompted = true;
  authenticate->Authenticate(&window, &user, &password);
  std::printf("prompted-window-desktop=%d names-untouched=%d\n", window == GetDesktopWindow() ? 1 : 0,
              user == nullptr && password == nullptr ? 1 : 0);

  authenticate->Release();
  std::printf("refs-after-release=%lu\n", callback->references());
  callback->Release();  // the last reference: the object goes
  return 0;
}

int Run(int argc, char** argv) {
  if (argc == 2 && std::string(argv[1]) == "callback") return CheckCallback();
  if (argc != 7) {
    std::fprintf(stderr, "usage: transferprobe SITE USER PASSWORD DOMAIN RELEASE OUTDIR | callback\n");
    return kUsage;
  }
  SessionSettings& session = Session();
  session.webSite = argv[1];
  session.userName = argv[2];
  session.password = argv[3];
  session.domain = argv[4];
  session.release = argv[5];
  session.installDir = argv[6];
  session.productLine = "FNC";
  session.installMode = kInternetWorkstation;
  session.gender = "Male";
  session.contact = "Probe";
  // An unattended run unless the test wants to see the system's own dialogs.
  session.silent = std::getenv("PROBE_INTERACTIVE") == nullptr;
  const std::string outDir = argv[6];

  std::string listPath;
  bool listOk = RequestFileList(listPath);
  std::printf("filelist=%s\n", listOk ? "ok" : "failed");
  std::printf("timestamp=%s\n", Site().listTimestamp.c_str());
  std::printf("credentials-prompted=%d\n", Site().credentialsPrompted ? 1 : 0);
  std::printf("filelist-url=%s\n", FileListUrl(session).c_str());
  if (!listOk) return kFileList;
  if (!Keep(listPath, outDir, "filelist.txt")) return kFileList;

  session.releaseList = "";
  RequestReleaseList(nullptr, true);
  std::printf("releaselist=%s\n", Visible(session.releaseList).c_str());
  if (session.releaseList.empty()) return kReleaseListQuiet;

  // The first record's item code and item release.
  std::string head;
  ReadFileStart(listPath, 2048, head);
  auto fields = SplitListFields(std::string_view(head).substr(0, head.find('\r')));
  if (fields.size() < 2 || fields[0].empty()) return kItem;
  std::string itemUrl = ItemUrl(session.webSite, fields[0], fields[1]);
  std::printf("item-url=%s\n", itemUrl.c_str());
  UpdateProgress([](ProgressState& progress) {
    progress.itemBase = progress.totalDone;
    progress.itemDone = 0;
  });
  std::string itemPath;
  bool itemOk = FetchUrlToTempFile(itemUrl, itemPath);
  std::printf("item=%s\n", itemOk ? "ok" : "failed");
  bool kept = Keep(itemPath, outDir, "item.bin");
  sys::os().files->DeleteFile(itemPath);
  if (!itemOk || !kept) return kItem;
  CloseSiteSession();

  // A Cancel that is pending when the download reports progress ends it.
  ++cancelRequested;
  SiteDownloadListener cancelling;
  sys::CacheDownload cancelled = sys::os().internet->DownloadToCacheFile(itemUrl, kCachePathCapacity, 0, &cancelling);
  std::printf("cancelled-download=0x%lx\n", static_cast<unsigned long>(cancelled.result));
  cancelRequested = 0;

  // The settings dialog's refresh: its own session, and a list that is new again.
  session.releaseList = "";
  PrintingDialog dialog;
  RequestReleaseList(&dialog, false);
  if (session.releaseList.empty()) return kReleaseListInteractive;
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  InstallWin32Os(GetModuleHandleA(nullptr));
  int result = Run(argc, argv);
  std::printf("result=%d\n", result);
  CloseLog();
  if (SUCCEEDED(com)) CoUninitialize();
  return result;
}
