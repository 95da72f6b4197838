#include "relay/NavtexFrequency.h"

namespace seaherald {

std::optional<NavtexFrequency> ParseNavtexFrequency(std::string_view kilohertz) {
  if (kilohertz == "490") return NavtexFrequency::k490;
  if (kilohertz == "518") return NavtexFrequency::k518;
  if (kilohertz == "4209" || kilohertz == "4209.5") return NavtexFrequency::k4209;
  if (kilohertz == "424") return NavtexFrequency::k424;
  return std::nullopt;
}

double Kilohertz(NavtexFrequency frequency) {
  switch (frequency) {
    case NavtexFrequency::k490:
      return 490.0;
    case NavtexFrequency::k518:
      return 518.0;
    case NavtexFrequency::k4209:
      return 4209.5;
    case NavtexFrequency::k424:
      return 424.0;
  }
  return 518.0;
}

std::optional<NavtexFrequency> FrequencyOfKilohertz(double kilohertz) {
  for (const NavtexFrequency frequency : {NavtexFrequency::k490, NavtexFrequency::k518,
                                          NavtexFrequency::k4209, NavtexFrequency::k424}) {
    if (Kilohertz(frequency) == kilohertz) return frequency;
  }
  return std::nullopt;
}

std::string_view NrxFrequencyIndex(NavtexFrequency frequency) {
  switch (frequency) {
    case NavtexFrequency::k490:
      return "1";
    case NavtexFrequency::k518:
      return "2";
    case NavtexFrequency::k4209:
      return "3";
    case NavtexFrequency::k424:
      return "";
  }
  return "";
}

}  // namespace seaherald
