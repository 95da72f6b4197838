#pragma once

#include <string>

#include "platform/CodePage.h"

namespace seaherald {

// UTF-8 for Shift-JIS text that is only shown. Byte pairs that are no character (noise decodes to
// any JIS value) and a lone lead byte at the end become U+FFFD, so nothing is silently lost.
std::string ShowableUtf8(const CodePageConverter& converter, const std::string& shiftJis);

}  // namespace seaherald
