#pragma once

#include <QAudio>
#include <QObject>
#include <functional>
#include <memory>

#include "audio/SoundBackend.h"

class QAudioDevice;
class QAudioSink;
class QIODevice;

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

  QAudioSink* sink_;  // owned
  QIODevice* io_ = nullptr;
  std::function<void()> failed_;
  bool stopped_ = false;
};

}  // namespace seaherald
