#include "app/TForm1.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QHeaderView>
#include <QLayout>
#include <QMoveEvent>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTableWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <chrono>
#include <stdexcept>

#include "app/AlarmOutputs.h"
#include "app/ColourPanel.h"
#include "app/LogBrowserWidgets.h"
#include "app/QtText.h"
#include "app/ReceiverChannelStamp.h"
#include "app/SettingsFile.h"
#include "app/SpectrumView.h"
#include "app/StartupText.h"
#include "app/StatusPanels.h"
#include "app/TForm3.h"
#include "app/TextTabs.h"
#include "app/ViewFonts.h"
#include "audio/Spectrum.h"
#include "msglog/DeferredErrors.h"
#include "msglog/LogBrowser.h"
#include "msglog/MessageLog.h"
#include "msglog/StationList.h"
#include "platform/CodePage.h"
#include "relay/NetworkOutputs.h"
#include "relay/NetworkSettingsFile.h"

namespace seaherald {

namespace {

constexpr int LayoutClientWidth = 876;
constexpr int LayoutClientHeight = 663;
constexpr int StatusPanel0Margin = 339;  // client width left to panels 1-3 and the grip
constexpr int ClockPanel = 3;
constexpr int StationPanel = 2;
constexpr int StationPanelWidth = 100;  // the Japanese stations' names fit it
constexpr int StationPanelPadding = 8;
constexpr int SecondLampPanel = 3;  // in the second receiver's line, where the first has its clock

// The views' font and colours go on these three, in this order.
std::array<QWidget*, 3> Views(const MainControls& controls) {
  return {controls.TabControl1->Memo1(), controls.TreeView1, controls.ListView1};
}

}  // namespace

TForm1::TForm1(AppPaths paths, FormServices services)
    : paths_(std::move(paths)),
      settings_(LoadSettings(paths_.settingsFile)),
      text_(Translation::Choose(settings_.Language)),
      qtDialogs_(this, text_),
      qtChoosers_(this),
      dialogs_(services.dialogs != nullptr ? services.dialogs : &qtDialogs_),
      choosers_(services.choosers != nullptr ? services.choosers : &qtChoosers_),
      clock_(services.clock != nullptr ? services.clock : &systemClock_),
      logFolder_(paths_.logFolder),
      spectrumBitmap_(SpectrumBitmapWidth, SpectrumBitmapHeight) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("SEAHERALD"));
  setFont(ControlFont());
  controls_ = BuildMainControls(this, text_);
  alarmBanner_ = new AlarmBanner(text_, this);
  // Under the tool bar, above the panes, where it cannot be missed.
  static_cast<QBoxLayout*>(layout())->insertWidget(1, alarmBanner_);
  resize(LayoutClientWidth, LayoutClientHeight);
  browserWidgets_ = std::make_unique<LogBrowserWidgets>(controls_, text_);

  ApplyStoredSizes();
  RaiseStartupMinimums(settings_);
  browserWidgets_->SetActiveTab(kTabReceived);
  ApplyViewFont();
  ApplyViewColors();

  browser_ = std::make_unique<LogBrowser>(settings_, *clock_, logFolder_, *browserWidgets_,
                                          *dialogs_, text_);
  browserWidgets_->Connect(*browser_);
  logErrors_ = std::make_unique<DeferredErrors>(*dialogs_, [this] {
    QMetaObject::invokeMethod(
        this, [this] { logErrors_->ShowPending(); }, Qt::QueuedConnection);
  });
  LoadWatch();
  LayOutStatusPanels();
  controls_.TabControl1->Memo1()->setPlainText(StartupText(text_, watch_.area, watch2_.area));
  log_ = std::make_unique<MessageLog>(settings_, *clock_, logFolder_, *this, *logErrors_,
                                      browser_.get(), text_);
  log_->SetWatch(&watch_);
  browser_->SetArea(&watch_.area);
  StartNetworkOutputs();
  alarm_ = std::make_unique<AlarmOutputs>(text_, *alarmBanner_, network_.get());
  channel1_ = std::make_unique<ReceiverChannelStamp>(settings_, "left", *alarm_);
  log_->SetCompletionListener(channel1_.get());
  browser_->Start();
  centerFrequency_ = settings_.CentF * 10.0;
  blockHandler_ = std::make_unique<BlockHandler>(
      DecoderSettings{settings_.DecLang, settings_.DecInv, settings_.AutoSet, centerFrequency_,
                      settings_.DecSens},
      *log_, settings_, *clock_, static_cast<BlockHandlerListener&>(*this));
  StartSecondReceiver();
  if (settings_.AutoLogDelete) browser_->AutoDeleteLogs();

  connect(controls_.SpeedButton5, &QToolButton::clicked, this, &TForm1::SpeedButton5Click);
  connect(controls_.SpeedButton1, &QToolButton::toggled, this, &TForm1::MonitorToggled);
  FormCreate();
}

