#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tools/BlockSource.h"
#include "tools/ResampledChannels.h"

struct sf_private_tag;

namespace seaherald::decodetool {

// A recording in any format libsndfile reads. The first channel becomes the left channel of the
// blocks and the second (the first again for mono) the right one, unless other channels are
// picked. Other sample rates are resampled to 44 100 Hz; only the left channel is resampled then,
// and the right repeats it, unless a right channel is picked for a second receiver.
class SoundFileSource : public BlockSource {
 public:
  // Throws InputError for a file that is missing, unreadable, in no format libsndfile knows, or
  // without the picked channels (counted from 0).
  explicit SoundFileSource(const std::filesystem::path& path, int leftChannel = 0,
                           std::optional<int> rightChannel = std::nullopt);
  ~SoundFileSource() override;
  SoundFileSource(const SoundFileSource&) = delete;
  SoundFileSource& operator=(const SoundFileSource&) = delete;

  std::size_t NextBlock(StereoBlockBuffer block) override;
  std::optional<double> DurationSeconds() const override;
  std::optional<std::string> Defect() const override;

  int SampleRate() const { return sampleRate_; }
  int Channels() const { return channels_; }

 private:
  // Tops up the pending 44 100 Hz frames; false once the input has nothing more.
  bool Refill();
  void CheckForTruncation();
  bool LengthKnown() const;

  sf_private_tag* file_ = nullptr;
  std::filesystem::path path_;
  int sampleRate_ = 0;
  int channels_ = 0;
  std::int64_t declaredFrames_ = 0;
  std::int64_t framesRead_ = 0;
  std::size_t leftChannel_ = 0;
  std::size_t rightChannel_ = 0;
  std::vector<float> readBuffer_;
  std::unique_ptr<ResampledChannels> pending_;
  bool inputEnded_ = false;
  std::optional<std::string> defect_;
};

}  // namespace seaherald::decodetool
