#pragma once

#include <string>

#include "msglog/MessageLog.h"

namespace seaherald::decodetool {

// What became of the messages of one run.
struct FilingSummary {
  FilingCounts counts;
  // Messages still open when the input ended; like a message open at the window's shutdown,
  // they are not filed.
  int unfinished = 0;
};

// The summary for standard error: a heading naming the folder (and, with two receivers, the
// channel), then one line per outcome.
std::string DescribeFiling(const FilingSummary& summary, const std::string& folder,
                           const std::string& channel = {});

}  // namespace seaherald::decodetool
