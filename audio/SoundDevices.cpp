#include "audio/SoundDevices.h"

#include <utility>

#include "audio/MonitorBlock.h"
#include "platform/CodePage.h"

namespace seaherald {
namespace {

constexpr const char* CaptureOpenFailedText =
    "録音デバイスをオープンできないためプログラムの実行ができません\n"
    "デバイスが使用中か録音フォーマットに対応していない可能性があります";
constexpr const char* CaptureBufferFailedText =
    "バッファを確保できないためプログラムの実行ができません\n"
    "メモリが不足している可能性があります";
constexpr const char* OutputOpenFailedText = "再生デバイスをオープンできません";
constexpr const char* OutputBufferFailedText = "バッファを確保できません";

// Clears a flag when the scope ends, also when the handler throws.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = false; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
};

}  // namespace

SoundDevices::SoundDevices(SoundBackend& backend, DialogService& dialogs, Hooks hooks,
                           BufferAllocator allocator, const UiText& text)
    : backend_(backend),
      dialogs_(dialogs),
      text_(text),
      hooks_(std::move(hooks)),
      allocator_(std::move(allocator)) {}

SoundDevices::~SoundDevices() {
  CloseWaveIn();
  CloseWaveOut();
}

bool SoundDevices::OpenWaveIn(const std::optional<std::string>& deviceId) {
  return OpenCapture(deviceId, !deviceId.has_value());
}

bool SoundDevices::RetryWaveIn(const std::optional<std::string>& deviceId) {
  return OpenCapture(deviceId, false);
}

bool SoundDevices::OpenCapture(const std::optional<std::string>& deviceId, bool report) {
  CloseWaveIn();
  // A server that went away took the monitor output with it; a new capture brings it back.
  if (outputFailed_) {
    CloseWaveOut();
    outputFailed_ = !StartOutput(OutputReport::Silent);  // still lost: try again next time
  }
  const std::uint64_t session = ++captureSession_;
  InputCallbacks callbacks;
  callbacks.data = [this, session](std::span<const std::byte> chunk) {
    OnCaptureData(session, chunk);
  };
  callbacks.failed = [this, session] { OnCaptureFailed(session); };
  auto stream = backend_.OpenInput(deviceId, std::move(callbacks));
  if (!stream) {
    if (report) ReportCaptureFailure(CaptureOpenFailedText);
    return false;
  }
  if (!captureRing_.Allocate(allocator_)) {
    ++captureSession_;
    stream.reset();
    if (report) ReportCaptureFailure(CaptureBufferFailedText);
    return false;
  }
  gatherer_.Reset();
  captureFailed_ = false;
  captureHeard_ = false;
  quietWatches_ = 0;
  capture_ = std::move(stream);
  return true;
}

bool SoundDevices::CloseWaveIn() {
  if (!capture_) return true;
  ++captureSession_;
  capture_.reset();
  captureFailed_ = false;
  gatherer_.Reset();
  captureRing_.Release();
  return true;
}

void SoundDevices::WatchCapture() {
  if (!CaptureRunning() || std::exchange(captureHeard_, false)) {
    quietWatches_ = 0;
    return;
  }
  if (++quietWatches_ >= QuietWatchesToFail) captureFailed_ = true;
}

void SoundDevices::OpenWaveOut() {
  StartOutput(OutputReport::Report);
}

void SoundDevices::CloseWaveOut() {
  ++outputSession_;
  output_.reset();
  outputFailed_ = false;
  outputRing_.Release();
}

bool SoundDevices::StartOutput(OutputReport report) {
  const std::uint64_t session = ++outputSession_;
  auto stream = backend_.OpenOutput([this, session] { OnOutputFailed(session); });
  if (!stream) {
    if (report == OutputReport::Report) ReportOutputFailure(OutputOpenFailedText);
    return false;
  }
  if (!outputRing_.Allocate(allocator_)) {
    ++outputSession_;
    stream.reset();
    if (report == OutputReport::Report) ReportOutputFailure(OutputBufferFailedText);
    return false;
  }
  outputFailed_ = false;
  output_ = std::move(stream);
  return true;
}

void SoundDevices::ReportCaptureFailure(const char* utf8Message) {
  dialogs_.Beep();
  dialogs_.ShowError(text_.Translate(Cp932Text(utf8Message)));
}

void SoundDevices::ReportOutputFailure(const char* utf8Message) {
  dialogs_.Beep();
  dialogs_.ShowError(text_.Translate(Cp932Text(utf8Message)));
  if (hooks_.closeMainWindow) hooks_.closeMainWindow();
}

void SoundDevices::OnCaptureData(std::uint64_t session, std::span<const std::byte> chunk) {
  if (session != captureSession_ || !capture_ || captureFailed_) return;
  captureHeard_ = true;
  gatherer_.Feed(chunk, captureRing_);
  DispatchBlocks();
}

void SoundDevices::OnCaptureFailed(std::uint64_t session) {
  if (session != captureSession_ || !capture_) return;
  // The stream stays until the capture is closed or reopened: it may be reporting from inside
  // its own notification, where it must not be destroyed.
  captureFailed_ = true;
}

void SoundDevices::OnOutputFailed(std::uint64_t session) {
  if (session != outputSession_ || !output_) return;
  outputFailed_ = true;
}

void SoundDevices::DispatchBlocks() {
  if (dispatching_) return;  // the running handler's loop below takes the new blocks in turn
  FlagScope scope(dispatching_);
  while (capture_ && !captureFailed_ && captureRing_.FilledCount() > 0)
    ProcessOneBlock();
}

void SoundDevices::ProcessOneBlock() {
  captureRing_.TakeBlock(handlerBlock_);
  if (output_ && hooks_.monitorDown && hooks_.monitorDown()) {
    FillMonitorBlock(handlerBlock_, monitorBlock_);
    outputRing_.Write(monitorBlock_);
  }
  if (output_ && !outputFailed_) outputRing_.Pump(*output_);
  if (hooks_.processBlock) hooks_.processBlock(StereoBlock(handlerBlock_));
}

}  // namespace seaherald
