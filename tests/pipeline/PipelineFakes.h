#pragma once

#include <string>
#include <vector>

#include "audio/BlockHandler.h"
#include "decoder/LineSink.h"
#include "platform/LocalClock.h"

namespace seaherald::testing {

// Everything the handler asks for, as short words in order of asking.
class EventLog final : public BlockHandlerListener {
 public:
  void OnBlockDecoded() override { events.push_back("decoded"); }
  void ShowClock(const std::string& clockText) override {
    events.push_back("clock " + clockText);
    ++clockCount;
  }
  void DiscardMessage() override {
    events.push_back("discard");
    ++discardCount;
  }
  void AutoDeleteLogs() override {
    events.push_back("autodelete");
    ++autoDeleteCount;
  }
  void SetLamp(bool lime) override {
    events.push_back(lime ? "lime" : "black");
    lampLime = lime;
  }
  void OnBlockDone() override { events.push_back("done"); }
  void DiscardSecondMessage() override {
    events.push_back("discard 2");
    ++secondDiscardCount;
  }
  void SetSecondLamp(bool lime) override {
    events.push_back(lime ? "lime 2" : "black 2");
    secondLampLime = lime;
  }

  std::vector<std::string> events;
  int clockCount = 0;
  int discardCount = 0;
  int autoDeleteCount = 0;
  bool lampLime = false;
  int secondDiscardCount = 0;
  bool secondLampLime = false;
};

class ManualClock final : public LocalClock {
 public:
  LocalDateTime Now() const override { return now; }
  // Enough for the tests: seconds roll into minutes and hours, never past a day.
  void AddSeconds(int seconds) {
    int total = (now.hour * 60 + now.minute) * 60 + now.second + seconds;
    total = ((total % 86400) + 86400) % 86400;
    now.hour = total / 3600;
    now.minute = total / 60 % 60;
    now.second = total % 60;
  }

  LocalDateTime now{2026, 6, 1, 12, 0, 0};
};

class CollectedLines final : public LineSink {
 public:
  void AddReceivedLine(const std::string& line, bool cut) override {
    lines.push_back(line);
    cuts.push_back(cut);
  }
  void ShowLiveLine(const std::string&) override {}

  std::vector<std::string> lines;
  std::vector<bool> cuts;
};

}  // namespace seaherald::testing
