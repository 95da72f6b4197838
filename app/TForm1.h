#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include "app/AppPaths.h"
#include "app/Choosers.h"
#include "app/MainControls.h"
#include "app/QtDialogService.h"
#include "app/Settings.h"
#include "app/SettingsDialogHost.h"
#include "app/Translation.h"
#include "audio/BlockHandler.h"
#include "audio/RgbBitmap.h"
#include "audio/SampleConversion.h"
#include "audio/Spectrum.h"
#include "msglog/LogFolder.h"
#include "msglog/StatusView.h"
#include "msglog/Watch.h"
#include "platform/LocalClock.h"

namespace seaherald {

class AlarmBanner;
class AlarmOutputs;
class DeferredErrors;
class LogBrowser;
class LogBrowserWidgets;
class MessageLog;
class NetworkOutputs;
class ReceiverChannelStamp;
class StatusPanelsView;
class TForm3;

// Services the window uses; tests put in their own, the program leaves them empty for the
// toolkit's dialogs and the system clock.
struct FormServices {
  DialogService* dialogs = nullptr;
  Choosers* choosers = nullptr;
  const LocalClock* clock = nullptr;
};

// The main window: owns the settings, the decoder, the message log and its browser, and the
// spectrum, and lays out the tool bar, tree, list, text tabs and status bar. Construction runs
// the start-up sequence and applies the stored geometry; closing saves the settings.
class TForm1 final : public QWidget,
                     public SettingsDialogHost,
                     public StatusView,
                     private BlockHandlerListener {
  Q_OBJECT

 public:
  static constexpr int MinimumOuterWidth = 700;
  static constexpr int MinimumOuterHeight = 500;

  explicit TForm1(AppPaths paths, FormServices services = {});
  ~TForm1() override;

  // Links the settings dialog that "設　　定" shows (created after the main window).
  void SetSettingsDialog(TForm3* dialog) { settingsDialog_ = dialog; }
  // The sound side's input device dialog, opened from the settings dialog.
  void SetInputDeviceDialogOpener(std::function<void()> opener);
  // Run first when the window is destroyed: closes the capture, then the output.
  void SetSoundShutdown(std::function<void()> shutdown);

  // One captured block: 4410 frames of interleaved stereo 16-bit samples, left first. The sound
  // side calls it for every block, after its monitor copy.
  void ProcessWaveBlock(StereoBlock block);
  // Whether "モニター" is down: the input is then played through the output.
  bool MonitorOn() const;

  void SpeedButton5Click();

  // SettingsDialogHost.
  Settings& SettingsRecord() override { return settings_; }
  void SetCenterFrequency(double hz) override { centerFrequency_ = hz; }
  void SetSecondCenterFrequency(double hz) override { centerFrequency2_ = hz; }
  // Shows or hides the second receiver's status line and live tab as Receiver2 says, and names
  // its stations from its own frequency.
  void ApplySecondReceiver() override;
  void RestartAutoDeleteTicker() override;
  void ApplyViewFont() override;
  void ApplyViewColors() override;
  void OpenInputDeviceDialog() override;
  // Reads the station list again for the [Watch] settings and renames the tree's stations.
  void ApplyWatch() override;

  // StatusView: panels 0-2.
  void SetStatusText(int panel, const std::string& sjis) override;

  const MainControls& Controls() const { return controls_; }
  const AppPaths& Paths() const { return paths_; }
  double CenterFrequency() const { return centerFrequency_; }
  double SecondCenterFrequency() const { return centerFrequency2_; }
  LogBrowser& Browser() { return *browser_; }
  MessageLog& Log() { return *log_; }
  // The second receiver's message log (the right input channel); it decodes only while
  // Receiver2 is on.
  MessageLog& SecondLog() { return *log2_; }
  LogBrowserWidgets& BrowserWidgets() { return *browserWidgets_; }
  DialogService& Dialogs() { return *dialogs_; }
  const Translation& Text() const override { return text_; }
  Choosers& ChooserService() { return *choosers_; }
  const RgbBitmap& SpectrumBitmap() const { return spectrumBitmap_; }
  BlockHandler& Blocks() { return *blockHandler_; }
  const Watch& CurrentWatch() const { return watch_; }
  // The second receiver's: the first one's, or its own frequency's stations.
  const Watch& SecondWatch() const { return watch2_; }
  AlarmBanner& Banner() { return *alarmBanner_; }
  const AlarmOutputs& Alarm() const { return *alarm_; }

 signals:
  void MonitorToggled(bool on);

 protected:
  void closeEvent(QCloseEvent* event) override;    // FormClose
  void resizeEvent(QResizeEvent* event) override;  // FormResize
  void changeEvent(QEvent* event) override;        // FormActivate
  void showEvent(QShowEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  void ApplyStoredSizes();
  void StartNetworkOutputs();
  void StartSecondReceiver();
  void ShowSecondReceiver();
  bool SecondInView() const;
  Watch WatchOrCatalogue(const Settings& settings);
  void LoadWatch();
  void LoadSecondWatch();
  void LayOutStatusPanels();
  void FormCreate();
  void FormActivate();
  void FormClose();
  void RecordLayout();
  void KeepMinimumOuterSize();
  QSize FrameExtra() const;
  void ApplyStoredOuterSize();

  // BlockHandlerListener: the window's part of each block.
  void OnBlockDecoded() override;
  void ShowClock(const std::string& clockText) override;
  void DiscardMessage() override;
  void AutoDeleteLogs() override;
  void SetLamp(bool lime) override;
  void OnBlockDone() override;
  void DiscardSecondMessage() override;
  void SetSecondLamp(bool lime) override;

  AppPaths paths_;
  // Read first: the language of every control comes from it.
  Settings settings_;
  Translation text_;
  QtDialogService qtDialogs_;
  QtChoosers qtChoosers_;
  SystemClock systemClock_;
  DialogService* dialogs_;
  Choosers* choosers_;
  const LocalClock* clock_;

  double centerFrequency_ = 0;
  double centerFrequency2_ = 0;
  LogFolder logFolder_;
  Spectrum spectrum_;
  Spectrum spectrum2_;
  RgbBitmap spectrumBitmap_;

  MainControls controls_;
  std::unique_ptr<LogBrowserWidgets> browserWidgets_;
  std::unique_ptr<LogBrowser> browser_;
  // Write failures of the message log, shown once the block handler has returned.
  std::unique_ptr<DeferredErrors> logErrors_;
  // NRX over UDP and MQTT for every filed message, when the settings file asks for them; the
  // message log points at it, so it outlives the log.
  std::unique_ptr<NetworkOutputs> network_;
  // The chosen area's station names and the messages taken; the log and browser point at it.
  Watch watch_;
  Watch watch2_;  // the second receiver's log points at it
  AlarmBanner* alarmBanner_ = nullptr;
  std::unique_ptr<AlarmOutputs> alarm_;
  // Each receiver's messages reach the alarm marked with their channel while both run.
  std::unique_ptr<ReceiverChannelStamp> channel1_;
  std::unique_ptr<ReceiverChannelStamp> channel2_;
  std::unique_ptr<MessageLog> log_;
  std::unique_ptr<StatusPanelsView> status2_;
  std::unique_ptr<MessageLog> log2_;
  std::unique_ptr<BlockHandler> blockHandler_;

  TForm3* settingsDialog_ = nullptr;
  std::function<void()> inputDeviceDialogOpener_;
  std::function<void()> soundShutdown_;
  // The stored outer size, applied again once the window's frame is known.
  QSize storedOuterSize_;
  bool frameApplied_ = false;
  // A window closed before it was ever shown (a failed start) has no layout of its own to keep.
  bool everShown_ = false;
};

}  // namespace seaherald
