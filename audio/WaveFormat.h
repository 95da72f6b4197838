#pragma once

#include <cstddef>

#include "decoder/BlockConstants.h"

namespace seaherald {

// The one format of capture and monitor output, in the fields of the classic wave header.
struct WaveFormat {
  int formatTag = 1;  // PCM
  int channels = 0;
  int samplesPerSec = 0;
  int avgBytesPerSec = 0;
  int blockAlign = 0;
  int bitsPerSample = 0;
  int cbSize = 0;
};

constexpr WaveFormat MakeWaveFormat(int samplesPerSec, int bitsPerSample, int channels) {
  WaveFormat format;
  format.channels = channels;
  format.samplesPerSec = samplesPerSec;
  format.bitsPerSample = bitsPerSample;
  format.blockAlign = bitsPerSample / 8 * channels;
  format.avgBytesPerSec = bitsPerSample / 8 * samplesPerSec * channels;
  return format;
}

// Bytes of one buffer: one block of frames in the given format.
constexpr int BlockBytesOf(const WaveFormat& format) {
  return format.bitsPerSample / 8 * format.channels * BlockFrames;
}

inline constexpr WaveFormat CaptureWaveFormat = MakeWaveFormat(DecoderInputRate, 16, 2);
inline constexpr int BlockBytes = BlockBytesOf(CaptureWaveFormat);
inline constexpr int BlockSamples = BlockFrames * 2;  // interleaved 16-bit samples per buffer
inline constexpr int BufferCount = 32;                // buffers in each ring

static_assert(BlockBytes == 17640);
static_assert(BlockSamples * 2 == BlockBytes);

}  // namespace seaherald
