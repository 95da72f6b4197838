#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QFrame>
#include <QObject>
#include <memory>

#include "msglog/CompletedMessage.h"

class QAudioSink;
class QLabel;
class QPushButton;

namespace seaherald {

class Translation;

// The banner across the main window that names the alarm message and stays until the user
// acknowledges it.
class AlarmBanner final : public QFrame {
  Q_OBJECT

 public:
  AlarmBanner(const Translation& text, QWidget* parent);
  void Show(const QString& what);
  QLabel* Label() const { return label_; }
  QPushButton* AcknowledgeButton() const { return button_; }

 private:
  QLabel* label_;
  QPushButton* button_;
};

// Raises the alarm for a newly filed message that calls for it (search and rescue, and the types
// the user added): the banner, the receiver's own alarm tone through the default output device
// (never the monitored audio), and a desktop notification through the freedesktop notification
// service on the session bus. Without an output device or a notification service those parts
// are silently skipped; the banner always shows. Every message is handed on to `next`.
class AlarmOutputs final : public QObject, public MessageCompletionListener {
  Q_OBJECT

 public:
  AlarmOutputs(const Translation& text, AlarmBanner& banner,
               MessageCompletionListener* next = nullptr);
  ~AlarmOutputs() override;

  void MessageCompleted(const CompletedMessage& message) override;
  void SetNext(MessageCompletionListener* next) { next_ = next; }
  // Alarms raised since start-up.
  int Raised() const { return raised_; }

 private:
  void Raise(const QString& summary, const QString& body);
  void PlayTone();
  void Notify(const QString& summary, const QString& body);

  const Translation& text_;
  AlarmBanner& banner_;
  MessageCompletionListener* next_;
  QByteArray tone_;
  QBuffer toneBuffer_;
  std::unique_ptr<QAudioSink> sink_;
  int raised_ = 0;
};

// Two seconds of the alarm tone: 16-bit mono PCM at 44100 Hz, alternating 1300 Hz and 2100 Hz
// every quarter second, so that it cannot be taken for a received signal.
QByteArray AlarmTone();

}  // namespace seaherald
