#pragma once

#include <QAudio>
#include <QIODevice>
#include <QObject>
#include <QPointer>
#include <memory>

#include "audio/SoundBackend.h"

class QAudioDevice;
class QAudioSource;

namespace seaherald {

// A running capture on Qt Multimedia: every chunk the device delivers goes to the data callback
// on the GUI thread; a device or server that goes away reports through the failure callback.
class WaveIn final : public QObject, public InputStream {
  Q_OBJECT

 public:
  // Empty when the device is missing, refuses the format or does not start.
  static std::unique_ptr<WaveIn> Start(const QAudioDevice& device, InputCallbacks callbacks);
  ~WaveIn() override;

 private:
  WaveIn(QAudioSource* source, InputCallbacks callbacks);
  void OnReadyRead();
  void OnStateChanged(QAudio::State state);

  QAudioSource* source_;    // owned; outlives this object when closed from inside its own signal
  QPointer<QIODevice> io_;  // the toolkit deletes it when the stream dies
  InputCallbacks callbacks_;
  std::shared_ptr<int> notifying_ = std::make_shared<int>(0);
};

}  // namespace seaherald
