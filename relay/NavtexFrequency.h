#pragma once

#include <optional>
#include <string_view>

namespace seaherald {

// The frequency the receiver is tuned to: the three of the international service, and 424 kHz
// of the Japanese-language service.
enum class NavtexFrequency { k490, k518, k4209, k424 };

// "490", "518", "4209", "4209.5" or "424" (kHz); nothing for anything else.
std::optional<NavtexFrequency> ParseNavtexFrequency(std::string_view kilohertz);

// The frequency in kHz: 490, 518, 4209.5 or 424.
double Kilohertz(NavtexFrequency frequency);
// The other way round; nothing for a value that is none of the four.
std::optional<NavtexFrequency> FrequencyOfKilohertz(double kilohertz);

// The NRX sentence's frequency index ("1", "2", "3"); empty for 424 kHz, which has no code.
std::string_view NrxFrequencyIndex(NavtexFrequency frequency);

}  // namespace seaherald
