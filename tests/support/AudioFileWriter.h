#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

namespace seaherald::testsignal {

enum class AudioFileType { Wav, Flac };

// Writes 16-bit PCM frames (interleaved when channels > 1) through libsndfile. Throws
// std::runtime_error when the file cannot be written.
void WriteAudioFile(const std::filesystem::path& path, std::span<const std::int16_t> samples,
                    int channels, int sampleRate, AudioFileType type);

}  // namespace seaherald::testsignal
