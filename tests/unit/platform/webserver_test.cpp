// The web products' set-up against an in-memory web server.
#include <gtest/gtest.h>

#include "fakes/fake_os.h"
#include "platform/metabase.h"
#include "platform/webserverprobes.h"
#include "platform/websetup.h"
#include "session/knownplaces.h"
#include "session/log.h"
#include "session/session.h"

class WebServerSetUp : public ::testing::Test {
 protected:
  WebServerSetUp() {
    os.desktop.UseProductStrings();
    Places().windowsFolder = "C:\\Windows";
    Session().installDir = "C:\\Inetpub\\Fyndra";
    os.webServer.present = true;
    os.webServer.AddSite(1, {".asp,C:\\asp.dll,5", ".ASPX,C:\\aspnet_isapi.dll,1"});
    os.webServer.AddSite(3, {});
  }
  ~WebServerSetUp() override { CloseLog(); }
  std::vector<uint32_t> Identifiers(const std::string& path) {
    std::vector<uint32_t> ids;
    for (const auto& record : os.webServer.keys[path]) ids.push_back(record.identifier);
    return ids;
  }
  FakeOs os;
};

TEST_F(WebServerSetUp, ANewDirectoryGetsItsRecordsInOrderOnItsSiteAndIsDeletedFromSiteOne) {
  Session().websiteId = 3;
  CreateVirtualDirectory("Shop", Session().installDir.str());
  const auto& records = os.webServer.keys["/lm/w3svc/3/root/shop"];
  EXPECT_EQ(Identifiers("/lm/w3svc/3/root/shop"), (std::vector<uint32_t>{1002, 3001, 6016, 6000}));
  EXPECT_TRUE(records[1].data == "C:\\Inetpub\\Fyndra" && records[2].data == std::string("\x01\x02\0\0", 4));
  EXPECT_TRUE(records[0].attributes == 1 && records[0].userType == 2 && records[2].dataType == 1);
  EXPECT_TRUE(os.webServer.applications.at("/lm/w3svc/3/root/shop")) << "in-process";
  WebSetup().registerAspNet = true;  // installing again leaves the directory as it was
  CreateVirtualDirectory("Shop", "D:\\elsewhere");
  EXPECT_EQ(Identifiers("/lm/w3svc/3/root/shop").size(), 4u);
  EXPECT_FALSE(DeleteVirtualDirectory("Shop")) << "the uninstall looks on site 1";
  Session().websiteId = 0;
  CreateVirtualDirectory("Shop", "D:\\elsewhere");
  EXPECT_EQ(Identifiers("/lm/w3svc/1/root/shop"), (std::vector<uint32_t>{1002, 3001, 6016, 6000, 6006}));
  EXPECT_TRUE(DeleteVirtualDirectory("Shop") && !MetabaseKeyExists("/LM/W3SVC/1/ROOT/Shop"));
  EXPECT_EQ(SetMetabaseData("/LM/W3SVC/1", 1, 1, 2, 5, "a") * 100 + SetMetabaseData("/LM/W3SVC/1", 1, 1, 2, 9, ""), 5087u);
  // The sites and script maps the settings check asks about; without a server nothing is found.
  EXPECT_TRUE(IsWebsiteIdValid(0) && IsWebsiteIdValid(-2) && IsWebsiteIdValid(3) && IsAspxMapped() && !IsWebsiteIdValid(2));
  os.webServer.scriptMaps[1] = {".aspx2,x", ".asp,C:\\asp.dll"};
  EXPECT_FALSE(IsAspxMapped());
  os.webServer.present = false;
  EXPECT_TRUE(IsWebsiteIdValid(0)) << "the default site is not asked about";
  EXPECT_FALSE(IsWebsiteIdValid(3) || IsAspxMapped() || DeleteVirtualDirectory("Halomir"));
}

TEST_F(WebServerSetUp, TheWebLinesMarkTheMachineAndTheNetLineRegistersAspNetOrSaysHow) {
  const std::string tool = "C:\\Windows\\Microsoft.NET\\Framework\\v2.0.50727\\aspnet_regiis.exe";
  SetupFyndraWeb();
  EXPECT_EQ(os.registry.grants, std::vector<std::string>{std::string(kFyndraMarkerKey) + "<-Everyone"});
  EXPECT_EQ(Identifiers("/lm/w3svc/1/root/halomir").size(), 4u) << "without /nocheck the name is Halomir";
  Session().noCheck = true, Session().virtualDir = "Net";
  os.files.WriteText(tool, "MZ");
  SetupHalomirNetWeb();
  EXPECT_TRUE(os.registry.HasKey(sys::Hive::Users, kHalomirNetMarkerKey) && os.desktop.boxes.empty());
  EXPECT_EQ(os.processes.started.back().commandLine, tool + " -s W3SVC/1/ROOT/Net");
  Session().noCheck = false;
  os.files.DeleteFile(tool);
  SetupHalomirNetWeb();
  ASSERT_EQ(Session().virtualDir, "Halomir");
  EXPECT_EQ(os.desktop.boxes.at(0).text, "Failed to load file for registration\nPlease execute manually: " + tool +
                                             "\nCertain functionality, like web services, will not be working since "
                                             "you don't have Microsoft .Net Framework 2.0 registered.");
}
