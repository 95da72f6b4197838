#pragma once

#include <QAudioFormat>

#include "audio/WaveFormat.h"

namespace seaherald {

// The toolkit's description of a 16-bit PCM wave format.
inline QAudioFormat ToQAudioFormat(const WaveFormat& format) {
  QAudioFormat audioFormat;
  audioFormat.setSampleRate(format.samplesPerSec);
  audioFormat.setChannelCount(format.channels);
  audioFormat.setSampleFormat(QAudioFormat::Int16);
  return audioFormat;
}

}  // namespace seaherald
