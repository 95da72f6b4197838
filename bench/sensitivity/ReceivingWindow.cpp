#include "bench/sensitivity/ReceivingWindow.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <stdexcept>

namespace seaherald::sensitivity {

ScratchFolder::ScratchFolder(const std::filesystem::path& root) {
  std::string pattern = (root / "run-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("cannot create a folder under " + root.string());
  }
  path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void ReceivingWindow::FailingDialogs::ShowError(const std::string&) {
  throw std::runtime_error("the message log could not write into the scratch folder");
}

ReceivingWindow::ReceivingWindow(const std::filesystem::path& logFolder, ReceivePath path,
                                 ReceiverMode mode, testsignal::Language language)
    : settings_(SettingsFor(path, mode, language)),
      folder_(logFolder),
      log_(settings_, clock_, folder_, status_, dialogs_),
      handler_(DecoderSettings{settings_.DecLang, settings_.DecInv, settings_.AutoSet,
                               centerFrequency_, settings_.DecSens},
               *this, settings_, clock_, *this) {}

Settings ReceivingWindow::SettingsFor(ReceivePath path, ReceiverMode mode,
                                      testsignal::Language language) {
  Settings settings;
  settings.DecSens = path == ReceivePath::Sensitive;
  if (mode == ReceiverMode::FixedLanguage) {
    settings.AutoSet = false;
    settings.DecLang = language == testsignal::Language::English;
  }
  return settings;
}

void ReceivingWindow::Feed(std::span<const std::int16_t> mono) {
  std::array<std::int16_t, BlockFrames * 2> stereo{};
  for (std::size_t start = 0; start < mono.size(); start += BlockFrames) {
    stereo.fill(0);
    const std::size_t count = std::min<std::size_t>(BlockFrames, mono.size() - start);
    for (std::size_t frame = 0; frame < BlockFrames; ++frame) {
      if (frame < count) stereo[frame * 2] = mono[start + frame];
      const auto bits = static_cast<std::uint16_t>(stereo[frame * 2]);
      digest_ = (digest_ ^ (bits & 0xffu)) * 1099511628211ull;
      digest_ = (digest_ ^ (bits >> 8)) * 1099511628211ull;
    }
    handler_.ProcessBlock(stereo);
    clock_.CountBlock();
  }
}

void ReceivingWindow::AddReceivedLine(const std::string& line, bool cut) {
  lines_.push_back(line);
  if (cut) ++cutLines_;
  log_.AddReceivedLine(line, cut);
}

void ReceivingWindow::AddUnsureLine(const std::string& line, bool cut, const UnsureBytes& unsure) {
  lines_.push_back(line);
  if (cut) ++cutLines_;
  log_.AddUnsureLine(line, cut, unsure);
}

}  // namespace seaherald::sensitivity
