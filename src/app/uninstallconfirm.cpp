#include "app/uninstallconfirm.h"

#include "session/log.h"
#include "session/textids.h"
#include "uninstall/uninstall.h"

void OpenUninstallConfirm(DialogControls& dialog) {
  dialog.SetText(confirm117::kQuestion, LoadText(text::kAskUninstallProduct));
  dialog.SetText(confirm117::kRemoveSharedFiles, LoadText(text::kRemoveUnusedSharedFiles));
  dialog.SetText(confirm117::kYes, LoadText(text::kYes));
  dialog.SetText(confirm117::kNo, LoadText(text::kNo));
  dialog.SetChecked(confirm117::kRemoveSharedFiles, false);
}

void AnswerUninstallConfirm(DialogControls& dialog, int command) {
  if (command == confirm117::kYes) {
    removeSharedFiles = dialog.Checked(confirm117::kRemoveSharedFiles);
    dialog.End(confirm117::kYes);
  } else if (command == confirm117::kNo) {
    dialog.End(confirm117::kNo);
  }
}
