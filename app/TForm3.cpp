#include "app/TForm3.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QToolButton>
#include <algorithm>

#include "app/Choosers.h"
#include "app/ColourPanel.h"
#include "app/SecondReceiverGroup.h"
#include "app/Settings.h"
#include "app/SettingsDialogHost.h"
#include "app/Translation.h"
#include "app/UpDownButtons.h"
#include "app/ViewFonts.h"
#include "app/WatchGroup.h"
#include "platform/WindowPlacement.h"

namespace seaherald {

namespace {

constexpr int ClientWidth = 500;
// 277 before the watch group, 445 before the second receiver's, 561 before its frequency
constexpr int ClientHeight = 589;
constexpr int CentreFrequencyStep = 10;  // Hz per CentF unit

QLabel* PlainLabel(QWidget* parent, const char* name, const QString& text, int x, int y) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->adjustSize();
  label->move(x, y);
  return label;
}

// The underlined, centred figures beside the arrows.
QLabel* ValueLabel(QWidget* parent, const char* name, QRect geometry) {
  auto* label = new QLabel(parent);
  label->setObjectName(QString::fromLatin1(name));
  QFont font = PixelFont(QStringLiteral("Tahoma"), 13);
  font.setUnderline(true);
  label->setFont(font);
  label->setAlignment(Qt::AlignCenter);
  label->setGeometry(geometry);
  return label;
}

UpDownButtons* Arrows(QWidget* parent, const char* name, int minimum, int maximum, int x, int y) {
  auto* arrows = new UpDownButtons(minimum, maximum, parent);
  arrows->setObjectName(QString::fromLatin1(name));
  arrows->setGeometry(x, y, 20, 18);
  return arrows;
}

QToolButton* PairButton(QWidget* parent, const char* name, const QString& text, int x, int y,
                        QButtonGroup* group) {
  auto* button = new QToolButton(parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setText(text);
  button->setCheckable(true);
  button->setFocusPolicy(Qt::NoFocus);
  button->setGeometry(x, y, 49, 20);
  group->addButton(button);
  return button;
}

QCheckBox* Tick(QWidget* parent, const char* name, const QString& text, QRect geometry) {
  auto* box = new QCheckBox(text, parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setGeometry(geometry);
  return box;
}

QGroupBox* Group(QWidget* parent, const char* name, const QString& title, QRect geometry) {
  auto* group = new QGroupBox(title, parent);
  group->setObjectName(QString::fromLatin1(name));
  group->setGeometry(geometry);
  return group;
}

}  // namespace

TForm3::TForm3(SettingsDialogHost& host, Choosers& choosers, QWidget* mainWindow)
    : QDialog(mainWindow), host_(host), choosers_(choosers), mainWindow_(mainWindow) {
  setObjectName(QStringLiteral("Form3"));
  const Translation& text = host_.Text();
  setWindowTitle(text.Tr("設定"));
  setFont(ControlFont());
  setFixedSize(ClientWidth, ClientHeight);
  setModal(false);
  BuildDecoderGroup();
  BuildMessageGroup();
  BuildLogGroup();
  BuildFontGroup();
  watchGroup_ = new WatchGroup(host_, this);
  watchGroup_->setGeometry(8, 279, 484, 160);
  secondReceiver_ = new SecondReceiverGroup(host_, this);
  secondReceiver_->setGeometry(8, 445, 484, 138);
  CopySettingsIn();
}

void TForm3::BuildDecoderGroup() {
  const Translation& text = host_.Text();
  QGroupBox* group = Group(this, "GroupBox1", text.Tr("デコーダ設定"), {8, 8, 241, 185});
  PlainLabel(group, "Label1", text.Tr("中心周波数"), 16, 27);
  label9_ = ValueLabel(group, "Label9", {120, 24, 57, 18});
  upDown1_ = Arrows(group, "UpDown1", 20, 100, 175, 24);
  PlainLabel(group, "Label2", QStringLiteral("Hz"), 208, 24);
  button1_ = new QPushButton(text.Tr("サウンドデバイス選択"), group);
  button1_->setObjectName(QStringLiteral("Button1"));
  button1_->setGeometry(16, 57, 129, 25);
  checkBox1_ = Tick(group, "CheckBox1", text.Tr("伝送モード自動設定"), {16, 91, 145, 25});
  label3_ = PlainLabel(group, "Label3", text.Tr("言語"), 39, 122);
  auto* language = new QButtonGroup(this);
  speedButton1_ = PairButton(group, "SpeedButton1", text.Tr("英文"), 88, 122, language);
  speedButton2_ = PairButton(group, "SpeedButton2", text.Tr("和文", "decoder language button"), 156,
                             122, language);
  label4_ = PlainLabel(group, "Label4", text.Tr("極性"), 39, 148);
  auto* polarity = new QButtonGroup(this);
  speedButton3_ = PairButton(group, "SpeedButton3", text.Tr("正転"), 88, 148, polarity);
  speedButton4_ = PairButton(group, "SpeedButton4", text.Tr("反転"), 156, 148, polarity);
  speedButton1_->setChecked(true);
  speedButton3_->setChecked(true);
  // In the free space beside the device button, so that no other control moves.
  checkBox4_ = Tick(group, "CheckBox4", text.Tr("高感度受信"), {152, 59, 86, 21});
  FitLongerCaptions(group);

  connect(upDown1_, &UpDownButtons::Clicked, this, &TForm3::UpDown1Click);
  connect(button1_, &QPushButton::clicked, this, &TForm3::Button1Click);
  connect(checkBox1_, &QCheckBox::clicked, this, &TForm3::CheckBox1Click);
  connect(checkBox4_, &QCheckBox::clicked, this, &TForm3::CheckBox4Click);
  connect(speedButton1_, &QToolButton::clicked, this, &TForm3::SpeedButton1Click);
  connect(speedButton2_, &QToolButton::clicked, this, &TForm3::SpeedButton2Click);
  connect(speedButton3_, &QToolButton::clicked, this, &TForm3::SpeedButton3Click);
  connect(speedButton4_, &QToolButton::clicked, this, &TForm3::SpeedButton4Click);
}

// Longer captions than the Japanese ones (the English window's) get room without moving any
// control whose caption fits: the Japanese dialog keeps its layout exactly.
void TForm3::FitLongerCaptions(QWidget* group) {
  constexpr int Gap = 6;
  constexpr int ButtonPadding = 14;
  // The mode buttons share one width, wide enough for the longest caption.
  int buttonWidth = speedButton1_->width();
  for (const QToolButton* b : {speedButton1_, speedButton2_, speedButton3_, speedButton4_})
    buttonWidth =
        std::max(buttonWidth, b->fontMetrics().horizontalAdvance(b->text()) + ButtonPadding);
  if (buttonWidth > speedButton1_->width()) {
    const int secondX = speedButton1_->x() + buttonWidth + Gap;
    for (QToolButton* b : {speedButton1_, speedButton3_})
      b->resize(buttonWidth, b->height());
    for (QToolButton* b : {speedButton2_, speedButton4_})
      b->setGeometry(secondX, b->y(), buttonWidth, b->height());
  }
  // Labels before the mode buttons end short of them.
  for (QLabel* label : {label3_, label4_}) {
    const int room = speedButton1_->x() - Gap;
    if (label->x() + label->width() > room) label->move(room - label->width(), label->y());
  }
  // The receive path's box beside the device button: the button as narrow as its caption lets
  // it be, the box's caption on two lines in the room left.
  if (checkBox4_->sizeHint().width() > checkBox4_->width()) {
    const int buttonWidth1 =
        button1_->fontMetrics().horizontalAdvance(button1_->text()) + 2 * ButtonPadding;
    button1_->resize(std::min(button1_->width(), buttonWidth1), button1_->height());
    const int x = button1_->x() + button1_->width() + Gap;
    checkBox4_->setGeometry(x, button1_->y() - 3, group->width() - x - Gap, 31);
  }
}

void TForm3::BuildMessageGroup() {
  const Translation& text = host_.Text();
  QGroupBox* group = Group(this, "GroupBox2", text.Tr("電文処理設定"), {8, 199, 241, 74});
  PlainLabel(group, "Label5", text.Tr("タイムアウト値"), 16, 32);
  label10_ = ValueLabel(group, "Label10", {125, 32, 44, 18});
  upDown2_ = Arrows(group, "UpDown2", 1, 300, 175, 32);
  PlainLabel(group, "Label6", text.Tr("秒"), 208, 32);
  connect(upDown2_, &UpDownButtons::Clicked, this, &TForm3::UpDown2Click);
}

void TForm3::BuildLogGroup() {
  const Translation& text = host_.Text();
  QGroupBox* group =
      Group(this, "GroupBox3", text.Tr("ログファイル処理設定"), {255, 112, 241, 161});
  checkBox2_ = Tick(group, "CheckBox2", text.Tr("自動ログファイル削除"), {16, 24, 161, 17});
  label7_ = PlainLabel(group, "Label7", text.Tr("削除経過日数"), 24, 55);
  label11_ = ValueLabel(group, "Label11", {120, 55, 57, 18});
  upDown3_ = Arrows(group, "UpDown3", 1, 365, 175, 55);
  label8_ = PlainLabel(group, "Label8", text.Tr("日"), 208, 55);
  checkBox3_ =
      Tick(group, "CheckBox3", text.Tr("設定エラー数以上はログを保存しない"), {16, 88, 209, 25});
  label12_ = PlainLabel(group, "Label12", text.Tr("エラー数"), 24, 126);
  label13_ = ValueLabel(group, "Label13", {120, 126, 57, 18});
  upDown4_ = Arrows(group, "UpDown4", 1, 100, 175, 126);
  label14_ = PlainLabel(group, "Label14", text.Tr("個"), 208, 126);
  connect(checkBox2_, &QCheckBox::clicked, this, &TForm3::CheckBox2Click);
  connect(upDown3_, &UpDownButtons::Clicked, this, &TForm3::UpDown3Click);
  connect(checkBox3_, &QCheckBox::clicked, this, &TForm3::CheckBox3Click);
  connect(upDown4_, &UpDownButtons::Clicked, this, &TForm3::UpDown4Click);
}

void TForm3::BuildFontGroup() {
  const Translation& text = host_.Text();
  QGroupBox* group = Group(this, "GroupBox4", text.Tr("表示フォント設定"), {255, 8, 241, 98});
  panel1_ = new ColourPanel(group);
  panel1_->setObjectName(QStringLiteral("Panel1"));
  panel1_->setGeometry(16, 36, 33, 21);
  PlainLabel(group, "Label15", text.Tr("文字色"), 65, 40);
  panel2_ = new ColourPanel(group);
  panel2_->setObjectName(QStringLiteral("Panel2"));
  panel2_->setGeometry(16, 63, 33, 21);
  PlainLabel(group, "Label16", text.Tr("背景色"), 65, 67);
  speedButton5_ = new QToolButton(group);
  speedButton5_->setObjectName(QStringLiteral("SpeedButton5"));
  speedButton5_->setText(text.Tr("フォント選択"));
  speedButton5_->setFocusPolicy(Qt::NoFocus);
  speedButton5_->setGeometry(136, 40, 81, 33);
  connect(panel1_, &ColourPanel::Clicked, this, &TForm3::Panel1Click);
  connect(panel2_, &ColourPanel::Clicked, this, &TForm3::Panel2Click);
  connect(speedButton5_, &QToolButton::clicked, this, &TForm3::SpeedButton5Click);
}

// Once, at creation. A stored value outside an arrow pair's range shows as stored in its
// label, while the arrows start from the nearest end of their range.
void TForm3::CopySettingsIn() {
  const Settings& settings = host_.SettingsRecord();
  upDown1_->SetPosition(settings.CentF);
  label9_->setNum(settings.CentF * CentreFrequencyStep);
  checkBox1_->setChecked(settings.AutoSet);
  if (!settings.AutoSet) ShowDecodeModes();
  checkBox4_->setChecked(settings.DecSens);
  checkBox2_->setChecked(settings.AutoLogDelete);
  upDown3_->SetPosition(settings.DeleteDay);
  label11_->setNum(settings.DeleteDay);
  upDown2_->SetPosition(settings.TimeOut);
  label10_->setNum(settings.TimeOut);
  checkBox3_->setChecked(settings.ErrSave);
  upDown4_->SetPosition(settings.ErrNum);
  label13_->setNum(settings.ErrNum);
  panel1_->SetColour(settings.FontColor);
  panel2_->SetColour(settings.BackColor);
  watchGroup_->CopySettingsIn();
  secondReceiver_->CopySettingsIn();
  UpdateEnabledStates();
}

void TForm3::ShowDecodeModes() {
  const Settings& settings = host_.SettingsRecord();
  (settings.DecLang ? speedButton1_ : speedButton2_)->setChecked(true);
  (settings.DecInv ? speedButton4_ : speedButton3_)->setChecked(true);
}

void TForm3::UpdateEnabledStates() {
  const Settings& settings = host_.SettingsRecord();
  for (QWidget* control : std::initializer_list<QWidget*>{
           speedButton1_, speedButton2_, speedButton3_, speedButton4_, label3_, label4_}) {
    control->setEnabled(!settings.AutoSet);
  }
  for (QWidget* control : std::initializer_list<QWidget*>{label7_, label8_, label11_, upDown3_}) {
    control->setEnabled(settings.AutoLogDelete);
  }
  for (QWidget* control : std::initializer_list<QWidget*>{label12_, label13_, label14_, upDown4_}) {
    control->setEnabled(settings.ErrSave);
  }
}

void TForm3::UpDown1Click(int position) {
  host_.SetCenterFrequency(static_cast<double>(position * CentreFrequencyStep));
  host_.SettingsRecord().CentF = position;
  label9_->setNum(position * CentreFrequencyStep);
}

void TForm3::CheckBox1Click() {
  host_.SettingsRecord().AutoSet = checkBox1_->isChecked();
  UpdateEnabledStates();
  if (!host_.SettingsRecord().AutoSet) ShowDecodeModes();
}

// The decoder reads the choice at every block, so the next block is received on the chosen path.
void TForm3::CheckBox4Click() {
  host_.SettingsRecord().DecSens = checkBox4_->isChecked();
}

void TForm3::SpeedButton1Click() {
  if (speedButton1_->isChecked()) host_.SettingsRecord().DecLang = true;
}

void TForm3::SpeedButton2Click() {
  if (speedButton2_->isChecked()) host_.SettingsRecord().DecLang = false;
}

void TForm3::SpeedButton3Click() {
  if (speedButton3_->isChecked()) host_.SettingsRecord().DecInv = false;
}

void TForm3::SpeedButton4Click() {
  if (speedButton4_->isChecked()) host_.SettingsRecord().DecInv = true;
}

void TForm3::UpDown2Click(int position) {
  host_.SettingsRecord().TimeOut = position;
  label10_->setNum(position);
}

void TForm3::CheckBox2Click() {
  host_.SettingsRecord().AutoLogDelete = checkBox2_->isChecked();
  if (checkBox2_->isChecked()) host_.RestartAutoDeleteTicker();
  UpdateEnabledStates();
}

void TForm3::UpDown3Click(int position) {
  host_.SettingsRecord().DeleteDay = position;
  label11_->setNum(position);
}

void TForm3::CheckBox3Click() {
  host_.SettingsRecord().ErrSave = checkBox3_->isChecked();
  UpdateEnabledStates();
}

void TForm3::UpDown4Click(int position) {
  host_.SettingsRecord().ErrNum = position;
  label13_->setNum(position);
}

void TForm3::SpeedButton5Click() {
  Settings& settings = host_.SettingsRecord();
  const auto chosen = choosers_.ChooseFont(FontChoice{settings.FontName, settings.FontSize});
  if (!chosen) return;
  settings.FontSize = chosen->pointSize;
  settings.FontName = chosen->face;
  host_.ApplyViewFont();
}

void TForm3::Panel1Click() {
  const auto chosen = choosers_.ChooseColour(host_.SettingsRecord().FontColor);
  if (!chosen) return;
  host_.SettingsRecord().FontColor = *chosen;
  panel1_->SetColour(*chosen);
  host_.ApplyViewColors();
}

void TForm3::Panel2Click() {
  const auto chosen = choosers_.ChooseColour(host_.SettingsRecord().BackColor);
  if (!chosen) return;
  host_.SettingsRecord().BackColor = *chosen;
  panel2_->SetColour(*chosen);
  host_.ApplyViewColors();
}

void TForm3::Button1Click() {
  host_.OpenInputDeviceDialog();
}

void TForm3::ShowOrRaise() {
  if (isVisible()) {
    raise();
    activateWindow();
    return;
  }
  show();
}

void TForm3::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) CentreOver(*this, *mainWindow_);
  QDialog::showEvent(event);
}

}  // namespace seaherald
