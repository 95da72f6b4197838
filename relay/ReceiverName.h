#pragma once

#include <string>

namespace seaherald {

// This machine's host name, which names the receiver to subscribers ("receiver" when it has
// none that a topic can carry).
std::string ReceiverName();

}  // namespace seaherald