// FormDestroy: the sound goes first, while everything it may touch still exists.
TForm1::~TForm1() {
  if (soundShutdown_) soundShutdown_();
  // A broker that is there acknowledges at once; one that is not does not hold the exit long.
  if (network_) network_->Flush(std::chrono::seconds(2));
}

// The right input channel's receiver files into the same folder under the same rules; its line
// and live tab show only while it is on.
void TForm1::StartSecondReceiver() {
  centerFrequency2_ = settings_.CentF2 * 10.0;
  status2_ = std::make_unique<StatusPanelsView>(*controls_.StatusBar2);
  log2_ = std::make_unique<MessageLog>(settings_, *clock_, logFolder_, *status2_, *logErrors_,
                                       &browser_->SecondReceiver(), text_);
  log2_->ReadLanguageFrom(settings_.DecLang2);
  log2_->SetWatch(&watch2_);
  channel2_ =
      std::make_unique<ReceiverChannelStamp>(settings_, "right", *alarm_, &settings_.NavFreq2);
  log2_->SetCompletionListener(channel2_.get());
  blockHandler_->AddSecondReceiver(
      DecoderSettings{settings_.DecLang2, settings_.DecInv2, settings_.AutoSet2, centerFrequency2_,
                      settings_.DecSens2},
      *log2_);
  controls_.StatusBar2->SetPanelText(SecondLampPanel, text_.Tr("受信電文２"));
  SetSecondLamp(false);
  ShowSecondReceiver();
}

// Switched in the settings dialog: its stations are named anew, as its frequency may differ.
void TForm1::ApplySecondReceiver() {
  LoadSecondWatch();
  LayOutStatusPanels();
  ShowSecondReceiver();
}

void TForm1::ShowSecondReceiver() {
  const bool on = settings_.Receiver2;
  controls_.StatusBar2->setVisible(on);
  controls_.TabControl1->ShowSecondReceiverTab(on);
  if (!on && browser_->ShownTab() == kTabReceived2) {
    browserWidgets_->SetActiveTab(kTabReceived);
    browser_->TabChanged(kTabReceived);
  }
}

// A value that cannot be used is told once at start-up; that output stays off, the rest runs.
// Later trouble on the network (a broker away, a plotter off) is silent, as the receiver goes on.
void TForm1::StartNetworkOutputs() {
  const NetworkSettingsLoad load = LoadNetworkSettings(paths_.settingsFile);
  for (const NetworkSettingProblem& problem : load.problems) {
    logErrors_->Beep();
    logErrors_->ShowError(
        Compose(text_.Translate(Cp932Text("設定ファイルの [Net] %1 の値 %2 は使えません")),
                {problem.key, problem.value}));
  }
  NetworkOutputSettings settings = load.settings;
  if (!load.AnyOutput()) return;
  try {
    network_ = std::make_unique<NetworkOutputs>(settings, nullptr);
  } catch (const std::runtime_error&) {  // only the UDP address can fail here
    logErrors_->Beep();
    logErrors_->ShowError(Compose(text_.Translate(Cp932Text("NRX の送り先が見つかりません: %1")),
                                  {FormatHostPort(*settings.nrxUdp)}));
    settings.nrxUdp.reset();
    if (settings.mqtt) network_ = std::make_unique<NetworkOutputs>(settings, nullptr);
  }
  log_->SetCompletionListener(network_.get());
}

// A station list that cannot be read, or an area it has no station of, is told once. The area
// stays chosen without stations, so that every English letter is another station: the
// catalogue would name the Japanese stations in any sea.
Watch TForm1::WatchOrCatalogue(const Settings& settings) {
  std::filesystem::path file;
  if (settings.NavArea > 0) {
    const std::filesystem::path executable = QCoreApplication::applicationFilePath().toStdString();
    file = FindStationListFile(paths_.settingsFile.parent_path(),
                               InstalledStationListFiles(executable));
  }
  auto loaded = WatchForSettings(settings, file);
  if (auto* problem = std::get_if<std::string>(&loaded)) {
    logErrors_->Beep();
    logErrors_->ShowError(*problem);
    Settings withoutArea = settings;
    withoutArea.NavArea = 0;
    Watch watch = std::get<Watch>(WatchForSettings(withoutArea, {}));
    watch.area = AreaStations({}, {settings.NavArea, settings.NavFreq});
    return watch;
  }
  return std::get<Watch>(std::move(loaded));
}

void TForm1::LoadWatch() {
  watch_ = WatchOrCatalogue(settings_);
  LoadSecondWatch();
}

