#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tests/roundtrip/Receiver.h"
#include "tests/support/TestSignal.h"
#include "tests/support/Transmission.h"

namespace seaherald::roundtrip {

// Message texts used across the round-trip tests. Every line ends with CR LF as on the air.
inline constexpr std::string_view EnglishMessageText =
    "ZCZC GA12\r\nQUICK BROWN FOX 1234\r\nJUMPS OVER THE LAZY DOG.\r\nNNNN\r\n";
inline constexpr std::string_view JapaneseMessageUtf8 =
    "ＺＣＺＣ　ＧＡ１２３\r\n航行警報　第１２３号\r\n日本海西部　北緯３８度\r\nＮＮＮＮ\r\n";

testsignal::Transmission EnglishBroadcast(std::string_view text = EnglishMessageText);
// `utf8` is converted to Shift-JIS.
testsignal::Transmission JapaneseBroadcast(std::string_view utf8 = JapaneseMessageUtf8);

// The lines a receiver should hand over for a text sent without errors: the text between line
// ends, empty lines left out, none cut.
std::vector<ReceivedLine> LinesOf(std::string_view text);
std::vector<ReceivedLine> LinesOf(const testsignal::Transmission& transmission);

// 16-bit audio of the broadcasts, one after the other.
std::vector<std::int16_t> AudioOf(std::span<const testsignal::Transmission> transmissions,
                                  const testsignal::SignalOptions& options = {});
std::vector<std::int16_t> AudioOf(const testsignal::Transmission& transmission,
                                  const testsignal::SignalOptions& options = {});

// Byte offset of the `occurrence`-th (0-based) appearance of `what` in the transmission's text.
std::size_t OffsetOf(const testsignal::Transmission& transmission, std::string_view what,
                     int occurrence = 0);

}  // namespace seaherald::roundtrip
