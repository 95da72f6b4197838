#include "tools/DecodeRunner.h"

#include <array>

#include "audio/SampleConversion.h"

namespace seaherald::decodetool {
namespace {

constexpr std::size_t FlushBlocks = 5;  // 0.5 s

}  // namespace

DecodeRunner::DecodeRunner(const DecoderStart& start, LineSink& sink)
    : decLang_(start.english),
      decInv_(start.inverted),
      autoSet_(start.automatic),
      centerFrequency_(start.centerHz),
      decoder_(DecoderSettings{decLang_, decInv_, autoSet_, centerFrequency_}, indicators_, sink) {}

void DecodeRunner::DecodeBlock(std::span<const std::int16_t, StereoBlockSamples> block) {
  ConvertLeftChannel(block, decoder_.SampleBlock(0));
  decoder_.DecodeBlock(0);
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

}  // namespace seaherald::decodetool
