#pragma once
// A workstation installing the FNC line into C:\Fin from a site in memory or \\srv\share\Fin.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_os.h"
#include "filelist/filelist.h"
#include "filelist/listdate.h"
#include "filelist/targetfolder.h"
#include "session/knownplaces.h"
#include "session/log.h"
#include "session/logfolder.h"
#include "session/progressstate.h"
#include "session/session.h"
#include "sys/os.h"
#include "sys/paths.h"
#include "transfer/sitesession.h"
#include "transfer/siteurls.h"
#include "updaterun/runstate.h"

class ItemTest : public ::testing::Test {
 protected:
  static constexpr const char* kSite = "http://updates.example";
  static constexpr const char* kNetDir = "\\\\srv\\share\\Fin";
  static constexpr const char* kDate = "24-12-2025 10:30:00";

  ItemTest() {
    os.desktop.UseProductStrings();
    SessionSettings& session = Session();
    session.productLine = "FNC";
    session.release = "17.1";
    session.webSite = kSite;
    session.installDir = "C:\\Fin";
    session.netDir = kNetDir;
    session.isNtFamily = session.hasAdminRights = true;
    Places().tempFolder = "C:\\Temp\\";
    Results().installClusterSize = Results().tempClusterSize = 4096;
    Places().systemFolder = "C:\\Windows\\system32";
    os.files.MakeDirectories("C:\\Temp");
    os.files.MakeDirectories("C:\\Fin\\usr");  // the log goes there
    os.files.AddVolume("\\\\srv\\share");
    os.internet.ServePage(TimestampUrl(kSite), {});
    EXPECT_TRUE(OpenSiteSession(TimestampUrl(kSite)));
  }
  ~ItemTest() override {
    CloseLog();
    ReleaseRunState();
  }

  // A list record: code, release, name, size, date, folder, registration kind, cabinet size.
  static std::string Record(const std::string& code, const std::string& name, long size,
                            const std::string& folder = "bin", long cabSize = 0, int kind = 0) {
    return code + "\t17.1\t" + name + "\t" + std::to_string(size) + "\t" + kDate + "\t" + folder + "\t" +
           std::to_string(kind) + "\t\t\t\t\t" + std::to_string(cabSize) + "\r\n";
  }
  static FileEntry Entry(const std::string& name, long size, const std::string& folder = "bin", long cabSize = 0) {
    FileEntry entry = ParseFileListRecord(Record("CSFNC_" + name, name, size, folder, cabSize), kInternetWorkstation);
    entry.selected = entry.downloadNeeded = true;
    return entry;
  }
  static std::string ItemRequest(const FileEntry& entry, long size, long cabSize) {
    return std::string(kSite) + "/docs/LogItemAttachment.aspx?Item=" + entry.itemCode.str() +
           "&Release=17.1&Action=2&Size=" + std::to_string(size) + "&CabSize=" + std::to_string(cabSize);
  }
  static std::string ItemRequest(const FileEntry& entry) { return ItemRequest(entry, entry.size, entry.cabSize); }
  void Serve(const FileEntry& entry, const std::string& body) { os.internet.Serve(ItemRequest(entry), body); }
  void ServeOnce(const std::string& url, const std::string& body) {  // before what is served afterwards
    fakes::SiteReply reply;
    reply.body = body;
    os.internet.ServePage(url, reply);
  }
  void Publish(const std::string& folder, const std::string& name, const std::string& bytes) {  // on the share
    os.files.WriteText(std::string(kNetDir) + "\\" + folder + "\\" + name, bytes);
  }

  bool Logged(const std::string& text) {
    return os.files.ReadText(sys::JoinPath(ChooseLogFolder(), "Plandrix.log")).value_or("").find(text) != std::string::npos;
  }
  std::string Box(size_t i) { return i < os.desktop.boxes.size() ? os.desktop.boxes[i].text : "(no box)"; }
  bool TemporaryFilesLeft() {  // "_sy" files anywhere: transfers and expansions left behind
    for (const std::string& path : os.files.AllPaths())
      if (sys::SplitAtLastBackslash(path).name.rfind("_sy", 0) == 0) return true;
    return false;
  }
  int Requests(const std::string& url) {
    return static_cast<int>(std::count(os.internet.openedUrls.begin(), os.internet.openedUrls.end(), url));
  }

  FakeOs os;
};
