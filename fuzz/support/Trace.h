#pragma once

#include <string_view>

namespace seaherald::fuzz {

// With SEAHERALD_FUZZ_TRACE set, a harness prints what it sees (decoded lines, filings) to
// stderr, so that a seed or a crashing input can be followed by hand. Bytes outside printable
// ASCII are shown as \xNN.
bool TraceEnabled();
void Trace(std::string_view what, std::string_view bytes);

}  // namespace seaherald::fuzz
