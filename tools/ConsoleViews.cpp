#include "tools/ConsoleViews.h"

#include "platform/ShowableUtf8.h"

namespace seaherald::decodetool {

void ReportingDialogs::ShowError(const std::string& sjis) {
  report_(ShowableUtf8(converter_, sjis));
}

void ReportingDialogs::ShowInformation(const std::string& sjis) {
  report_(ShowableUtf8(converter_, sjis));
}

}  // namespace seaherald::decodetool
