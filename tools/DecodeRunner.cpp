#include "tools/DecodeRunner.h"

#include <array>

namespace seaherald::decodetool {
namespace {

constexpr std::size_t FlushBlocks = 5;  // 0.5 s

}  // namespace

DecodeRunner::DecodeRunner(const RunSettings& run, const LocalDateTime& start, LineSink& lines,
                           const std::optional<FilingTarget>& filing,
                           MessageCompletionListener* completion)
    : settings_(run.settings),
      centerFrequency_(run.centerHz),
      centerFrequency2_(run.centerHz2),
      clock_(start),
      filingTarget_(filing),
      first_(lines, NewFiling(completion)),
      handler_(DecoderSettings{settings_.DecLang, settings_.DecInv, settings_.AutoSet,
                               centerFrequency_, settings_.DecSens},
               first_, settings_, clock_, *this) {}

std::unique_ptr<MessageFiling> DecodeRunner::NewFiling(MessageCompletionListener* completion) {
  if (!filingTarget_ && completion == nullptr) return nullptr;
  return std::make_unique<MessageFiling>(settings_, clock_, filingTarget_, completion);
}

void DecodeRunner::AddSecondReceiver(LineSink& lines, MessageCompletionListener* completion) {
  second_ = std::make_unique<ReceiverPath>(lines, NewFiling(completion));
  if (MessageFiling* filing = second_->Filing()) {
    filing->Log().ReadLanguageFrom(settings_.DecLang2);
    filing->Log().SetWatch(secondWatch_);
  }
  handler_.AddSecondReceiver(
      DecoderSettings{settings_.DecLang2, settings_.DecInv2, settings_.AutoSet2, centerFrequency2_,
                      settings_.DecSens2},
      *second_);
}

void DecodeRunner::SetWatch(const Watch* watch, const Watch* secondWatch) {
  secondWatch_ = secondWatch != nullptr ? secondWatch : watch;
  if (MessageFiling* filing = first_.Filing()) filing->Log().SetWatch(watch);
  if (second_ && second_->Filing() != nullptr) second_->Filing()->Log().SetWatch(secondWatch_);
}

void DecodeRunner::DecodeBlock(StereoBlock block) {
  if (swapChannels_) {
    std::array<std::int16_t, StereoBlockSamples> swapped{};
    for (std::size_t frame = 0; frame < BlockFrames; ++frame) {
      swapped[frame * 2] = block[frame * 2 + 1];
      swapped[frame * 2 + 1] = block[frame * 2];
    }
    handler_.ProcessBlock(swapped);
  } else {
    handler_.ProcessBlock(block);
  }
  clock_.CountBlock();
}

void DecodeRunner::DecodeSilence(std::size_t blocks) {
  const std::array<std::int16_t, StereoBlockSamples> silence{};
  for (std::size_t i = 0; i < blocks; ++i)
    DecodeBlock(silence);
}

std::size_t DecodeRunner::Run(BlockSource& source, ProgressListener* progress) {
  std::array<std::int16_t, StereoBlockSamples> block{};
  std::size_t frames = 0;
  while (const std::size_t got = source.NextBlock(block)) {
    DecodeBlock(block);
    frames += got;
    if (progress != nullptr) progress->Advanced(static_cast<double>(frames) / DecoderInputRate);
  }
  DecodeSilence(FlushBlocks);
  return frames;
}

std::optional<FilingSummary> DecodeRunner::SecondFiling() const {
  if (!second_) return std::nullopt;
  return SummaryOf(*second_);
}

std::optional<FilingSummary> DecodeRunner::SummaryOf(const ReceiverPath& path) const {
  if (!filingTarget_) return std::nullopt;
  return path.Filing()->Summary();
}

void DecodeRunner::DiscardSecondMessage() {
  if (second_) second_->DiscardMessage();
}

}  // namespace seaherald::decodetool
