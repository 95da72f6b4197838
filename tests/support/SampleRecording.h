#pragma once

#include <string_view>
#include <vector>

#include "tests/support/TestSignal.h"
#include "tests/support/Transmission.h"

namespace seaherald::testsignal {

// The recording shipped as samples/navtex-sample.wav: an English broadcast and then a Japanese
// one, each with its phasing, on the default centre of 800 Hz with a little noise and mistuning,
// so that the receiver's default settings (automatic mode, starting in Japanese) decode both.
inline constexpr std::string_view SampleEnglishText =
    "ZCZC GA12\r\nNAHA NAVTEX TEST 1\r\nSEAHERALD SAMPLE RECORDING.\r\nNNNN\r\n";
inline constexpr std::string_view SampleJapaneseUtf8 =
    "ＺＣＺＣ　ＧＡ１３０\r\n航行警報　試験放送\r\nＮＮＮＮ\r\n";

std::vector<Transmission> SampleTransmissions();
SignalOptions SampleSignalOptions();

// Mono 16-bit samples at 44 100 Hz.
std::vector<std::int16_t> SampleRecording();

}  // namespace seaherald::testsignal
