#pragma once

#include <QGroupBox>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace seaherald {

class SettingsDialogHost;

// The settings dialog's part for the watch: the NAVAREA and frequency whose stations name the
// messages, the stations and types taken (A, B, D and L shown ticked and fixed), and the types
// that raise the alarm besides D. Every change goes into the [Watch] settings at once.
class WatchGroup final : public QGroupBox {
  Q_OBJECT

 public:
  WatchGroup(SettingsDialogHost& host, QWidget* parent);
  // Shows the settings record's values.
  void CopySettingsIn();

  QComboBox* AreaBox() const { return area_; }
  QComboBox* FrequencyBox() const { return frequency_; }
  QLineEdit* StationsEdit() const { return stations_; }
  QLineEdit* AlarmEdit() const { return alarm_; }
  // The type boxes in the order of kTypeLetters.
  const std::vector<QCheckBox*>& TypeBoxes() const { return types_; }

 private:
  void CopySettingsOut();

  SettingsDialogHost& host_;
  QComboBox* area_;
  QComboBox* frequency_;
  QLineEdit* stations_;
  QLineEdit* alarm_;
  std::vector<QCheckBox*> types_;
  bool copying_ = false;
};

}  // namespace seaherald
