#include "audio/WaveIn.h"

#include <QAudioDevice>
#include <QAudioSource>
#include <QByteArray>
#include <span>

#include "audio/QtWaveFormat.h"
#include "audio/WaveFormat.h"

namespace seaherald {
namespace {

// Counts a running notification; the counter is shared so that it survives the object whose
// callback destroyed it.
class NotifyingScope {
 public:
  explicit NotifyingScope(std::shared_ptr<int> counter) : counter_(std::move(counter)) {
    ++*counter_;
  }
  ~NotifyingScope() { --*counter_; }
  NotifyingScope(const NotifyingScope&) = delete;
  NotifyingScope& operator=(const NotifyingScope&) = delete;

 private:
  std::shared_ptr<int> counter_;
};

}  // namespace

std::unique_ptr<WaveIn> WaveIn::Start(const QAudioDevice& device, InputCallbacks callbacks) {
  const QAudioFormat format = ToQAudioFormat(CaptureWaveFormat);
  if (device.isNull() || !device.isFormatSupported(format)) return nullptr;
  auto* source = new QAudioSource(device, format);
  source->setBufferSize(BlockBytes);
  std::unique_ptr<WaveIn> waveIn(new WaveIn(source, std::move(callbacks)));
  waveIn->io_ = source->start();
  if (waveIn->io_ == nullptr || source->error() != QAudio::NoError ||
      source->state() == QAudio::StoppedState) {
    return nullptr;
  }
  connect(waveIn->io_.data(), &QIODevice::readyRead, waveIn.get(), &WaveIn::OnReadyRead);
  return waveIn;
}

WaveIn::WaveIn(QAudioSource* source, InputCallbacks callbacks)
    : source_(source), callbacks_(std::move(callbacks)) {
  connect(source_, &QAudioSource::stateChanged, this, &WaveIn::OnStateChanged);
}

WaveIn::~WaveIn() {
  source_->disconnect(this);
  if (io_ != nullptr) io_->disconnect(this);
  // A source must be stopped before it is destroyed. Inside its own notification neither may
  // happen yet, so both wait for the event loop.
  if (*notifying_ > 0) {
    QAudioSource* source = source_;
    QMetaObject::invokeMethod(
        source,
        [source] {
          source->stop();
          source->deleteLater();
        },
        Qt::QueuedConnection);
    return;
  }
  source_->stop();
  delete source_;
}

void WaveIn::OnReadyRead() {
  if (io_.isNull()) return;
  const QByteArray bytes = io_->readAll();
  if (bytes.isEmpty()) return;
  // The receiver may close the capture and so destroy this object: keep what the call needs.
  const auto deliver = callbacks_.data;
  NotifyingScope scope(notifying_);
  deliver(std::as_bytes(std::span(bytes.constData(), static_cast<std::size_t>(bytes.size()))));
}

void WaveIn::OnStateChanged(QAudio::State state) {
  if (state != QAudio::StoppedState || source_->error() == QAudio::NoError) return;
  const auto failed = callbacks_.failed;
  NotifyingScope scope(notifying_);
  failed();
}

}  // namespace seaherald
