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
  // Information dialog with an OK button.
  virtual void ShowInformation(const std::string& sjis) = 0;
  // Confirmation with Yes and No buttons; true for Yes.
  virtual bool Confirm(const std::string& sjis) = 0;
};

}  // namespace seaherald
