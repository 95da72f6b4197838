#pragma once

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <vector>

namespace seaherald::decodetool {

// Forgets the samples of both channels already handed out (`start` of them) once they are a good
// share of the buffers, so that the buffers stay small however long the input runs. The right
// channel may hold fewer samples than the left.
inline void DropHandedOut(std::vector<float>& left, std::vector<float>& right, std::size_t& start,
                          std::size_t threshold) {
  if (start < threshold) return;
  left.erase(left.begin(), left.begin() + static_cast<std::ptrdiff_t>(start));
  const std::size_t rightDone = std::min(start, right.size());
  right.erase(right.begin(), right.begin() + static_cast<std::ptrdiff_t>(rightDone));
  start = 0;
}

}  // namespace seaherald::decodetool
