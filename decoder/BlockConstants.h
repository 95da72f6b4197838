#pragma once

namespace seaherald {

inline constexpr int DecoderInputRate = 44100;  // Hz
inline constexpr int BlockFrames = 4410;        // samples per channel per block (0.1 s)
inline constexpr int DecimationFactor = 10;
inline constexpr int DecimatedBlockSamples = BlockFrames / DecimationFactor;
inline constexpr int DecoderChannelCount = 2;

}  // namespace seaherald
