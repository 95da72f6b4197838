#include "audio/WaveOut.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <algorithm>

#include "audio/QtWaveFormat.h"
#include "audio/WaveFormat.h"

namespace seaherald {
namespace {

// Room for a few blocks: enough to ride out the uneven arrival of captured chunks, short enough
// that the monitor follows the input closely.
constexpr int OutputBufferBlocks = 4;

}  // namespace

std::unique_ptr<WaveOut> WaveOut::Start(const QAudioDevice& device, std::function<void()> failed) {
  const QAudioFormat format = ToQAudioFormat(CaptureWaveFormat);
  if (device.isNull() || !device.isFormatSupported(format)) return nullptr;
  auto* sink = new QAudioSink(device, format);
  sink->setBufferSize(BlockBytes * OutputBufferBlocks);
  std::unique_ptr<WaveOut> waveOut(new WaveOut(sink, std::move(failed)));
  waveOut->io_ = sink->start();
  if (waveOut->io_ == nullptr || sink->error() == QAudio::OpenError ||
      sink->error() == QAudio::FatalError || sink->state() == QAudio::StoppedState) {
    return nullptr;
  }
  return waveOut;
}

WaveOut::WaveOut(QAudioSink* sink, std::function<void()> failed)
    : sink_(sink), failed_(std::move(failed)) {
  connect(sink_, &QAudioSink::stateChanged, this, &WaveOut::OnStateChanged);
}

WaveOut::~WaveOut() {
  sink_->disconnect(this);
  sink_->stop();
  delete sink_;
}

std::size_t WaveOut::Write(std::span<const std::byte> bytes) {
  if (io_.isNull() || stopped_) return 0;
  const int frameBytes = CaptureWaveFormat.blockAlign;
  const qsizetype room = sink_->bytesFree() / frameBytes * frameBytes;
  const qsizetype length = std::min<qsizetype>(room, static_cast<qsizetype>(bytes.size()));
  if (length <= 0) return 0;
  const qint64 written = io_->write(reinterpret_cast<const char*>(bytes.data()), length);
  return written > 0 ? static_cast<std::size_t>(written) : 0;
}

void WaveOut::OnStateChanged(QAudio::State state) {
  if (state != QAudio::StoppedState || sink_->error() == QAudio::NoError) return;
  stopped_ = true;
  if (failed_) failed_();
}

}  // namespace seaherald
