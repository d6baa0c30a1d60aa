// The notices' answers, their details links and the texts they take from the string table.
#include <gtest/gtest.h>

#include "app/notices.h"
#include "fakes/fake_os.h"
#include "session/session.h"

namespace {

constexpr int kStays = 0;
constexpr sys::WindowId kNotice = 77;

class NoticesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSessionState();
    os.desktop.UseProductStrings();
  }
  int Answer(int notice, int command) { return AnswerNoticeCommand(notice, command, kNotice).value_or(kStays); }
  FakeOs os;
};

TEST_F(NoticesTest, EveryWayOutAnswersAsItsNoticeSays) {
  // Enter without a default button sends OK, Escape sends Cancel.
  const int commands[] = {NOTICE_OK, NOTICE_CANCEL, NOTICE_YES, NOTICE_NO, NOTICE_CONTINUE, NOTICE_ABORT};
  const struct {
    int notice;
    int answers[6];
    int closed;
  } rows[] = {
      {NOTICE_BROWSER_SETTING, {1, 1, kStays, kStays, kStays, kStays}, 1},
      {NOTICE_PERMISSIONS, {1, 2, kStays, kStays, kStays, kStays}, 2},
      {NOTICE_RELEASE_380, {kStays, 2, 6, 7, kStays, kStays}, 2},
      {NOTICE_RELEASE_395, {kStays, 2, 6, 7, kStays, kStays}, 2},
      {NOTICE_CONVERSION, {kStays, 2, kStays, kStays, 6, 7}, 2},
      {NOTICE_MAIL_CLIENT, {2, 2, 2, 2, 1069, 2}, 2},
  };
  for (const auto& row : rows) {
    for (int i = 0; i < 6; ++i) EXPECT_EQ(Answer(row.notice, commands[i]), row.answers[i]) << row.notice << " command " << commands[i];
    EXPECT_EQ(ClosedNoticeAnswer(row.notice), row.closed) << row.notice;
  }
  EXPECT_TRUE(os.processes.shellCalls.empty());
}

TEST_F(NoticesTest, DetailsAndHelpOpenTheirPageAndKeepTheNoticeOpen) {
  const std::string portal = "https://portal.molvex.example/docs/DocView.aspx?DocumentID=";
  const std::string longLink(600, 'x');
  const struct {
    int notice;
    int entry;
    std::string entryText;
    std::string link;
  } rows[] = {
      {NOTICE_RELEASE_380, 505, "",
       "https://www.molvex.example/docs/DocView.aspx?Action=View&DocumentID={40B4BC84-3696-48BB-9D8E-2791D775E86C}"},
      {NOTICE_RELEASE_380, 505, "https://mirror.example",
       "https://mirror.example/docs/DocView.aspx?Action=View&DocumentID={40B4BC84-3696-48BB-9D8E-2791D775E86C}"},
      {NOTICE_RELEASE_395, 615, "", portal + "{c8a80df8-d407-4d65-90b8-3411c26247ff}"},
      {NOTICE_RELEASE_395, 615, "https://mirror.example/r395", "https://mirror.example/r395"},
      {NOTICE_CONVERSION, 627, "", portal + "{18fb3bff-153b-4f83-a066-dc3778d0bd91}"},
      {NOTICE_MAIL_CLIENT, 0, "", portal + "{21cc8a24-3188-4db2-9dbd-3284acb5b48d}"},  // the build's own entry
      {NOTICE_MAIL_CLIENT, 633, "", portal + "{21cc8a24-3188-4db2-9dbd-3284acb5b48d}"},
      {NOTICE_MAIL_CLIENT, 633, longLink, longLink.substr(0, 511)},
  };
  for (const auto& row : rows) {
    os.processes.shellCalls.clear();
    if (row.entry != 0) os.desktop.strings[row.entry] = row.entryText;
    EXPECT_EQ(Answer(row.notice, NOTICE_DETAILS), kStays);
    ASSERT_EQ(os.processes.shellCalls.size(), 1u) << row.notice;
    EXPECT_EQ(os.processes.shellCalls[0].file, row.link) << row.notice << " entry '" << row.entryText << "'";
    EXPECT_EQ(os.processes.shellCalls[0].owner, kNotice);
    EXPECT_EQ(os.processes.shellCalls[0].verb, "");
  }
  os.processes.shellCalls.clear();
  EXPECT_EQ(Answer(NOTICE_BROWSER_SETTING, NOTICE_HELP), kStays);
  ASSERT_EQ(os.processes.shellCalls.size(), 1u);
  EXPECT_EQ(os.processes.shellCalls[0].file.rfind("https://update.molvex.example/", 0), 0u);
}

TEST_F(NoticesTest, StringTableTextsReplaceTheTemplatesOnlyWhenTheFirstEntryIsSet) {
  using Controls = std::vector<std::pair<int, std::string>>;
  NoticeTexts mail = OpeningNoticeTexts(NOTICE_MAIL_CLIENT);
  EXPECT_EQ(mail.caption, "Information");
  ASSERT_EQ(mail.controls.size(), 7u);
  EXPECT_EQ(mail.controls[0], (std::pair<int, std::string>{1072, "Dear user,"}));
  EXPECT_TRUE(mail.controls[1].second.ends_with("you will encounter error messages in Microsoft Office 2010."));
  EXPECT_EQ(Controls(mail.controls.begin() + 4, mail.controls.end()),
            (Controls{{1056, "Details..."}, {1069, "Continue"}, {1070, "Abort"}}));

  EXPECT_EQ(OpeningNoticeTexts(NOTICE_RELEASE_380).controls, Controls{});
  os.desktop.strings[500] = "A new release.";
  os.desktop.strings[509] = "Release notice";
  NoticeTexts release = OpeningNoticeTexts(NOTICE_RELEASE_380);
  EXPECT_EQ(release.caption, "Release notice");
  EXPECT_EQ(release.controls[0], (std::pair<int, std::string>{1051, "A new release."}));
  EXPECT_EQ(release.controls.size(), 8u);

  Session().captionText = "Molvex Workstation Update";
  EXPECT_EQ(OpeningNoticeTexts(NOTICE_BROWSER_SETTING).caption, "Molvex Workstation Update");
}

}  // namespace
