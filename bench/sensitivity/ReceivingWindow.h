#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "app/Settings.h"
#include "audio/BlockHandler.h"
#include "audio/RecordingClock.h"
#include "bench/sensitivity/SweepPoint.h"
#include "msglog/MessageLog.h"

namespace seaherald::sensitivity {

// How the receiver is set: the program's defaults (automatic language and polarity, starting in
// Japanese), or set by hand to the language sent with the automatic mode off.
enum class ReceiverMode { Automatic, FixedLanguage };

// A folder of its own under `root`, removed with everything in it.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::filesystem::path& root);
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// The window's receive path with the program's default settings apart from the mode and the
// path: block handler, message log and log folder, the clock driven by the audio. Records the
// lines it passes on and a digest of the audio it was given.
class ReceivingWindow final : private LineSink, private BlockHandlerListener {
 public:
  ReceivingWindow(const std::filesystem::path& logFolder, ReceivePath path, ReceiverMode mode,
                  testsignal::Language language);

  // Mono 16-bit audio at 44 100 Hz into the left channel, block by block; a last part block is
  // filled with silence.
  void Feed(std::span<const std::int16_t> mono);

  // Forgets the lines handed over so far (and their cut count), not the log folder.
  void ForgetLines() {
    lines_.clear();
    cutLines_ = 0;
  }
  const std::vector<std::string>& Lines() const { return lines_; }
  int CutLines() const { return cutLines_; }
  const LogFolder& Folder() const { return folder_; }
  std::uint64_t AudioDigest() const { return digest_; }

 private:
  static Settings SettingsFor(ReceivePath path, ReceiverMode mode, testsignal::Language language);

  void AddReceivedLine(const std::string& line, bool cut) override;
  void AddUnsureLine(const std::string& line, bool cut, const UnsureBytes& unsure) override;
  void ShowLiveLine(const std::string& line) override { log_.ShowLiveLine(line); }
  void OnBlockDecoded() override {}
  void ShowClock(const std::string&) override {}
  void DiscardMessage() override { log_.DiscardMessage(); }
  void AutoDeleteLogs() override {}
  void SetLamp(bool) override {}
  void OnBlockDone() override {}

  class QuietStatus final : public StatusView {
   public:
    void SetStatusText(int, const std::string&) override {}
  };
  // A write failure would spoil the figures; it is reported rather than hidden.
  class FailingDialogs final : public DialogService {
   public:
    void Beep() override {}
    void ShowError(const std::string&) override;
    void ShowInformation(const std::string&) override {}
    bool Confirm(const std::string&) override { return false; }
  };

  Settings settings_;
  double centerFrequency_ = settings_.CentF * 10.0;
  RecordingClock clock_{LocalDateTime{2026, 3, 12, 9, 0, 0}};
  LogFolder folder_;
  QuietStatus status_;
  FailingDialogs dialogs_;
  MessageLog log_;
  BlockHandler handler_;
  std::vector<std::string> lines_;
  int cutLines_ = 0;
  std::uint64_t digest_ = 14695981039346656037ull;  // FNV-1a offset basis
};

}  // namespace seaherald::sensitivity
