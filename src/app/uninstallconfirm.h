#pragma once
// The uninstall confirmation (dialog 117) apart from its window: the texts it opens with
// and what its buttons answer. The dialog procedure (app/win32/uninstallconfirmdialog)
// only applies this.
#include "app/dialogcontrols.h"

// Control and answer ids of the dialog's template.
namespace confirm117 {
constexpr int kDialog = 117;
constexpr int kQuestionIcon = 1029;
constexpr int kQuestion = 1030;
constexpr int kRemoveSharedFiles = 1031;
constexpr int kYes = 6;
constexpr int kNo = 7;
}  // namespace confirm117

// The question, the check box (unchecked) and the buttons from the string table.
void OpenUninstallConfirm(DialogControls& dialog);
// Yes takes the check box into `removeSharedFiles` and ends with 6; No ends with 7.
void AnswerUninstallConfirm(DialogControls& dialog, int command);
