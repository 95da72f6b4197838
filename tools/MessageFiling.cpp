#include "tools/MessageFiling.h"

#include <system_error>

namespace seaherald::decodetool {

MessageFiling::MessageFiling(const Settings& settings, const LocalClock& clock,
                             const std::optional<FilingTarget>& target,
                             MessageCompletionListener* completion)
    : folder_(target ? target->folder : std::filesystem::path()),
      dialogs_(target ? target->report : [](const std::string&) {}),
      log_(settings, clock, folder_, status_, dialogs_, nullptr, text_) {
  log_.SetWritesFiles(target.has_value());
  log_.SetCompletionListener(completion);
}

FilingSummary MessageFiling::Summary() const {
  return {log_.Counts(), log_.CurrentHeader().empty() ? 0 : 1};
}

std::optional<std::string> CreateLogFolder(const std::filesystem::path& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  std::error_code ignored;
  if (std::filesystem::is_directory(folder, ignored)) return std::nullopt;
  if (!error) error = std::make_error_code(std::errc::not_a_directory);
  return "cannot create log folder '" + folder.string() + "': " + error.message();
}

}  // namespace seaherald::decodetool
