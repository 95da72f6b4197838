#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace seaherald::fuzz {

enum class Service { English, Japanese };

// The bits of a broadcast of `text` (ASCII for English, Shift-JIS for Japanese, lines ended by
// CR LF) with `phasingPairs` phasing pairs before it and a few after, in the order of sending, as
// the demodulator hands them to the character decoder with normal polarity: every character
// sent in its DX position and again five positions later. Throws std::invalid_argument for a
// character the service cannot send.
std::vector<std::uint8_t> BroadcastBits(Service service, std::string_view text, int phasingPairs);

}  // namespace seaherald::fuzz
