#include "app/WatchGroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <string_view>

#include "app/Settings.h"
#include "app/SettingsDialogHost.h"
#include "app/Translation.h"
#include "msglog/MessageSelection.h"
#include "msglog/StationList.h"

namespace seaherald {
namespace {

// The message types a receiver can choose among: the catalogue's letters.
constexpr std::string_view kTypeLetters = "ABCDEFGHJKLXY";
constexpr std::string_view kFrequencies[] = {"518", "490", "424", "4209.5"};

QLabel* Label(QWidget* parent, const QString& text, int x, int y) {
  auto* label = new QLabel(text, parent);
  label->adjustSize();
  label->move(x, y);
  return label;
}

QLineEdit* LettersEdit(QWidget* parent, QRect geometry) {
  auto* edit = new QLineEdit(parent);
  edit->setGeometry(geometry);
  edit->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[A-Za-z ,]*")), edit));
  return edit;
}

std::string Letters(const QLineEdit* edit) {
  return ParseLetterSet(edit->text().toStdString()).value_or("");
}

}  // namespace

WatchGroup::WatchGroup(SettingsDialogHost& host, QWidget* parent)
    : QGroupBox(host.Text().Tr("受信局と種類"), parent),
      host_(host),
      area_(new QComboBox(this)),
      frequency_(new QComboBox(this)),
      stations_(LettersEdit(this, {300, 48, 172, 22})),
      alarm_(LettersEdit(this, {300, 128, 172, 22})) {
  setObjectName(QStringLiteral("GroupBox5"));
  const Translation& text = host_.Text();
  Label(this, QStringLiteral("NAVAREA"), 16, 24);
  area_->setGeometry(88, 20, 130, 22);
  area_->addItem(text.Tr("日本の５局"));
  for (int navArea = 1; navArea <= kNavAreaCount; ++navArea)
    area_->addItem(QString::fromStdString(NavAreaNumeral(navArea)));
  Label(this, text.Tr("周波数"), 232, 24);
  frequency_->setGeometry(300, 20, 90, 22);
  for (const std::string_view khz : kFrequencies)
    frequency_->addItem(QString::fromLatin1(khz.data(), static_cast<int>(khz.size())) +
                        QStringLiteral(" kHz"));
  Label(this, text.Tr("受信する局 (B1, 空欄は全局)"), 16, 52);
  stations_->setPlaceholderText(QStringLiteral("A-X"));
  Label(this, text.Tr("受信する種類 (B2)"), 16, 80);
  int x = 16;
  for (const char letter : kTypeLetters) {
    auto* box = new QCheckBox(QString(QChar::fromLatin1(letter)), this);
    box->setGeometry(x, 100, 32, 20);
    x += 34;
    const bool fixed = kMandatoryTypes.find(letter) != std::string_view::npos;
    if (fixed) box->setToolTip(text.Tr("常に受信"));
    types_.push_back(box);
    connect(box, &QCheckBox::toggled, this, &WatchGroup::CopySettingsOut);
  }
  Label(this, text.Tr("警報を出す種類 (Ｄは常に)"), 16, 132);
  connect(area_, &QComboBox::currentIndexChanged, this, &WatchGroup::CopySettingsOut);
  connect(frequency_, &QComboBox::currentIndexChanged, this, &WatchGroup::CopySettingsOut);
  connect(stations_, &QLineEdit::editingFinished, this, &WatchGroup::CopySettingsOut);
  connect(alarm_, &QLineEdit::editingFinished, this, &WatchGroup::CopySettingsOut);
}

void WatchGroup::CopySettingsIn() {
  copying_ = true;
  const Settings& settings = host_.SettingsRecord();
  area_->setCurrentIndex(
      settings.NavArea >= 0 && settings.NavArea <= kNavAreaCount ? settings.NavArea : 0);
  frequency_->setCurrentIndex(0);
  for (int i = 0; i < static_cast<int>(std::size(kFrequencies)); ++i) {
    if (settings.NavFreq == kFrequencies[i]) frequency_->setCurrentIndex(i);
  }
  stations_->setText(QString::fromStdString(settings.Stations));
  const std::string types = ParseLetterSet(settings.Types).value_or("");
  for (std::size_t i = 0; i < kTypeLetters.size(); ++i) {
    const char letter = kTypeLetters[i];
    const bool fixed = kMandatoryTypes.find(letter) != std::string_view::npos;
    types_[i]->setChecked(fixed || types.empty() || types.find(letter) != std::string::npos);
    types_[i]->setEnabled(!fixed);
  }
  alarm_->setText(QString::fromStdString(settings.AlarmTypes));
  copying_ = false;
}

void WatchGroup::CopySettingsOut() {
  if (copying_) return;
  Settings& settings = host_.SettingsRecord();
  settings.NavArea = area_->currentIndex();
  settings.NavFreq = std::string(kFrequencies[frequency_->currentIndex()]);
  settings.Stations = Letters(stations_);
  std::string types;
  for (std::size_t i = 0; i < kTypeLetters.size(); ++i) {
    if (types_[i]->isChecked()) types += kTypeLetters[i];
  }
  // Every type ticked is the same as no choice: everything is taken, also letters not listed.
  settings.Types = types == kTypeLetters ? std::string() : types;
  settings.AlarmTypes = Letters(alarm_);
  host_.ApplyWatch();
}

}  // namespace seaherald
