#pragma once

#include <array>
#include <string>
#include <vector>

#include "msglog/DialogService.h"
#include "msglog/LogBrowserView.h"
#include "msglog/MessageList.h"
#include "msglog/StatusView.h"
#include "platform/LocalClock.h"

namespace seaherald::fuzz {

// Stand-ins for the window: they keep what they were last given and answer from the input.

class FixedClock final : public LocalClock {
 public:
  LocalDateTime now{2024, 3, 31, 12, 34, 56};
  LocalDateTime Now() const override { return now; }
};

class RecordingStatusView final : public StatusView {
 public:
  std::array<std::string, 4> panels;
  void SetStatusText(int panel, const std::string& sjis) override {
    panels.at(static_cast<std::size_t>(panel)) = sjis;
  }
};

class ScriptedDialogs final : public DialogService {
 public:
  bool answer = true;
  int beeps = 0;
  int errors = 0;
  int confirmations = 0;
  void Beep() override { ++beeps; }
  void ShowError(const std::string&) override { ++errors; }
  void ShowInformation(const std::string&) override {}
  bool Confirm(const std::string&) override {
    ++confirmations;
    return answer;
  }
};

class RecordingBrowserView final : public LogBrowserView {
 public:
  std::vector<std::string> treeLabels;
  int selectedNode = -1;
  std::vector<ListRow> rows;
  int selectedRow = -1;
  std::string pane;
  std::string label;
  int activeTab = 0;

  void SetTreeLabels(const std::vector<std::string>& labels) override { treeLabels = labels; }
  void SetTreeShape(const std::vector<int>&) override { selectedNode = -1; }
  void SelectTreeNode(int index) override { selectedNode = index; }
  void SetListRows(const std::vector<ListRow>& newRows) override {
    rows = newRows;
    selectedRow = -1;
  }
  int SelectedRow() const override { return selectedRow; }
  void SelectRow(int row) override { selectedRow = row; }
  void SetPaneText(const std::string& sjis) override { pane = sjis; }
  void SetLabelText(const std::string& sjis) override { label = sjis; }
  void SetActiveTab(int tab) override { activeTab = tab; }
};

}  // namespace seaherald::fuzz
