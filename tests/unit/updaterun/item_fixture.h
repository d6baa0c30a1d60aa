#pragma once
// A workstation that installs the FNC line into C:\Fin from an update site in memory,
// with the product's own texts, for the tests of item installation and of the analysis.
// Entries are built as the analysis would leave them; the site serves each item URL.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_os.h"
#include "install/placementstate.h"
#include "session/log.h"
#include "session/logfolder.h"
#include "session/session.h"
#include "sys/paths.h"
#include "transfer/sitesession.h"
#include "transfer/siteurls.h"
#include "transfer/transferstatistics.h"
#include "session/progressstate.h"
#include "filelist/fileentry.h"
#include "session/knownplaces.h"
#include "sys/os.h"
#include "updaterun/runstate.h"
#include "filelist/targetfolder.h"

class ItemTest : public ::testing::Test {
 protected:
  static constexpr const char* kSite = "http://updates.example";
  static constexpr const char* kInstallDir = "C:\\Fin";
  static constexpr const char* kNetDir = "\\\\srv\\share\\Fin";
  static constexpr const char* kTemp = "C:\\Temp\\";

  ItemTest() {
    os.desktop.UseProductStrings();
    ResetProgressState();
    ResetSiteState();
    ResetTransferStatistics();
    ResetUpdateRunState();
    Steps() = RunSteps{};
    Placement().installDirOnFat = false;
    Placement().netDirOnFat = false;
    ResetPlacementState();

    SessionSettings& session = Session();
    session.installMode = kInternetWorkstation;
    session.productLine = "FNC";
    session.release = "17.1";
    session.webSite = kSite;
    session.userName = "jan";
    session.password = "geheim";
    session.installDir = kInstallDir;
    session.netDir = kNetDir;
    session.captionText = "Fennic Duziderav";
    session.isNtFamily = true;
    session.hasAdminRights = true;
    Places() = KnownPlaces{};
    Places().tempFolder = kTemp;
    Places().systemFolder = "C:\\Windows\\system32";
    Places().windowsFolder = "C:\\Windows";
    Places().documentsFolder = "C:\\Users\\tester\\Documents";
    os.files.MakeDirectories("C:\\Temp");
    os.files.MakeDirectories("C:\\Fin\\usr");  // the log goes there
    os.files.AddVolume("\\\\srv\\share");

    os.internet.ServePage(TimestampUrl(kSite), {});
    EXPECT_TRUE(OpenSiteSession(TimestampUrl(kSite)));
  }
  ~ItemTest() override {
    CloseLog();
    ResetSiteState();
    ReleaseRunState();
    cancelRequested = 0;
  }

  static FileEntry Entry(const std::string& name, int32_t size, const std::string& folder = "bin",
                         int32_t cabSize = 0) {
    FileEntry entry;
    entry.itemCode = "CSFNC_" + name;
    entry.itemRelease = "17.1";
    entry.fileName = name;
    entry.size = size;
    entry.cabSize = cabSize;
    entry.date = "24-12-2025 10:30:00";
    entry.folder = folder;
    entry.selected = true;
    entry.downloadNeeded = true;
    return entry;
  }
  // The URL the item is requested with for these sizes.
  static std::string ItemRequest(const FileEntry& entry, long size, long cabSize) {
    return std::string(kSite) + "/docs/LogItemAttachment.aspx?Item=" + entry.itemCode.str() +
           "&Release=" + entry.itemRelease.str() + "&Action=2&Size=" + std::to_string(size) +
           "&CabSize=" + std::to_string(cabSize);
  }
  static std::string ItemRequest(const FileEntry& entry) { return ItemRequest(entry, entry.size, entry.cabSize); }
  // The site answers the item's first request with `body`.
  void Serve(const FileEntry& entry, const std::string& body) { os.internet.Serve(ItemRequest(entry), body); }
  // A reply the site sends once, before what it sends afterwards.
  void ServeOnce(const std::string& url, const std::string& body) {
    fakes::SiteReply reply;
    reply.body = body;
    os.internet.ServePage(url, reply);
  }

  std::string Log() { return os.files.ReadText(sys::JoinPath(ChooseLogFolder(), "Plandrix.log")).value_or(""); }
  bool Logged(const std::string& text) { return Log().find(text) != std::string::npos; }
  // Temporary "_sy" files anywhere on the machine: transfers and expansions left behind.
  std::vector<std::string> TemporaryFiles() {
    std::vector<std::string> left;
    for (const std::string& path : os.files.AllPaths())
      if (sys::SplitAtLastBackslash(path).name.rfind("_sy", 0) == 0) left.push_back(path);
    return left;
  }
  int Requests(const std::string& url) {
    int n = 0;
    for (const std::string& opened : os.internet.openedUrls) n += opened == url ? 1 : 0;
    return n;
  }

  FakeOs os;
};
