#pragma once

#include <string>

namespace seaherald {

// Modal messages to the user. Texts are Shift-JIS bytes; "\n" breaks a line inside the dialog.
// Callers sound Beep() first where the user must notice (errors, confirmations before deletion).
class DialogService {
 public:
  virtual ~DialogService() = default;
  // The exclamation warning sound.
  virtual void Beep() = 0;
  // Error dialog with an OK button.
  virtual void ShowError(const std::string& sjis) = 0;
  // While an error dialog is open (its ShowError has not returned): adds a paragraph to it and
  // returns true, or returns false when the dialog cannot grow.
  virtual bool AddToShownError(const std::string& sjis) {
    (void)sjis;
    return false;
  }
  // Information dialog with an OK button.
  virtual void ShowInformation(const std::string& sjis) = 0;
  // Confirmation with Yes and No buttons; true for Yes.
  virtual bool Confirm(const std::string& sjis) = 0;
};

}  // namespace seaherald
