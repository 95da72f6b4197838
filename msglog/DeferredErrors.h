#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "msglog/DialogService.h"

namespace seaherald {

// Error reports made from inside the block handler, shown only after it has returned: a modal
// box inside the handler would stop reception until somebody clicks OK. At most one box is open
// at a time; what fails while it is open is added to it when the dialogs can do that, or else
// gathered into a single box that follows it. The same text is never listed twice in one box, and
// a box lists at most MostTexts texts: more failures are counted in a last line "... (+N)", so a
// receiver left alone with a failing disk never grows a box without bound.
//
// Information and confirmations go straight to the wrapped dialogs.
class DeferredErrors final : public DialogService {
 public:
  // `scheduleShow` must arrange for ShowPending to run once the caller has returned (a queued
  // call on the GUI thread).
  DeferredErrors(DialogService& dialogs, std::function<void()> scheduleShow);

  static constexpr std::size_t MostTexts = 20;

  void Beep() override;
  void ShowError(const std::string& sjis) override;
  void ShowInformation(const std::string& sjis) override { dialogs_.ShowInformation(sjis); }
  bool Confirm(const std::string& sjis) override { return dialogs_.Confirm(sjis); }

  // Shows what has been gathered, one box at a time, until nothing is left.
  void ShowPending();

 private:
  bool AlreadyListed(const std::string& sjis) const;

  DialogService& dialogs_;
  std::function<void()> scheduleShow_;
  std::vector<std::string> pending_;
  std::vector<std::string> shown_;  // the texts of the box now open
  int notListed_ = 0;               // failures beyond MostTexts for the next box
  bool scheduled_ = false;
  bool showing_ = false;
};

}  // namespace seaherald