// The same letter is another station on another frequency, so a second receiver tuned elsewhere
// names its stations from that frequency's list. A list the first could not use is told once.
void TForm1::LoadSecondWatch() {
  const std::string& frequency = settings_.SecondNavFreq();
  const bool failed = watch_.area.Chosen() && watch_.area.Stations().empty();
  if (!settings_.Receiver2 || frequency == settings_.NavFreq || failed) {
    watch2_ = watch_;
    return;
  }
  Settings tuned = settings_;
  tuned.NavFreq = frequency;
  watch2_ = WatchOrCatalogue(tuned);
}

void TForm1::ApplyWatch() {
  LoadWatch();
  browser_->RebuildLogTree();
  LayOutStatusPanels();
}

// The station panel widens for the longest name of a chosen area, at the live line's expense.
void TForm1::LayOutStatusPanels() {
  StatusPanels* status = controls_.StatusBar1;
  int stationWidth = StationPanelWidth;
  for (const Watch* watch : {&watch_, &watch2_}) {
    for (const NavtexStation& station : watch->area.Stations()) {
      stationWidth =
          std::max(stationWidth,
                   status->fontMetrics().horizontalAdvance(QString::fromStdString(station.name)) +
                       StationPanelPadding);
    }
  }
  for (StatusPanels* bar : {status, controls_.StatusBar2}) {
    bar->SetPanelWidth(StationPanel, stationWidth);
    bar->SetPanelWidth(0, width() - StatusPanel0Margin - (stationWidth - StationPanelWidth));
  }
}

void TForm1::ApplyStoredSizes() {
  const int widths[] = {settings_.ColumnsWidth0, settings_.ColumnsWidth1, settings_.ColumnsWidth2,
                        settings_.ColumnsWidth3};
  for (int column = 0; column < 4; ++column) {
    controls_.ListView1->setColumnWidth(column, std::max(widths[column], 0));
  }
  // The splitters share out their current size, so they get it before the stored sizes go in.
  layout()->activate();
  const int panelWidth = std::max(settings_.PanelWidth, 0);
  const int listHeight = std::max(settings_.PanelHeight, 0);
  controls_.Splitter1->setSizes(
      {panelWidth, std::max(controls_.Splitter1->width() - panelWidth, 0)});
  controls_.Splitter2->setSizes(
      {listHeight, std::max(controls_.Splitter2->height() - listHeight, 0)});
}

void TForm1::FormCreate() {
  storedOuterSize_ = QSize(settings_.MainWidth, settings_.MainHeight);
  move(settings_.MainLeft, settings_.MainTop);
  resize(storedOuterSize_);
  setWindowState(settings_.MainMaxmum ? Qt::WindowMaximized : Qt::WindowNoState);
}

QSize TForm1::FrameExtra() const {
  return frameGeometry().size() - size();
}

void TForm1::KeepMinimumOuterSize() {
  const QSize extra = FrameExtra();
  setMinimumSize(MinimumOuterWidth - extra.width(), MinimumOuterHeight - extra.height());
}

void TForm1::FormActivate() {
  if (windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)) return;
  const QRect outer = frameGeometry();
  settings_.MainWidth = outer.width();
  settings_.MainHeight = outer.height();
  settings_.MainTop = outer.top();
  settings_.MainLeft = outer.left();
}

void TForm1::FormClose() {
  if (settings_.AutoLogDelete) browser_->AutoDeleteLogs();
  if (everShown_) RecordLayout();
  const ProfileWriteResult written = SaveSettings(paths_.settingsFile, settings_);
  if (!written.ok()) {
    dialogs_->Beep();
    // The message's pattern, "%1 に書き込めません", is what the translation looks up.
    dialogs_->ShowError(Compose(text_.Translate(CannotWriteMessage("%1")),
                                {logFolder_.DisplayPath(paths_.settingsFile)}));
  }
}

void TForm1::RecordLayout() {
  const QRect outer = frameGeometry();
  RecordWindowGeometry(settings_, isMaximized(),
                       WindowGeometry{outer.top(), outer.left(), outer.width(), outer.height()});
  QHeaderView* header = controls_.ListView1->horizontalHeader();
  settings_.ColumnsWidth0 = header->sectionSize(0);
  settings_.ColumnsWidth1 = header->sectionSize(1);
  settings_.ColumnsWidth2 = header->sectionSize(2);
  settings_.ColumnsWidth3 = header->sectionSize(3);
  settings_.PanelWidth = controls_.Panel4->width();
  settings_.PanelHeight = controls_.ListView1->height();
}

void TForm1::closeEvent(QCloseEvent* event) {
  FormClose();
  event->accept();
}

void TForm1::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  LayOutStatusPanels();
  PlaceToolBarIndicators(controls_, width());
  KeepMinimumOuterSize();
  ApplyStoredOuterSize();
}

void TForm1::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

