#pragma once

#include <QWidget>
#include <chrono>

#include "app/Translation.h"
#include "audio/InputDeviceSelection.h"

class QLabel;

namespace seaherald {

// The device-change notice: a small tool window that asks the user to wait while the capture
// device is closed and reopened.
class TForm9 final : public QWidget, public DeviceChangeNotice {
  Q_OBJECT

 public:
  static constexpr int ClientWidth = 230;
  static constexpr int ClientHeight = 41;
  static constexpr std::chrono::milliseconds DefaultSettlePause{1000};

  explicit TForm9(QWidget* parent = nullptr,
                  std::chrono::milliseconds settlePause = DefaultSettlePause,
                  const Translation& text = JapaneseTranslation());

  // The window the notice is centred over when it shows.
  void SetOwnerWindow(QWidget* owner) { owner_ = owner; }

  void ShowNotice() override;
  void Settle() override;
  void CloseNotice() override;

  QLabel* Label1 = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;  // FormShow

 private:
  QWidget* owner_ = nullptr;
  std::chrono::milliseconds settlePause_;
};

}  // namespace seaherald
