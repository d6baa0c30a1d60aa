#pragma once
// A pretend machine with an update site in memory and the session of a user who has
// filled in the settings, for the transfer tests.
#include <gtest/gtest.h>

#include <string>

#include "fakes/fake_os.h"
#include "session/log.h"
#include "session/logfolder.h"
#include "session/session.h"
#include "sys/paths.h"
#include "transfer/sitesession.h"
#include "transfer/transferstatistics.h"
#include "session/progressstate.h"
#include "ui/strings/stringtable.h"

constexpr const char* kSite = "http://updates.example";
constexpr const char* kTimestampUrl = "http://updates.example/docs/LogItemAttachUpDnLoad.aspx?Action=10";

class TransferTest : public ::testing::Test {
 protected:
  TransferTest() {
    os.desktop.stringLoader = [](uint32_t id) { return std::string(FindStringEntry(id)); };
    ResetSiteState();
    ResetProgressState();
    ResetTransferStatistics();
    cancelRequested = 0;
    repaints = 0;
    SetProgressRefresher([] { ++repaints; });

    SessionSettings& session = Session();
    session.webSite = kSite;
    session.userName = "jan";
    session.password = "geheim";
    session.productLine = "FNC";
    session.release = "17.1";
    session.installMode = kInternetWorkstation;
  }
  ~TransferTest() override {
    CloseLog();
    SetProgressRefresher(nullptr);
    ResetSiteState();
  }

  std::string LogText() { return os.files.ReadText(sys::JoinPath(ChooseLogFolder(), "Plandrix.log")).value_or(""); }
  // A site whose pages and downloads need no credentials and whose clock answers.
  void ServeTimestamp(const std::string& stamp = "05-12-2026 19:30:00") { os.internet.Serve(kTimestampUrl, stamp); }
  void FailDownload(const std::string& url, uint32_t result) {
    fakes::SiteReply reply;
    reply.downloadResult = static_cast<int32_t>(result);
    os.internet.ServeDownload(url, reply);
  }

  FakeOs os;
  static inline int repaints = 0;
};
