#include "app/SecondReceiverGroup.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QToolButton>
#include <algorithm>
#include <initializer_list>
#include <string>
#include <string_view>

#include "app/Settings.h"
#include "app/SettingsDialogHost.h"
#include "app/Translation.h"
#include "app/UpDownButtons.h"
#include "app/ViewFonts.h"

namespace seaherald {
namespace {

constexpr int CentreFrequencyStep = 10;  // Hz per CentF2 unit
constexpr int RightColumn = 250;
constexpr int ModeButtonsX = 320;
constexpr int ModeButtonWidth = 49;
constexpr int ModeButtonGap = 6;
constexpr int ButtonPadding = 14;
constexpr int FrequencyRow = 106;
constexpr int ComboPadding = 40;  // the drop-down arrow and the frame
// After the first item, "the same as the first receiver" (stored as no value).
constexpr std::string_view kFrequencies[] = {"518", "490", "424", "4209.5"};

QLabel* Caption(QWidget* parent, const char* name, const QString& text, int x, int y) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->adjustSize();
  label->move(x, y);
  return label;
}

QCheckBox* Tick(QWidget* parent, const char* name, const QString& text, QRect geometry) {
  auto* box = new QCheckBox(text, parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setGeometry(geometry);
  return box;
}

QToolButton* ModeButton(QWidget* parent, const char* name, const QString& text,
                        QButtonGroup* group) {
  auto* button = new QToolButton(parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setText(text);
  button->setCheckable(true);
  button->setFocusPolicy(Qt::NoFocus);
  group->addButton(button);
  return button;
}

}  // namespace

SecondReceiverGroup::SecondReceiverGroup(SettingsDialogHost& host, QWidget* parent)
    : QGroupBox(host.Text().Tr("第２受信機"), parent),
      host_(host),
      on_(Tick(this, "Receiver2Box", host.Text().Tr("右チャンネルを受信する"), {16, 22, 220, 21})),
      centreCaption_(Caption(this, "Centre2Caption", host.Text().Tr("中心周波数"), 16, 53)),
      centreValue_(new QLabel(this)),
      centre_(new UpDownButtons(20, 100, this)),
      hz_(Caption(this, "Centre2Hz", QStringLiteral("Hz"), 208, 50)),
      auto_(Tick(this, "AutoSet2Box", host.Text().Tr("伝送モード自動設定"), {16, 78, 200, 21})),
      sensitive_(
          Tick(this, "DecSens2Box", host.Text().Tr("高感度受信"), {RightColumn, 16, 230, 31})) {
  setObjectName(QStringLiteral("GroupBox6"));
  centreValue_->setObjectName(QStringLiteral("Centre2Value"));
  QFont font = PixelFont(QStringLiteral("Tahoma"), 13);
  font.setUnderline(true);
  centreValue_->setFont(font);
  centreValue_->setAlignment(Qt::AlignCenter);
  centreValue_->setGeometry(120, 50, 57, 18);
  centre_->setObjectName(QStringLiteral("Centre2Arrows"));
  centre_->setGeometry(175, 50, 20, 18);
  BuildModeButtons();
  BuildFrequencyBox();
  Connect();
}

// The button pairs share one width, wide enough for the longest caption (the English ones).
void SecondReceiverGroup::BuildModeButtons() {
  const Translation& text = host_.Text();
  language_ = Caption(this, "Language2Caption", text.Tr("言語"), RightColumn, 53);
  polarity_ = Caption(this, "Polarity2Caption", text.Tr("極性"), RightColumn, 81);
  auto* languages = new QButtonGroup(this);
  english_ = ModeButton(this, "English2Button", text.Tr("英文"), languages);
  japanese_ =
      ModeButton(this, "Japanese2Button", text.Tr("和文", "decoder language button"), languages);
  auto* polarities = new QButtonGroup(this);
  normal_ = ModeButton(this, "Normal2Button", text.Tr("正転"), polarities);
  inverted_ = ModeButton(this, "Inverted2Button", text.Tr("反転"), polarities);
  int width = ModeButtonWidth;
  for (const QToolButton* b : {english_, japanese_, normal_, inverted_})
    width = std::max(width, b->fontMetrics().horizontalAdvance(b->text()) + ButtonPadding);
  const int x = std::max(
      ModeButtonsX, RightColumn + std::max(language_->width(), polarity_->width()) + ModeButtonGap);
  english_->setGeometry(x, 50, width, 20);
  japanese_->setGeometry(x + width + ModeButtonGap, 50, width, 20);
  normal_->setGeometry(x, 78, width, 20);
  inverted_->setGeometry(x + width + ModeButtonGap, 78, width, 20);
  english_->setChecked(true);
  normal_->setChecked(true);
}

void SecondReceiverGroup::BuildFrequencyBox() {
  frequencyCaption_ =
      Caption(this, "Frequency2Caption", host_.Text().Tr("周波数"), 16, FrequencyRow + 3);
  frequency_ = new QComboBox(this);
  frequency_->setObjectName(QStringLiteral("Frequency2Box"));
  frequency_->addItem(host_.Text().Tr("第１受信機と同じ"));
  for (const std::string_view khz : kFrequencies)
    frequency_->addItem(QString::fromLatin1(khz.data(), static_cast<int>(khz.size())) +
                        QStringLiteral(" kHz"));
  int width = 0;
  for (int i = 0; i < frequency_->count(); ++i)
    width = std::max(width, frequency_->fontMetrics().horizontalAdvance(frequency_->itemText(i)));
  const int x = std::max(120, 16 + frequencyCaption_->width() + ModeButtonGap);
  frequency_->setGeometry(x, FrequencyRow, width + ComboPadding, 22);
}

void SecondReceiverGroup::Connect() {
  connect(on_, &QCheckBox::clicked, this, [this](bool on) {
    host_.SettingsRecord().Receiver2 = on;
    UpdateEnabledStates();
    host_.ApplySecondReceiver();
  });
  connect(centre_, &UpDownButtons::Clicked, this, [this](int position) {
    host_.SetSecondCenterFrequency(static_cast<double>(position * CentreFrequencyStep));
    host_.SettingsRecord().CentF2 = position;
    centreValue_->setNum(position * CentreFrequencyStep);
  });
  connect(auto_, &QCheckBox::clicked, this, [this](bool on) {
    host_.SettingsRecord().AutoSet2 = on;
    UpdateEnabledStates();
    if (!on) ShowDecodeModes();
  });
  connect(sensitive_, &QCheckBox::clicked, this,
          [this](bool on) { host_.SettingsRecord().DecSens2 = on; });
  connect(english_, &QToolButton::clicked, this,
          [this] { host_.SettingsRecord().DecLang2 = true; });
  connect(japanese_, &QToolButton::clicked, this,
          [this] { host_.SettingsRecord().DecLang2 = false; });
  connect(normal_, &QToolButton::clicked, this, [this] { host_.SettingsRecord().DecInv2 = false; });
  connect(inverted_, &QToolButton::clicked, this,
          [this] { host_.SettingsRecord().DecInv2 = true; });
  connect(frequency_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (copying_ || index < 0) return;
    host_.SettingsRecord().NavFreq2 =
        index == 0 ? std::string() : std::string(kFrequencies[index - 1]);
    host_.ApplyWatch();
  });
}

// A stored centre outside the arrows' range shows as stored; the arrows start from the nearest
// end of their range, as the first receiver's do.
void SecondReceiverGroup::CopySettingsIn() {
  const Settings& settings = host_.SettingsRecord();
  on_->setChecked(settings.Receiver2);
  centre_->SetPosition(settings.CentF2);
  centreValue_->setNum(settings.CentF2 * CentreFrequencyStep);
  auto_->setChecked(settings.AutoSet2);
  sensitive_->setChecked(settings.DecSens2);
  // A value the list does not hold shows as no item.
  copying_ = true;
  frequency_->setCurrentIndex(settings.NavFreq2.empty() ? 0 : -1);
  for (int i = 0; i < static_cast<int>(std::size(kFrequencies)); ++i) {
    if (settings.NavFreq2 == kFrequencies[i]) frequency_->setCurrentIndex(i + 1);
  }
  copying_ = false;
  if (!settings.AutoSet2) ShowDecodeModes();
  UpdateEnabledStates();
}

void SecondReceiverGroup::ShowDecodeModes() {
  const Settings& settings = host_.SettingsRecord();
  (settings.DecLang2 ? english_ : japanese_)->setChecked(true);
  (settings.DecInv2 ? inverted_ : normal_)->setChecked(true);
}

void SecondReceiverGroup::UpdateEnabledStates() {
  const Settings& settings = host_.SettingsRecord();
  for (QWidget* control :
       std::initializer_list<QWidget*>{centreCaption_, centreValue_, centre_, hz_, auto_,
                                       sensitive_, frequencyCaption_, frequency_}) {
    control->setEnabled(settings.Receiver2);
  }
  for (QWidget* control : std::initializer_list<QWidget*>{english_, japanese_, normal_, inverted_,
                                                          language_, polarity_}) {
    control->setEnabled(settings.Receiver2 && !settings.AutoSet2);
  }
}

}  // namespace seaherald
