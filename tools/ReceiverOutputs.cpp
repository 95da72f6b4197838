#include "tools/ReceiverOutputs.h"

#include "relay/NavtexFrequency.h"

namespace seaherald::decodetool {

ReceiverOutputs::ReceiverOutputs(const DecodeOptions& options, NavtexFrequency frequency2,
                                 LineSink& lines, LinePrinter& printer, JsonLinePrinter& json,
                                 CompletionFanOut& completions) {
  const ChannelChoice& channels = options.channels;
  two_ = channels.second.has_value();
  completion_ = completions.Empty() ? nullptr : &completions;
  lines_[0] = lines_[1] = &lines;
  if (!two_) return;
  const std::array<std::string, 2> names{channels.firstName, channels.secondName};
  const std::array<double, 2> khz{Kilohertz(options.frequency), Kilohertz(frequency2)};
  for (std::size_t i = 0; i < 2; ++i) {
    if (&lines == &printer) {
      named_[i] = std::make_unique<NamedLines>(printer, names[i]);
      lines_[i] = named_[i].get();
    } else if (&lines == &json) {
      jsonLines_[i] = std::make_unique<ChannelJsonLines>(json, names[i]);
      lines_[i] = jsonLines_[i].get();
    }
    if (completion_ != nullptr) {
      stamps_[i] = std::make_unique<ChannelStamp>(completions, names[i], khz[i]);
    }
  }
}

}  // namespace seaherald::decodetool
