#pragma once

#include <QDialog>
#include <string>

#include "app/Translation.h"
#include "audio/InputDeviceSelection.h"

class QComboBox;
class QGroupBox;
class QPushButton;

namespace seaherald {

class TForm9;

// The input device dialog. Creating it lists the capture devices, resolves the stored device name
// and opens the capture; afterwards it is shown modally from the settings dialog to change the
// device. While the capture is down and the dialog is not shown, the stored device is tried
// again every RetryMilliseconds, silently.
class TForm8 final : public QDialog {
  Q_OBJECT

 public:
  static constexpr int ClientWidth = 331;
  static constexpr int ClientHeight = 102;
  static constexpr int RetryMilliseconds = InputDeviceSelection::RetryMilliseconds;

  // `waveInName` (Shift-JIS) and `waveInId`, when given, are the settings record's; the dialog
  // keeps them up to date.
  TForm8(SoundBackend& devices, CaptureControl& capture, std::string& waveInName,
         DialogService& dialogs, TForm9& notice, QWidget* parent = nullptr,
         const Translation& text = JapaneseTranslation(), std::string* waveInId = nullptr);

  // Shows the dialog modally, centred over `owner`; returns when it is closed.
  int ShowModalOver(QWidget* owner);

  // 0: the default input; n: entry n of the list.
  int DeviceIndex() const { return deviceIndex_; }
  const InputDeviceSelection& Selection() const { return selection_; }

  QGroupBox* GroupBox1 = nullptr;
  QComboBox* ComboBox1 = nullptr;
  QPushButton* Button3 = nullptr;  // the desktop's sound settings
  QPushButton* Button1 = nullptr;  // OK
  QPushButton* Button2 = nullptr;  // cancel

 protected:
  void showEvent(QShowEvent* event) override;  // FormShow

 private:
  void BuildControls();
  void FillComboBox();
  void Button1Click();
  void Button2Click();
  void Button3Click();
  void RetryCapture();

  int deviceIndex_ = 0;
  InputDeviceSelection selection_;
  TForm9& notice_;
  const Translation& text_;
  std::string* waveInId_;
  QWidget* owner_ = nullptr;
};

}  // namespace seaherald