void TForm1::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  everShown_ = true;
  KeepMinimumOuterSize();
  ApplyStoredOuterSize();
}

// A reparenting window manager frames the window only after it is shown, and the frame's arrival
// moves or resizes it; so the outer size is fitted at the first of these that knows the frame.
void TForm1::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  ApplyStoredOuterSize();
}

// The stored sizes are outer sizes, so the frame is taken off once it is known.
void TForm1::ApplyStoredOuterSize() {
  if (frameApplied_ || !isVisible()) return;
  const QSize extra = FrameExtra();
  if (extra == QSize(0, 0)) return;
  frameApplied_ = true;
  if (!isMaximized()) resize(storedOuterSize_ - extra);
}

void TForm1::SpeedButton5Click() {
  if (settingsDialog_ != nullptr) settingsDialog_->ShowOrRaise();
}

void TForm1::SetInputDeviceDialogOpener(std::function<void()> opener) {
  inputDeviceDialogOpener_ = std::move(opener);
}

void TForm1::SetSoundShutdown(std::function<void()> shutdown) {
  soundShutdown_ = std::move(shutdown);
}

void TForm1::OpenInputDeviceDialog() {
  if (inputDeviceDialogOpener_) inputDeviceDialogOpener_();
}

bool TForm1::MonitorOn() const {
  return controls_.SpeedButton1->isChecked();
}

void TForm1::ApplyViewFont() {
  const QString face = ToQString(settings_.FontName);
  for (QWidget* view : Views(controls_)) {
    QFont font = view->font();
    font.setPointSize(std::max(settings_.FontSize, 1));
    font.setFamily(face);
    view->setFont(font);
  }
  QPlainTextEdit* memo = controls_.TabControl1->Memo1();
  memo->setTabStopDistance(8.0 * memo->fontMetrics().horizontalAdvance(QLatin1Char(' ')));
  controls_.ListView1->verticalHeader()->setDefaultSectionSize(
      controls_.ListView1->fontMetrics().height() + 4);
}

void TForm1::ApplyViewColors() {
  for (QWidget* view : Views(controls_)) {
    QPalette palette = view->palette();
    palette.setColor(QPalette::Text, QColorFromBgr(settings_.FontColor));
    palette.setColor(QPalette::Base, QColorFromBgr(settings_.BackColor));
    view->setPalette(palette);
  }
}

void TForm1::SetStatusText(int panel, const std::string& sjis) {
  controls_.StatusBar1->SetPanelText(panel, ToQString(sjis));
}

void TForm1::RestartAutoDeleteTicker() {
  blockHandler_->ResetAutoDeleteTicker();
}

void TForm1::ProcessWaveBlock(StereoBlock block) {
  blockHandler_->ProcessBlock(block);
}

// Both receivers keep their spectrum history, so that a change of tab shows a full picture.
void TForm1::OnBlockDecoded() {
  spectrum_.UpdateSpectrum(blockHandler_->GetDecoder().DisplaySamples());
  if (blockHandler_->SecondReceiverOn())
    spectrum2_.UpdateSpectrum(blockHandler_->Second()->GetDecoder().DisplaySamples());
}

void TForm1::ShowClock(const std::string& clockText) {
  controls_.StatusBar1->SetPanelText(ClockPanel, ToQString(clockText));
}

void TForm1::DiscardMessage() {
  log_->DiscardMessage();
}

void TForm1::AutoDeleteLogs() {
  browser_->AutoDeleteLogs();
}

void TForm1::SetLamp(bool lime) {
  QPalette palette = controls_.Panel1->palette();
  palette.setColor(QPalette::Window, lime ? QColor(0, 255, 0) : QColor(Qt::black));
  controls_.Panel1->setPalette(palette);
}

// The spectrum shows the receiver whose live tab is in view; the stored tab keeps the first's.
bool TForm1::SecondInView() const {
  return browser_->ShownTab() == kTabReceived2 && blockHandler_->SecondReceiverOn();
}

void TForm1::OnBlockDone() {
  if (SecondInView()) {
    spectrum2_.DrawSpectrum(blockHandler_->Second()->GetDecoder().TuningOffset(), spectrumBitmap_);
  } else {
    spectrum_.DrawSpectrum(blockHandler_->GetDecoder().TuningOffset(), spectrumBitmap_);
  }
  controls_.Image1->ShowBitmap(spectrumBitmap_);
}

void TForm1::DiscardSecondMessage() {
  log2_->DiscardMessage();
}

void TForm1::SetSecondLamp(bool lime) {
  controls_.StatusBar2->SetPanelColours(SecondLampPanel,
                                        lime ? QColor(0, 255, 0) : QColor(Qt::black),
                                        lime ? QColor(Qt::black) : QColor(Qt::white));
}

}  // namespace seaherald
