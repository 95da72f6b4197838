#pragma once

#include <QAudio>
#include <QIODevice>
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

#include "audio/SoundBackend.h"

class QAudioDevice;
class QAudioSink;

namespace seaherald {

// A running output on Qt Multimedia that takes what fits into its buffer at each write.
class WaveOut final : public QObject, public OutputStream {
  Q_OBJECT

 public:
  // Empty when the device is missing, refuses the format or does not start.
  static std::unique_ptr<WaveOut> Start(const QAudioDevice& device, std::function<void()> failed);
  ~WaveOut() override;

  std::size_t Write(std::span<const std::byte> bytes) override;

 private:
  WaveOut(QAudioSink* sink, std::function<void()> failed);
  void OnStateChanged(QAudio::State state);

  QAudioSink* sink_;        // owned
  QPointer<QIODevice> io_;  // the toolkit deletes it when the stream dies
  std::function<void()> failed_;
  bool stopped_ = false;
};

}  // namespace seaherald
