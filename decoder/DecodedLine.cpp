#include "decoder/DecodedLine.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace seaherald {
namespace {

bool AnyUnsure(const UnsureBytes& unsure) {
  return std::any_of(unsure.begin(), unsure.end(), [](Doubt d) { return d != Doubt::kSure; });
}

}  // namespace

void DecodedLine::Append(std::string_view character) {
  line_.append(character);
  unsure_.resize(line_.size(), doubtPending_);
  anyUnsure_ = anyUnsure_ || doubtPending_ != Doubt::kSure;
  doubtPending_ = Doubt::kSure;
  sink_.ShowLiveLine(line_);
}

void DecodedLine::ReplaceTail(std::size_t bytes, std::string_view text) {
  const std::size_t kept = line_.size() - std::min(bytes, line_.size());
  line_.resize(kept);
  line_.append(text);
  unsure_.resize(line_.size(), Doubt::kSure);
  if (text.empty()) {
    doubtPending_ = Doubt::kGuessed;
  } else {
    unsure_[kept] = Doubt::kGuessed;
    anyUnsure_ = true;
  }
  sink_.ShowLiveLine(line_);
}

void DecodedLine::EndLine(bool cut) {
  // A lost sync also loses what a doubt was about; a line feed read unsure leaves it for the
  // line it may have broken.
  if (cut) doubtPending_ = Doubt::kSure;
  if (line_.empty()) return;
  if (anyUnsure_) {
    sink_.AddUnsureLine(line_, cut, unsure_);
  } else {
    sink_.AddReceivedLine(line_, cut);
  }
  line_.clear();
  unsure_.clear();
  anyUnsure_ = false;
}

void DecodedLine::BreakLine(std::size_t bytes) {
  const auto split = static_cast<std::ptrdiff_t>(std::min(bytes, line_.size()));
  std::string rest = line_.substr(static_cast<std::size_t>(split));
  UnsureBytes restUnsure(unsure_.begin() + split, unsure_.end());
  line_.resize(static_cast<std::size_t>(split));
  unsure_.resize(line_.size());
  anyUnsure_ = AnyUnsure(unsure_);
  EndLine(false);
  line_ = std::move(rest);
  unsure_ = std::move(restUnsure);
  anyUnsure_ = AnyUnsure(unsure_);
  sink_.ShowLiveLine(line_);
}

void DecodedLine::ClearLine() {
  line_.clear();
  unsure_.clear();
  anyUnsure_ = false;
  doubtPending_ = Doubt::kSure;
}

}  // namespace seaherald
