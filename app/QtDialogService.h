#pragma once

#include "msglog/DialogService.h"

#include <QPointer>

class QMessageBox;
class QWidget;

namespace seaherald {

class Translation;

// Message dialogs as modal message boxes over the main window, with captions and button texts
// in the window's language. The messages come already in that language.
class QtDialogService final : public DialogService {
 public:
  QtDialogService(QWidget* parent, const Translation& text) : parent_(parent), text_(text) {}
  void Beep() override;
  void ShowError(const std::string& sjis) override;
  bool AddToShownError(const std::string& sjis) override;
  void ShowInformation(const std::string& sjis) override;
  bool Confirm(const std::string& sjis) override;

 private:
  QWidget* parent_;
  const Translation& text_;
  QPointer<QMessageBox> shownError_;  // while an error box is open
};

}  // namespace seaherald
