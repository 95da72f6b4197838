#include "tools/FilingSummary.h"

#include <array>
#include <utility>

namespace seaherald::decodetool {

std::string DescribeFiling(const FilingSummary& summary, const std::string& folder,
                           const std::string& channel) {
  const FilingCounts& c = summary.counts;
  const std::array<std::pair<int, const char*>, 11> outcomes{{
      {c.written, "filed as a new log file"},
      {c.replaced, "replaced a stored copy with as many or more errors"},
      {c.keptOlder, "dropped: the stored copy has fewer errors"},
      {c.keptReadOnly, "dropped: the stored copy is read-only"},
      {c.tooManyErrors, "dropped: too many lines cut short (ErrNum)"},
      {c.discarded, "dropped: time-out before the end marker"},
      {c.interrupted, "dropped: a new start marker before the end marker"},
      {c.newBroadcast, "dropped: a new broadcast's phasing before the end marker"},
      {summary.unfinished, "dropped: the input ended before the end marker"},
      {c.writeFailed, "not filed: the log file could not be written"},
      {c.notTaken, "not taken: station or type not selected (--stations, --types)"},
  }};
  std::string text = "seaherald-decode: messages ";
  if (!channel.empty()) text.append("of channel ").append(channel).append(" ");
  text.append("in '").append(folder).append("':\n");
  for (const auto& [count, outcome] : outcomes) {
    std::string number = std::to_string(count);
    number.insert(0, number.size() < 6 ? 6 - number.size() : 0, ' ');
    text.append(number).append(" ").append(outcome).append("\n");
  }
  return text;
}

}  // namespace seaherald::decodetool
