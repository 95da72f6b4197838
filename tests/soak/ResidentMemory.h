#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace seaherald::soak {

// Resident set size of this process in bytes, from /proc/self/statm; nothing where that file
// cannot be read.
std::optional<std::uint64_t> ResidentBytes();

// The resident pages field of a statm line ("size resident shared text lib data dt").
std::optional<std::uint64_t> ResidentPagesOfStatm(std::string_view statm);

// Resident sizes sampled through a run. Samples before the warm-up ends fill the caches and
// the log folder's first listings; after it, the size must stay within the slack of the
// first sample taken after warm-up.
class MemoryWatch {
 public:
  explicit MemoryWatch(std::uint64_t slackBytes) : slack_(slackBytes) {}

  void Sample(std::uint64_t bytes, bool warmedUp);

  bool HasBaseline() const { return baseline_.has_value(); }
  std::uint64_t First() const { return first_; }
  std::uint64_t Baseline() const { return baseline_.value_or(0); }
  std::uint64_t Peak() const { return peak_; }
  std::uint64_t Last() const { return last_; }
  // Peak after warm-up above the baseline (0 when below).
  std::uint64_t Growth() const;
  bool Flat() const { return Growth() <= slack_; }

 private:
  std::uint64_t slack_;
  std::uint64_t first_ = 0;
  std::optional<std::uint64_t> baseline_;
  std::uint64_t peak_ = 0;
  std::uint64_t last_ = 0;
  bool any_ = false;
};

}  // namespace seaherald::soak
