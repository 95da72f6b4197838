#include "audio/Unit8.h"

#include <QComboBox>
#include <QGroupBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QStringList>
#include <QTimer>

#include "audio/SoundSettingsCommand.h"
#include "audio/Unit9.h"
#include "platform/WindowPlacement.h"

namespace seaherald {
namespace {

// Device names are Shift-JIS; the list shows them through the toolkit's code page 932 decoder.
QString ItemText(const std::string& sjis) {
  QStringDecoder decoder("windows-31j");
  return decoder.decode(QByteArrayView(sjis.data(), static_cast<qsizetype>(sjis.size())));
}

std::optional<std::string> FindOnPath(std::string_view name) {
  const QString path = QStandardPaths::findExecutable(
      QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
  if (path.isEmpty()) return std::nullopt;
  return path.toStdString();
}

}  // namespace

TForm8::TForm8(SoundBackend& devices, CaptureControl& capture, std::string& waveInName,
               DialogService& dialogs, TForm9& notice, QWidget* parent, const Translation& text,
               std::string* waveInId)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      selection_(waveInName, deviceIndex_, devices, capture, dialogs, text),
      notice_(notice),
      text_(text),
      waveInId_(waveInId) {
  BuildControls();
  if (waveInId_ != nullptr) selection_.SetStoredId(*waveInId_);
  selection_.ListInputDevices();
  FillComboBox();
  selection_.OpenSelectedDevice();
  ComboBox1->setCurrentIndex(selection_.SelectedPosition());
  auto* retry = new QTimer(this);
  connect(retry, &QTimer::timeout, this, &TForm8::RetryCapture);
  retry->start(RetryMilliseconds);
}

// The user choosing a device in the open dialog is not overruled.
void TForm8::RetryCapture() {
  if (!isVisible()) selection_.RetryLostCapture();
}

void TForm8::BuildControls() {
  setObjectName(QStringLiteral("Form8"));
  setWindowTitle(text_.Tr("入力デバイスの設定"));
  setFixedSize(ClientWidth, ClientHeight);
  setModal(true);

  GroupBox1 = new QGroupBox(text_.Tr("入力デバイス"), this);
  GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
  GroupBox1->setGeometry(8, 8, 313, 57);
  ComboBox1 = new QComboBox(GroupBox1);
  ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
  ComboBox1->setEditable(false);
  ComboBox1->setGeometry(8, 24, 297, 20);

  Button3 = new QPushButton(text_.Tr("サウンド設定"), this);
  Button3->setObjectName(QStringLiteral("Button3"));
  Button3->setGeometry(8, 73, 146, 25);
  Button3->setAutoDefault(false);
  Button1 = new QPushButton(QStringLiteral("OK"), this);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setGeometry(160, 73, 78, 25);
  Button1->setDefault(true);
  Button2 = new QPushButton(text_.Tr("キャンセル"), this);
  Button2->setObjectName(QStringLiteral("Button2"));
  Button2->setGeometry(244, 73, 77, 25);
  Button2->setAutoDefault(false);

  connect(Button1, &QPushButton::clicked, this, &TForm8::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TForm8::Button2Click);
  connect(Button3, &QPushButton::clicked, this, &TForm8::Button3Click);
}

void TForm8::FillComboBox() {
  ComboBox1->clear();
  const InputDeviceList& list = selection_.Devices();
  for (int position = 0; position < list.Count(); ++position) {
    // The default entry is named in the window's language; device names are shown as they are.
    const std::string& name = list.ItemText(position);
    ComboBox1->addItem(ItemText(position == 0 ? text_.Translate(name) : name));
  }
}

int TForm8::ShowModalOver(QWidget* owner) {
  owner_ = owner;
  return exec();
}

void TForm8::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (owner_ != nullptr) CentreOver(*this, *owner_);
  selection_.PrepareToShow();
  FillComboBox();
  ComboBox1->setCurrentIndex(selection_.SelectedPosition());
}

void TForm8::Button1Click() {
  notice_.SetOwnerWindow(this);
  selection_.Confirm(ComboBox1->currentIndex(), notice_);
  if (waveInId_ != nullptr) *waveInId_ = selection_.StoredId();
  accept();
}

void TForm8::Button2Click() {
  reject();
}

void TForm8::Button3Click() {
  const std::optional<ExternalCommand> command = FindSoundSettingsCommand(FindOnPath);
  if (!command) return;
  QStringList arguments;
  for (const std::string& argument : command->arguments) {
    arguments << QString::fromStdString(argument);
  }
  QProcess::startDetached(QString::fromStdString(command->program), arguments);
}

}  // namespace seaherald
