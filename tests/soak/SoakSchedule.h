#pragma once

#include <cstdint>
#include <deque>
#include <random>
#include <string>

#include "tests/soak/SoakPlan.h"

namespace seaherald::soak {

// An endless, reproducible programme for the receiver: each broadcast is followed by one to
// three quiet stretches. Broadcasts come in both languages under varied conditions; about a
// quarter reuse a recent header, so that the rule of keeping the copy with fewer errors is
// exercised. About 35 broadcasts an hour.
class SoakSchedule {
 public:
  explicit SoakSchedule(std::uint32_t seed);

  Segment Next();
  // Makes a header of a stored log one of the recent ones, which later broadcasts may reuse.
  void RememberHeader(testsignal::Language language, const std::string& header);

 private:
  struct UsedHeader {
    testsignal::Language language;
    std::string header;
  };

  BroadcastPlan NextBroadcast();
  QuietPlan NextQuiet();
  Condition PickCondition();
  UsedHeader PickHeader();
  void Impair(BroadcastPlan& plan);
  double Uniform(double low, double high);
  int Below(int limit);
  bool Chance(double probability);

  std::mt19937 random_;
  int serial_ = 0;
  int quietLeft_ = 0;
  std::deque<UsedHeader> recentHeaders_;
};

// A header of the language: two letters and a serial (two digits in English, three in the
// Japanese service, full-width there), in Shift-JIS.
std::string RandomHeader(testsignal::Language language, std::mt19937& random);

}  // namespace seaherald::soak
