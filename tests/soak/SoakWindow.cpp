#include "tests/soak/SoakWindow.h"

namespace seaherald::soak {

SoakWindow::SoakWindow(const Settings& settings, const LocalDateTime& start,
                       const std::filesystem::path& logFolder)
    : settings_(settings),
      centerFrequency_(settings_.CentF * 10.0),
      clock_(start),
      folder_(logFolder),
      browser_(settings_, clock_, folder_, view_, dialogs_),
      log_(settings_, clock_, folder_, status_, dialogs_, &browser_),
      ledger_(settings_, clock_, folder_),
      observer_(log_, ledger_),
      handler_(
          DecoderSettings{settings_.DecLang, settings_.DecInv, settings_.AutoSet, centerFrequency_},
          *this, settings_, clock_, *this),
      bitmap_(SpectrumBitmapWidth, SpectrumBitmapHeight) {}

void SoakWindow::Start() {
  browser_.Start();
  if (settings_.AutoLogDelete) AutoDeleteLogs();
}

void SoakWindow::ProcessBlock(StereoBlock block) {
  handler_.ProcessBlock(block);
  clock_.CountBlock();
}

void SoakWindow::Close() {
  if (settings_.AutoLogDelete) AutoDeleteLogs();
}

void SoakWindow::ClickRow(int row) {
  view_.SelectRow(row);
  browser_.ShowStoredMessage();
}

void SoakWindow::AddReceivedLine(const std::string& line, bool cut) {
  observer_.AddReceivedLine(line, cut);
}

void SoakWindow::ShowLiveLine(const std::string& line) {
  observer_.ShowLiveLine(line);
}

void SoakWindow::OnBlockDecoded() {
  spectrum_.UpdateSpectrum(handler_.GetDecoder().DisplaySamples());
}

void SoakWindow::DiscardMessage() {
  observer_.DiscardMessage();
}

void SoakWindow::AutoDeleteLogs() {
  ledger_.BeforeAutoDelete();
  browser_.AutoDeleteLogs();
  ledger_.AfterAutoDelete();
}

void SoakWindow::SetLamp(bool lime) {
  if (lime) ++limeBlocks_;
}

void SoakWindow::OnBlockDone() {
  spectrum_.DrawSpectrum(handler_.GetDecoder().TuningOffset(), bitmap_);
}

}  // namespace seaherald::soak
