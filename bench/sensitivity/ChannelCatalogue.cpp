#include "bench/sensitivity/ChannelCatalogue.h"

#include "bench/sensitivity/ReportText.h"

namespace seaherald::sensitivity {

ChannelModel RayleighChannel(double dopplerHz) {
  return {"rayleigh " + Format("%g", dopplerHz) + " Hz", testsignal::FlatRayleighPaths(dopplerHz)};
}

ChannelModel WattersonChannel(const WattersonCondition& condition) {
  return {"watterson " + std::string(condition.key) + " (" + Format("%g", condition.delayMs) +
              " ms, " + Format("%g", condition.spreadHz) + " Hz)",
          testsignal::WattersonPaths(condition.delayMs / 1000.0, condition.spreadHz)};
}

}  // namespace seaherald::sensitivity
