#pragma once

#include <string>
#include <string_view>

namespace seaherald::testsignal {

// UTF-8 to Shift-JIS (code page 932) and back, for writing test texts as readable literals.
// Throws std::invalid_argument for text that has no mapping.
std::string Utf8ToShiftJis(std::string_view utf8);
std::string ShiftJisToUtf8(std::string_view shiftJis);

}  // namespace seaherald::testsignal
