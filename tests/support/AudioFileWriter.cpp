#include "tests/support/AudioFileWriter.h"

#include <sndfile.h>

#include <stdexcept>
#include <string>

namespace seaherald::testsignal {

void WriteAudioFile(const std::filesystem::path& path, std::span<const std::int16_t> samples,
                    int channels, int sampleRate, AudioFileType type) {
  SF_INFO info{};
  info.samplerate = sampleRate;
  info.channels = channels;
  info.format = (type == AudioFileType::Wav ? SF_FORMAT_WAV : SF_FORMAT_FLAC) | SF_FORMAT_PCM_16;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (file == nullptr) {
    throw std::runtime_error("cannot write " + path.string() + ": " + sf_strerror(nullptr));
  }
  const auto frames = static_cast<sf_count_t>(samples.size() / static_cast<std::size_t>(channels));
  const sf_count_t written = sf_writef_short(file, samples.data(), frames);
  const bool closed = sf_close(file) == 0;
  if (written != frames || !closed) throw std::runtime_error("short write to " + path.string());
}

}  // namespace seaherald::testsignal
