#pragma once

#include <string>

namespace seaherald {

// The status bar as the message log sees it. Panel 0: the line being decoded; panel 1: the
// header of the message in progress; panel 2: the Japanese name of its station. (Panel 3, the
// clock, belongs to the block handler.) Texts are Shift-JIS bytes.
class StatusView {
 public:
  virtual ~StatusView() = default;
  virtual void SetStatusText(int panel, const std::string& sjis) = 0;
};

}  // namespace seaherald
