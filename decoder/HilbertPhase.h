#pragma once

#include <cmath>
#include <numbers>

namespace seaherald {

// Phase of the analytic pair (in-phase as ordinate, quadrature as abscissa), in (-pi, pi]. A zero
// component gives no usable phase (silence would be 0/0, and a signed zero would flip the result
// to pi), so it counts as phase 0.
inline double HilbertPhase(double inPhase, double quadrature) {
  if (inPhase == 0.0 || quadrature == 0.0) return 0.0;
  return std::atan2(inPhase, quadrature);
}

// Phase step from the previous sample to the current one, less the step of the shifted centre
// (2 pi 1500 / 4410 rad per sample): positive for a tone above 1500 Hz.
inline constexpr double CentrePhaseStep = 2.137137859584893;

inline double PhaseDeviation(double previous, double current) {
  double d = previous - current;
  if (d < 0) d += 2 * std::numbers::pi;
  return d - CentrePhaseStep;
}

}  // namespace seaherald
