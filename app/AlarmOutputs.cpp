#include "app/AlarmOutputs.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QHBoxLayout>
#include <QLabel>
#include <QMediaDevices>
#include <QPushButton>
#include <QVariantMap>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "app/QtText.h"
#include "app/Translation.h"
#include "msglog/Catalogue.h"

namespace seaherald {
namespace {

constexpr int kToneRate = 44100;
constexpr double kToneSeconds = 2.0;
constexpr double kToneStepSeconds = 0.25;
constexpr double kToneAmplitude = 12000.0;
constexpr int kNotificationTimeout = 0;  // stays until the user closes it
constexpr unsigned char kCriticalUrgency = 2;

QAudioFormat ToneFormat() {
  QAudioFormat format;
  format.setSampleRate(kToneRate);
  format.setChannelCount(1);
  format.setSampleFormat(QAudioFormat::Int16);
  return format;
}

}  // namespace

QByteArray AlarmTone() {
  const int frames = static_cast<int>(kToneRate * kToneSeconds);
  QByteArray pcm(frames * static_cast<int>(sizeof(std::int16_t)), Qt::Uninitialized);
  auto* samples = reinterpret_cast<std::int16_t*>(pcm.data());
  double phase = 0;
  for (int i = 0; i < frames; ++i) {
    const bool high = static_cast<int>(i / (kToneRate * kToneStepSeconds)) % 2 == 1;
    phase += 2 * std::numbers::pi * (high ? 2100.0 : 1300.0) / kToneRate;
    samples[i] = static_cast<std::int16_t>(kToneAmplitude * std::sin(phase));
  }
  return pcm;
}

AlarmBanner::AlarmBanner(const Translation& text, QWidget* parent)
    : QFrame(parent),
      label_(new QLabel(this)),
      button_(new QPushButton(text.Tr("確認", "alarm banner"), this)) {
  setObjectName(QStringLiteral("AlarmBanner"));
  setAutoFillBackground(true);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, QColor(0xC0, 0x00, 0x00));
  colours.setColor(QPalette::WindowText, Qt::white);
  setPalette(colours);
  QFont bold = label_->font();
  bold.setBold(true);
  label_->setFont(bold);
  label_->setWordWrap(true);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(8, 4, 8, 4);
  layout->addWidget(label_, 1);
  layout->addWidget(button_);
  connect(button_, &QPushButton::clicked, this, &QWidget::hide);
  hide();
}

void AlarmBanner::Show(const QString& what) {
  label_->setText(what);
  show();
}

AlarmOutputs::AlarmOutputs(const Translation& text, AlarmBanner& banner,
                           MessageCompletionListener* next)
    : text_(text), banner_(banner), next_(next), tone_(AlarmTone()) {
  toneBuffer_.setBuffer(&tone_);
}

AlarmOutputs::~AlarmOutputs() {
  if (sink_) sink_->stop();
}

void AlarmOutputs::MessageCompleted(const CompletedMessage& message) {
  // A repeat of a message already filed is not news: only its first reception raises the alarm,
  // or any reception the log folder could not take, as no stored copy tells of it.
  if (message.alarm && (message.outcome == FilingOutcome::kWritten ||
                        message.outcome == FilingOutcome::kWriteFailed)) {
    const int lang = message.lang;
    const std::string b1(Catalogue::LetterB1(lang, message.header));
    const std::string b2(Catalogue::LetterB2(lang, message.header));
    const QString station = ToQString(ShownStationName(
        !message.stationName.empty()
            ? message.stationName
            : Catalogue::BaseName(text_.NameLang(), Catalogue::BaseOfLetter(lang, b1)),
        text_));
    const QString type =
        ToQString(Catalogue::TypeName(text_.NameLang(), Catalogue::TypeOfLetter(lang, b2)));
    const QString summary = text_.Tr("警報: %1").arg(type);
    Raise(summary, ToQString(message.header) + QStringLiteral("  ") + station);
  }
  if (next_ != nullptr) next_->MessageCompleted(message);
}

void AlarmOutputs::Raise(const QString& summary, const QString& body) {
  ++raised_;
  banner_.Show(summary + QStringLiteral(" — ") + body);
  PlayTone();
  Notify(summary, body);
}

void AlarmOutputs::PlayTone() {
  const QAudioDevice device = QMediaDevices::defaultAudioOutput();
  if (device.isNull()) return;
  if (sink_) sink_->stop();
  sink_ = std::make_unique<QAudioSink>(device, ToneFormat());
  toneBuffer_.close();
  toneBuffer_.open(QIODevice::ReadOnly);
  sink_->start(&toneBuffer_);
}

void AlarmOutputs::Notify(const QString& summary, const QString& body) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return;
  QDBusMessage call = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.Notifications"),
      QStringLiteral("/org/freedesktop/Notifications"),
      QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
  QVariantMap hints;
  hints.insert(QStringLiteral("urgency"), QVariant::fromValue(kCriticalUrgency));
  call << QStringLiteral("SEAHERALD") << 0u << QStringLiteral("seaherald") << summary << body
       << QStringList() << hints << kNotificationTimeout;
  // Not waited for: a missing service must not hold the window.
  bus.asyncCall(call);
}

}  // namespace seaherald
