#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "audio/BlockGatherer.h"
#include "audio/BufferAllocator.h"
#include "audio/CaptureControl.h"
#include "audio/CaptureRing.h"
#include "audio/OutputRing.h"
#include "audio/SampleConversion.h"
#include "audio/SoundBackend.h"
#include "audio/WaveFormat.h"
#include "msglog/DialogService.h"
#include "msglog/UiText.h"

namespace seaherald {

// The capture device with its ring, and the monitor output with its ring. Captured bytes are
// gathered into whole blocks; each block is taken off the ring (re-queueing its buffer and
// advancing CaptureIndex), written to the monitor output while the monitor is on, and then handed
// to the block handler, once per block, in capture order.
//
// A capture is a session: closing or reopening starts a new one, and data or failures reported by
// an earlier session are ignored, so nothing from a closed device reaches the handler. The handler
// is never re-entered: blocks that complete while it runs (for instance under a modal dialog)
// wait in the ring and are handed over, in order, when it returns.
class SoundDevices final : public CaptureControl {
 public:
  struct Hooks {
    std::function<void(StereoBlock)> processBlock;  // the per-block handler
    std::function<bool()> monitorDown;              // state of the monitor toggle
    std::function<void()> closeMainWindow;          // the monitor output could not be opened
  };

  SoundDevices(SoundBackend& backend, DialogService& dialogs, Hooks hooks,
               BufferAllocator allocator = HeapBufferAllocator(),
               const UiText& text = JapaneseUiText());
  ~SoundDevices() override;
  SoundDevices(const SoundDevices&) = delete;
  SoundDevices& operator=(const SoundDevices&) = delete;

  // Opens and starts the capture on the default input (empty id) or on the given device. Failures
  // on the default input are reported; on a chosen device, and in a retry, they are silent.
  bool OpenWaveIn(const std::optional<std::string>& deviceId) override;
  bool RetryWaveIn(const std::optional<std::string>& deviceId) override;
  bool CloseWaveIn() override;
  // A capture that delivered nothing over QuietWatchesToFail whole watch intervals has stalled
  // (a server can stop a stream's data without reporting an error) and is treated as lost.
  void WatchCapture() override;
  static constexpr int QuietWatchesToFail = 2;
  // Opens the monitor output on the default output; a failure is reported and closes the main
  // window.
  void OpenWaveOut();
  void CloseWaveOut();

  bool CaptureOpen() const { return capture_ != nullptr; }
  // Open and still delivering: false once the device or the server went away.
  bool CaptureRunning() const override { return capture_ != nullptr && !captureFailed_; }
  bool OutputOpen() const { return output_ != nullptr; }
  // The monitor output was lost with its server and has not come back yet.
  bool OutputFailed() const { return outputFailed_; }
  int CaptureIndex() const { return captureRing_.CaptureIndex(); }
  int OutputIndex() const { return outputRing_.OutputIndex(); }
  std::size_t DroppedBlocks() const { return gatherer_.DroppedBlocks(); }

 private:
  enum class OutputReport { Report, Silent };

  bool OpenCapture(const std::optional<std::string>& deviceId, bool report);
  bool StartOutput(OutputReport report);
  void ReportCaptureFailure(const char* utf8Message);
  void ReportOutputFailure(const char* utf8Message);
  void OnCaptureData(std::uint64_t session, std::span<const std::byte> chunk);
  void OnCaptureFailed(std::uint64_t session);
  void OnOutputFailed(std::uint64_t session);
  void DispatchBlocks();
  void ProcessOneBlock();

  SoundBackend& backend_;
  DialogService& dialogs_;
  const UiText& text_;
  Hooks hooks_;
  BufferAllocator allocator_;

  std::unique_ptr<InputStream> capture_;
  bool captureFailed_ = false;
  bool captureHeard_ = false;  // data arrived since the last watch
  int quietWatches_ = 0;
  std::uint64_t captureSession_ = 0;
  BlockGatherer gatherer_{BlockBytes};
  CaptureRing captureRing_;
  bool dispatching_ = false;

  std::unique_ptr<OutputStream> output_;
  bool outputFailed_ = false;
  std::uint64_t outputSession_ = 0;
  OutputRing outputRing_;

  std::array<std::int16_t, BlockSamples> handlerBlock_{};
  std::array<std::int16_t, BlockSamples> monitorBlock_{};
};

}  // namespace seaherald
