#include "tests/soak/ResidentMemory.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <fstream>
#include <string>

namespace seaherald::soak {

std::optional<std::uint64_t> ResidentPagesOfStatm(std::string_view statm) {
  const std::size_t space = statm.find(' ');
  if (space == std::string_view::npos) return std::nullopt;
  const std::string_view rest = statm.substr(space + 1);
  std::uint64_t pages = 0;
  const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), pages);
  if (error != std::errc() || end == rest.data()) return std::nullopt;
  return pages;
}

std::optional<std::uint64_t> ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  std::string line;
  if (!std::getline(statm, line)) return std::nullopt;
  const std::optional<std::uint64_t> pages = ResidentPagesOfStatm(line);
  const long pageSize = ::sysconf(_SC_PAGESIZE);
  if (!pages || pageSize <= 0) return std::nullopt;
  return *pages * static_cast<std::uint64_t>(pageSize);
}

void MemoryWatch::Sample(std::uint64_t bytes, bool warmedUp) {
  if (!any_) first_ = bytes;
  any_ = true;
  last_ = bytes;
  if (!warmedUp) return;
  if (!baseline_) baseline_ = bytes;
  peak_ = std::max(peak_, bytes);
}

std::uint64_t MemoryWatch::Growth() const {
  if (!baseline_ || peak_ <= *baseline_) return 0;
  return peak_ - *baseline_;
}

}  // namespace seaherald::soak
