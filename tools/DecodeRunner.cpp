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
      clock_(start),
      lines_(lines),
      files_(filing.has_value()),
      filing_(filing || completion != nullptr
                  ? std::make_unique<MessageFiling>(settings_, clock_, filing, completion)
                  : nullptr),
      handler_(DecoderSettings{settings_.DecLang, settings_.DecInv, settings_.AutoSet,
                               centerFrequency_, settings_.DecSens},
               *this, settings_, clock_, *this) {}

void DecodeRunner::DecodeBlock(StereoBlock block) {
  handler_.ProcessBlock(block);
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

std::optional<FilingSummary> DecodeRunner::Filing() const {
  if (!files_) return std::nullopt;
  return filing_->Summary();
}

void DecodeRunner::AddReceivedLine(const std::string& line, bool cut) {
  lines_.AddReceivedLine(line, cut);
  if (filing_) filing_->Log().AddReceivedLine(line, cut);
}

void DecodeRunner::AddUnsureLine(const std::string& line, bool cut, const UnsureBytes& unsure) {
  lines_.AddUnsureLine(line, cut, unsure);
  if (filing_) filing_->Log().AddUnsureLine(line, cut, unsure);
}

void DecodeRunner::ShowLiveLine(const std::string& line) {
  lines_.ShowLiveLine(line);
  if (filing_) filing_->Log().ShowLiveLine(line);
}

void DecodeRunner::PhasingSeen() {
  lines_.PhasingSeen();
  if (filing_) filing_->Log().PhasingSeen();
}

void DecodeRunner::DiscardMessage() {
  if (filing_) filing_->Log().DiscardMessage();
}

}  // namespace seaherald::decodetool
