// The notices' answers, their details links and the texts they take from the string table.
#include <gtest/gtest.h>

#include "app/notices.h"
#include "fakes/fake_os.h"
#include "session/session.h"

namespace {

struct NoticesTest : ::testing::Test {
  void SetUp() override { ResetSessionState(), os.desktop.UseProductStrings(); }
  int Answer(int notice, int command) { return AnswerNoticeCommand(notice, command, 77).value_or(0); }  // 0: stays open
  FakeOs os;
};

TEST_F(NoticesTest, EveryWayOutAnswersAsItsNoticeSays) {
  // OK and Cancel are also what Enter (without a default button) and Escape send.
  const int commands[] = {NOTICE_OK, NOTICE_CANCEL, NOTICE_YES, NOTICE_NO, NOTICE_CONTINUE, NOTICE_ABORT};
  const struct { int notice, answers[6], closed; } rows[] = {
      {NOTICE_BROWSER_SETTING, {1, 1, 0, 0, 0, 0}, 1}, {NOTICE_PERMISSIONS, {1, 2, 0, 0, 0, 0}, 2},
      {NOTICE_RELEASE_380, {0, 2, 6, 7, 0, 0}, 2},     {NOTICE_RELEASE_395, {0, 2, 6, 7, 0, 0}, 2},
      {NOTICE_CONVERSION, {0, 2, 0, 0, 6, 7}, 2},      {NOTICE_MAIL_CLIENT, {2, 2, 2, 2, 1069, 2}, 2}};
  for (const auto& row : rows) {
    for (int i = 0; i < 6; ++i) EXPECT_EQ(Answer(row.notice, commands[i]), row.answers[i]) << row.notice << "/" << i;
    EXPECT_EQ(ClosedNoticeAnswer(row.notice), row.closed) << row.notice;
  }
}

TEST_F(NoticesTest, DetailsAndHelpOpenTheirPageAndKeepTheNoticeOpen) {
  const std::string release380 = "/docs/DocView.aspx?Action=View&DocumentID={40B4BC84-3696-48BB-9D8E-2791D775E86C}";
  const struct { int notice, entry; std::string entryText, link; } rows[] = {
      {NOTICE_RELEASE_380, 505, "", "https://www.molvex.example" + release380},
      {NOTICE_RELEASE_380, 505, "https://a.example", "https://a.example" + release380},
      {NOTICE_RELEASE_395, 615, "", "https://portal.molvex.example/docs/DocView.aspx?DocumentID={c8a80df8-d407-4d65-90b8-3411c26247ff}"},
      {NOTICE_CONVERSION, 627, "https://a.example/c", "https://a.example/c"},
      {NOTICE_MAIL_CLIENT, 633, std::string(600, 'x'), std::string(511, 'x')},
      {NOTICE_BROWSER_SETTING, 0, "", "https://update.molvex.example/"}};  // Help: the line's help page
  for (const auto& row : rows) {
    os.processes.shellCalls.clear();
    os.desktop.strings[row.entry] = row.entryText;
    EXPECT_EQ(Answer(row.notice, row.entry ? NOTICE_DETAILS : NOTICE_HELP), 0);
    ASSERT_EQ(os.processes.shellCalls.size(), 1u) << row.notice;
    EXPECT_EQ(os.processes.shellCalls[0].file.substr(0, row.link.size()), row.link) << row.notice;
    EXPECT_TRUE(os.processes.shellCalls[0].file.size() <= 511 && os.processes.shellCalls[0].owner == 77);
  }
}

TEST_F(NoticesTest, StringTableTextsReplaceTheTemplatesOnlyWhenTheFirstEntryIsSet) {
  NoticeTexts mail = OpeningNoticeTexts(NOTICE_MAIL_CLIENT);
  std::string shown = mail.caption;
  for (const auto& [id, text] : mail.controls) shown += "|" + std::to_string(id) + (text.size() < 12 ? " " + text : "");
  EXPECT_EQ(shown, "Information|1072 Dear user,|1073|1074|1075|1056 Details...|1069 Continue|1070 Abort");
  EXPECT_TRUE(mail.controls[1].second.ends_with("you will encounter error messages in Microsoft Office 2010."));
  EXPECT_TRUE(OpeningNoticeTexts(NOTICE_RELEASE_380).controls.empty());
  os.desktop.strings[500] = "A new release.";
  EXPECT_EQ(OpeningNoticeTexts(NOTICE_RELEASE_380).controls.front().second, "A new release.");
}

}  // namespace
