#pragma once

#include <QGroupBox>

class QCheckBox;
class QComboBox;
class QLabel;
class QToolButton;

namespace seaherald {

class SettingsDialogHost;
class UpDownButtons;

// The settings dialog's part for the second receiver, which decodes the right input channel: its
// switch (off by default) and, as the first receiver has them, its centre, receive path,
// automatic mode, language and polarity, and the frequency whose stations name its messages (the
// first receiver's unless chosen). Every control acts on the running receiver at once.
class SecondReceiverGroup final : public QGroupBox {
  Q_OBJECT

 public:
  SecondReceiverGroup(SettingsDialogHost& host, QWidget* parent);
  // Shows the settings record's values.
  void CopySettingsIn();

  QCheckBox* OnBox() const { return on_; }
  QCheckBox* AutoBox() const { return auto_; }
  QCheckBox* SensitiveBox() const { return sensitive_; }
  UpDownButtons* CentreArrows() const { return centre_; }
  QLabel* CentreLabel() const { return centreValue_; }
  QToolButton* EnglishButton() const { return english_; }
  QToolButton* JapaneseButton() const { return japanese_; }
  QToolButton* NormalButton() const { return normal_; }
  QToolButton* InvertedButton() const { return inverted_; }
  // First "the same as the first receiver", then the frequencies.
  QComboBox* FrequencyBox() const { return frequency_; }

 private:
  void BuildModeButtons();
  void BuildFrequencyBox();
  void Connect();
  void ShowDecodeModes();
  void UpdateEnabledStates();

  SettingsDialogHost& host_;
  QCheckBox* on_;
  QLabel* centreCaption_;
  QLabel* centreValue_;
  UpDownButtons* centre_;
  QLabel* hz_;
  QCheckBox* auto_;
  QCheckBox* sensitive_;
  QLabel* language_ = nullptr;
  QLabel* polarity_ = nullptr;
  QToolButton* english_ = nullptr;
  QToolButton* japanese_ = nullptr;
  QToolButton* normal_ = nullptr;
  QToolButton* inverted_ = nullptr;
  QLabel* frequencyCaption_ = nullptr;
  QComboBox* frequency_ = nullptr;
  bool copying_ = false;
};

}  // namespace seaherald
