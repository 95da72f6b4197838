#pragma once

#include <cstdint>
#include <random>

#include "tests/soak/SoakWindow.h"

namespace seaherald::soak {

// Someone at the window now and then: clicks a tree node, a row of the list, a tab or a column
// heading, at random but reproducibly.
class SoakUser {
 public:
  explicit SoakUser(std::uint32_t seed) : random_(seed) {}
  void Act(SoakWindow& window);

 private:
  int Below(int limit) { return std::uniform_int_distribution<int>(0, limit - 1)(random_); }
  std::mt19937 random_;
};

}  // namespace seaherald::soak
