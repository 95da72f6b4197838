#pragma once

#include <cstddef>
#include <memory>
#include <optional>

#include "app/Settings.h"
#include "audio/BlockHandler.h"
#include "audio/BlockHandlerListener.h"
#include "audio/RecordingClock.h"
#include "decoder/LineSink.h"
#include "msglog/Watch.h"
#include "platform/LocalClock.h"
#include "tools/BlockSource.h"
#include "tools/FilingSummary.h"
#include "tools/MessageFiling.h"
#include "tools/ReceiverPath.h"
#include "tools/RunSettings.h"

namespace seaherald::decodetool {

// Hears how far the decoding has come.
class ProgressListener {
 public:
  virtual ~ProgressListener() = default;
  virtual void Advanced(double secondsDecoded) = 0;
};

// The receiver window's per-block path without a window: every block goes through the same block
// handler (left channel into channel 0, decoding, the per-second tick with its receive time-out,
// the lamp). Its clock starts at a given moment and moves on one second per ten blocks, so
// seconds are counted from the audio, not from how fast it is decoded. Each handed-over line goes
// to `lines` and then, with a filing target, to the receiver's message log, whose stamps come
// from the same clock. A completion listener hears of every completed message, whether filed or
// (without a filing target) not.
//
// A second receiver takes the right channel with the run's second settings, its own lines and
// completion listener and its own message log on the same folder, so that the fewer-errors rule
// holds between the two receivers as between two receptions in time.
class DecodeRunner final : private BlockHandlerListener {
 public:
  DecodeRunner(const RunSettings& run, const LocalDateTime& start, LineSink& lines,
               const std::optional<FilingTarget>& filing = std::nullopt,
               MessageCompletionListener* completion = nullptr);

  // Live audio: from now on the time is the wall clock's, so stamps stay right when the sound
  // server was away for a while and no blocks came.
  void FollowWallClock() { clock_.FollowWallClock(); }
  DecodeRunner(const DecodeRunner&) = delete;
  DecodeRunner& operator=(const DecodeRunner&) = delete;

  // Once, before decoding, when the run's settings have Receiver2 on.
  void AddSecondReceiver(LineSink& lines, MessageCompletionListener* completion = nullptr);
  // Live audio whose right channel is the one to decode: the channels change places first.
  void TakeRightChannelFirst() { swapChannels_ = true; }

  void DecodeBlock(StereoBlock block);

  // Runs every block of the source, then half a second of silence so that the last bits pass the
  // filters and a line still in progress is handed over (cut) as the signal ends. Returns the
  // frames that came from the source.
  std::size_t Run(BlockSource& source, ProgressListener* progress = nullptr);

  // The language and polarity in use; automatic mode changes them as it finds the signal.
  bool English() const { return settings_.DecLang; }
  bool Inverted() const { return settings_.DecInv; }
  const LocalClock& Clock() const { return clock_; }
  // The station names and message selection of the user's watch; null for none. The second
  // receiver, tuned elsewhere, may name its stations from a watch of its own frequency.
  void SetWatch(const Watch* watch, const Watch* secondWatch = nullptr);
  // What became of the messages so far; nothing without a filing target.
  std::optional<FilingSummary> Filing() const { return SummaryOf(first_); }
  // The same for the second receiver; nothing without it.
  std::optional<FilingSummary> SecondFiling() const;

 private:
  std::unique_ptr<MessageFiling> NewFiling(MessageCompletionListener* completion);
  std::optional<FilingSummary> SummaryOf(const ReceiverPath& path) const;

  void OnBlockDecoded() override {}
  void ShowClock(const std::string&) override {}
  void DiscardMessage() override { first_.DiscardMessage(); }
  void DiscardSecondMessage() override;
  void AutoDeleteLogs() override {}  // never: the tool only adds to a log folder
  void SetLamp(bool) override {}
  void OnBlockDone() override {}

  void DecodeSilence(std::size_t blocks);

  Settings settings_;  // read at every block; automatic mode writes DecLang and DecInv back
  double centerFrequency_;
  double centerFrequency2_;
  // The audio's time for recordings, or the wall clock's for live capture.
  class RunClock final : public LocalClock {
   public:
    explicit RunClock(const LocalDateTime& start) : recording_(start) {}
    LocalDateTime Now() const override { return live_ ? SystemClock().Now() : recording_.Now(); }
    void CountBlock() { recording_.CountBlock(); }
    void FollowWallClock() { live_ = true; }

   private:
    RecordingClock recording_;
    bool live_ = false;
  };
  RunClock clock_;
  std::optional<FilingTarget> filingTarget_;
  ReceiverPath first_;
  std::unique_ptr<ReceiverPath> second_;
  const Watch* secondWatch_ = nullptr;
  bool swapChannels_ = false;
  BlockHandler handler_;
};

}  // namespace seaherald::decodetool
