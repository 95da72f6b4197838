#include "tools/SoundFileSource.h"

#include <fcntl.h>

#include <sndfile.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <regex>
#include <sstream>

namespace seaherald::decodetool {
namespace {

constexpr sf_count_t ReadFrames = 8192;

// Opened once only: a second open of a FIFO would meet another writer, or none and block.
int OpenOnce(const std::filesystem::path& path) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) {
    throw InputError("cannot read '" + path.string() + "': it is a directory");
  }
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) {
    throw InputError("cannot open '" + path.string() + "': " + std::strerror(errno));
  }
  return descriptor;
}

// libsndfile shortens the frame count of a file whose data chunk claims more bytes than the file
// holds, and says so only in its log ("data : 88200 (should be 44078)"). A claimed length of
// 0xFFFFFFFF or similar marks a stream written without knowing its length, not a truncation.
bool LogShowsShortDataChunk(const std::string& log) {
  static const std::regex ShortChunk(
      R"((?:^|\n)\s*(?:data|SSND)\s*:\s*(\d+)\s*\(should be (\d+)\))");
  for (std::sregex_iterator it(log.begin(), log.end(), ShortChunk), end; it != end; ++it) {
    const unsigned long long claimed = std::stoull((*it)[1]);
    const unsigned long long present = std::stoull((*it)[2]);
    if (claimed > present && claimed < 0x7FFFFFF0ULL) return true;
  }
  return false;
}

std::string FormatSeconds(double seconds) {
  std::ostringstream text;
  text.setf(std::ios::fixed);
  text.precision(1);
  text << seconds << " s";
  return text.str();
}

}  // namespace

SoundFileSource::SoundFileSource(const std::filesystem::path& path, int leftChannel,
                                 std::optional<int> rightChannel)
    : path_(path) {
  const int descriptor = OpenOnce(path);
  SF_INFO info{};
  file_ = sf_open_fd(descriptor, SFM_READ, &info, SF_TRUE);
  if (file_ == nullptr) {
    throw InputError("cannot read '" + path.string() + "': not an audio format libsndfile knows (" +
                     sf_strerror(nullptr) + ")");
  }
  sampleRate_ = info.samplerate;
  channels_ = info.channels;
  declaredFrames_ = info.frames;
  if (channels_ < 1 || sampleRate_ <= 0 ||
      !StreamResampler::Supports(sampleRate_, DecoderInputRate)) {
    sf_close(file_);
    file_ = nullptr;
    throw InputError("cannot decode '" + path.string() + "': unusable sample rate " +
                     std::to_string(info.samplerate) + " Hz or channel count " +
                     std::to_string(info.channels));
  }
  const int highest = std::max(leftChannel, rightChannel.value_or(0));
  if (highest >= channels_) {
    sf_close(file_);
    file_ = nullptr;
    throw InputError("cannot decode channel " + std::to_string(highest + 1) + " of '" +
                     path.string() + "': it has " + std::to_string(info.channels) +
                     " channel(s) (--channel)");
  }
  leftChannel_ = static_cast<std::size_t>(leftChannel);
  rightChannel_ = static_cast<std::size_t>(rightChannel.value_or(channels_ > 1 ? 1 : 0));
  pending_ = std::make_unique<ResampledChannels>(sampleRate_, rightChannel.has_value());
  readBuffer_.resize(static_cast<std::size_t>(ReadFrames * channels_));
}

SoundFileSource::~SoundFileSource() {
  if (file_ != nullptr) sf_close(file_);
}

std::optional<double> SoundFileSource::DurationSeconds() const {
  if (!LengthKnown()) return std::nullopt;
  return static_cast<double>(declaredFrames_) / sampleRate_;
}

bool SoundFileSource::LengthKnown() const {
  return declaredFrames_ > 0 && declaredFrames_ != SF_COUNT_MAX;
}

std::optional<std::string> SoundFileSource::Defect() const {
  return defect_;
}

bool SoundFileSource::Refill() {
  if (inputEnded_) return false;
  const sf_count_t got = sf_readf_float(file_, readBuffer_.data(), ReadFrames);
  const auto frames = static_cast<std::size_t>(std::max<sf_count_t>(got, 0));
  framesRead_ += static_cast<std::int64_t>(frames);
  const auto channels = static_cast<std::size_t>(channels_);
  std::vector<float> left(frames);
  std::vector<float> right(frames);
  for (std::size_t f = 0; f < frames; ++f) {
    left[f] = readBuffer_[f * channels + leftChannel_];
    right[f] = readBuffer_[f * channels + rightChannel_];
  }
  inputEnded_ = got < ReadFrames;
  pending_->Take(left, right, inputEnded_);
  if (inputEnded_) CheckForTruncation();
  return true;
}

void SoundFileSource::CheckForTruncation() {
  std::string log(4096, '\0');
  sf_command(file_, SFC_GET_LOG_INFO, log.data(), static_cast<int>(log.size()));
  log.resize(std::strlen(log.c_str()));
  const bool readError = sf_error(file_) != SF_ERR_NO_ERROR;
  const bool shortOfFrames = LengthKnown() && framesRead_ < declaredFrames_;
  if (readError || shortOfFrames || LogShowsShortDataChunk(log)) {
    std::string message = "'";
    message += path_.string();
    message += "' is truncated";
    if (readError) message.append(" (").append(sf_strerror(file_)).append(")");
    message += ": decoded the ";
    message += FormatSeconds(static_cast<double>(framesRead_) / sampleRate_);
    message += " it holds";
    defect_ = message;
  }
}

std::size_t SoundFileSource::NextBlock(StereoBlockBuffer block) {
  while (pending_->Pending() < BlockFrames && Refill()) {
  }
  return pending_->Fill(block);
}

}  // namespace seaherald::decodetool
