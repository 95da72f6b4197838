#pragma once

#include "msglog/DialogService.h"

#include <QPointer>

class QMessageBox;
class QWidget;

namespace seaherald {

// Message dialogs as modal message boxes over the main window, with Japanese captions and
// button texts.
class QtDialogService final : public DialogService {
 public:
  explicit QtDialogService(QWidget* parent) : parent_(parent) {}
  void Beep() override;
  void ShowError(const std::string& sjis) override;
  bool AddToShownError(const std::string& sjis) override;
  void ShowInformation(const std::string& sjis) override;
  bool Confirm(const std::string& sjis) override;

 private:
  QWidget* parent_;
  QPointer<QMessageBox> shownError_;  // while an error box is open
};

}  // namespace seaherald
