#pragma once
// The controls of a dialog as the portable decisions see them: the settings dialog's model
// and the settings check drive a dialog through this, the Win32 dialog procedure applies
// it to real controls, and the unit tests record it. Controls are named by their ids.
#include <string>
#include <string_view>

#include "sys/desktop.h"

class DialogControls {
 public:
  virtual ~DialogControls() = default;

  // The dialog window, owner of the message boxes shown for it.
  virtual sys::WindowId Window() const = 0;

  virtual std::string Text(int id) const = 0;
  virtual void SetText(int id, std::string_view text) = 0;
  virtual void Show(int id, bool visible) = 0;
  virtual void Enable(int id, bool enabled) = 0;
  virtual void SetReadOnly(int id, bool readOnly) = 0;
  virtual bool Checked(int id) const = 0;
  virtual void SetChecked(int id, bool checked) = 0;

  // Combo boxes (unsorted: a position is the order of adding).
  virtual void AddItem(int id, std::string_view text) = 0;
  virtual void ClearItems(int id) = 0;
  // The position of the entry equal to `text` as a whole, or -1.
  virtual int FindItem(int id, std::string_view text) const = 0;
  // The selected position, or -1 when none is selected.
  virtual int Selection(int id) const = 0;
  // Selects position `position`; -1 selects nothing.
  virtual void Select(int id, int position) = 0;
  // Turns a drop-down combo box with an edit field into a pure drop-down list.
  virtual void MakeDropDownList(int id) = 0;

  virtual void Focus(int id) = 0;
  // Ends the modal dialog with `result`.
  virtual void End(int result) = 0;
};
