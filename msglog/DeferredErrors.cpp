#include "msglog/DeferredErrors.h"

#include <algorithm>
#include <utility>

namespace seaherald {
namespace {

std::string Joined(const std::vector<std::string>& texts) {
  std::string joined;
  for (const std::string& text : texts) {
    if (!joined.empty()) joined += '\n';
    joined += text;
  }
  return joined;
}

}  // namespace

DeferredErrors::DeferredErrors(DialogService& dialogs, std::function<void()> scheduleShow)
    : dialogs_(dialogs), scheduleShow_(std::move(scheduleShow)) {}

// Every box is announced by its beep when it opens, not when its first text arrived.
void DeferredErrors::Beep() {}

void DeferredErrors::ShowError(const std::string& sjis) {
  if (AlreadyListed(sjis)) return;
  if (showing_ && shown_.size() < MostTexts && dialogs_.AddToShownError(sjis)) {
    shown_.push_back(sjis);
    return;
  }
  if (pending_.size() < MostTexts) {
    pending_.push_back(sjis);
  } else {
    ++notListed_;
  }
  if (scheduled_ || showing_) return;
  scheduled_ = true;
  scheduleShow_();
}

void DeferredErrors::ShowPending() {
  scheduled_ = false;
  if (showing_) return;  // the open box's loop shows the rest when it closes
  while (!pending_.empty()) {
    shown_ = std::exchange(pending_, {});
    std::string text = Joined(shown_);
    if (notListed_ > 0) text += "\n... (+" + std::to_string(std::exchange(notListed_, 0)) + ")";
    showing_ = true;
    dialogs_.Beep();
    dialogs_.ShowError(text);
    showing_ = false;
    shown_.clear();
  }
}

bool DeferredErrors::AlreadyListed(const std::string& sjis) const {
  return std::find(pending_.begin(), pending_.end(), sjis) != pending_.end() ||
         std::find(shown_.begin(), shown_.end(), sjis) != shown_.end();
}

}  // namespace seaherald
