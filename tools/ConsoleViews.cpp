#include "tools/ConsoleViews.h"

#include "tools/Utf8Text.h"

namespace seaherald::decodetool {

void ReportingDialogs::ShowError(const std::string& sjis) {
  report_(ShowableUtf8(converter_, sjis));
}

void ReportingDialogs::ShowInformation(const std::string& sjis) {
  report_(ShowableUtf8(converter_, sjis));
}

}  // namespace seaherald::decodetool
