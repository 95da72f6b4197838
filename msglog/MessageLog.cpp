#include "msglog/MessageLog.h"

#include <vector>

#include "msglog/Catalogue.h"
#include "msglog/LogFileFormat.h"
#include "msglog/LogFileReader.h"
#include "msglog/MessageHeader.h"
#include "platform/CodePage.h"

namespace seaherald {
namespace {

constexpr int kPanelLiveLine = 0;
constexpr int kPanelHeader = 1;
constexpr int kPanelStation = 2;
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kCutLineEnd = "...\r\n";
constexpr std::string_view kLogSuffix = ".txt";

}  // namespace

MessageLog::MessageLog(const Settings& settings, const LocalClock& clock, const LogFolder& folder,
                       StatusView& status, DialogService& dialogs, MessageLogListener* listener,
                       const UiText& text)
    : settings_(settings),
      clock_(clock),
      folder_(folder),
      status_(status),
      dialogs_(dialogs),
      listener_(listener),
      text_(text) {}

void MessageLog::AddReceivedLine(const std::string& line, bool cut) {
  status_.SetStatusText(kPanelLiveLine, "");
  const MarkerMatch match = FindMarker(line);
  if (match.IsStart()) StartMessage(line, match.position);
  if (match.IsEnd()) EndMessage();
  AppendReceived(line, cut);
  if (match.marker == Marker::kNone && !currentHeader_.empty()) {
    messageBody_.append(line).append(cut ? kCutLineEnd : kLineEnd);
    if (cut) ++errorCount_;
  }
  if (listener_ != nullptr) listener_->ReceivedTextChanged(receivedText_);
}

void MessageLog::ShowLiveLine(const std::string& line) {
  status_.SetStatusText(kPanelLiveLine, line);
}

void MessageLog::PhasingSeen() {
  if (currentHeader_.empty()) return;
  ++counts_.newBroadcast;
  ClearMessage();
}

void MessageLog::DiscardMessage() {
  if (!currentHeader_.empty()) ++counts_.discarded;
  ClearMessage();
}

void MessageLog::StartMessage(std::string_view line, std::size_t markerPosition) {
  if (!currentHeader_.empty()) ++counts_.interrupted;
  const bool english = settings_.DecLang;
  std::optional<std::string> header = HeaderOfStartLine(line, markerPosition, english);
  currentHeader_ = header ? *std::move(header) : std::string();
  messageBody_.clear();
  errorCount_ = 0;
  // A rejected header also clears the station: the panel must not name a message that is gone.
  std::string station;
  if (!currentHeader_.empty()) {
    const int lang = english ? 0 : 1;
    const std::string_view b1 = Catalogue::LetterB1(lang, currentHeader_);
    station = watch_ != nullptr
                  ? watch_->area.NameOf(lang, b1, text_.NameLang())
                  : Catalogue::BaseName(text_.NameLang(), Catalogue::BaseOfLetter(lang, b1));
  }
  status_.SetStatusText(kPanelStation, station);
  status_.SetStatusText(kPanelHeader, currentHeader_);
}

void MessageLog::EndMessage() {
  if (!currentHeader_.empty() && !messageBody_.empty() && watch_ != nullptr &&
      !watch_->selection.Takes(currentHeader_)) {
    ++counts_.notTaken;
  } else if (!currentHeader_.empty() && !messageBody_.empty()) {
    const LocalDateTime now = clock_.Now();
    FilingOutcome outcome = FilingOutcome::kTooManyErrors;
    if (!settings_.ErrSave || errorCount_ < settings_.ErrNum) {
      outcome = SaveMessage(now);
    } else {
      ++counts_.tooManyErrors;
    }
    if (completion_ != nullptr) {
      // The header's own form tells its language: DecLang may have changed since the start.
      const int lang = Catalogue::LangOfFileName(currentHeader_);
      std::string stationName;
      if (watch_ != nullptr && watch_->area.Chosen() && lang == 0)
        stationName = watch_->area.NameOf(lang, Catalogue::LetterB1(lang, currentHeader_), 0);
      const bool alarm =
          RaisesAlarm(currentHeader_, watch_ != nullptr ? watch_->alarmTypes : std::string());
      completion_->MessageCompleted({currentHeader_, lang, messageBody_, errorCount_, now, outcome,
                                     std::move(stationName), alarm});
    }
  }
  ClearMessage();
}

FilingOutcome MessageLog::SaveMessage(const LocalDateTime& now) {
  if (!writesFiles_) return FilingOutcome::kNotFiling;
  const std::string content = ComposeLogFile(now, errorCount_, messageBody_);
  // Anything under the header's name counts, a broken link included: a copy that cannot be read.
  const std::vector<LogEntry> copies = folder_.CopiesOf(currentHeader_);
  if (!copies.empty()) {
    // Of two receptions of one header keep the one with fewer errors; the newer on a tie.
    const LogEntry& stored = copies.front();
    const std::optional<int> storedCount = StoredCountOfFile(stored.path);
    FilingOutcome outcome = FilingOutcome::kWriteFailed;
    if (!storedCount) {
      // The stored copy cannot be read just now: it is kept, and the user told that the new
      // reception was not filed.
      ReportWriteFailure(stored.name);
    } else if (*storedCount >= errorCount_) {
      // Under the stored copy's own name, so that the header never has two files.
      if (WriteLogFile(stored.name, content)) {
        ++counts_.replaced;
        outcome = FilingOutcome::kReplaced;
      }
    } else {
      ++counts_.keptOlder;
      outcome = FilingOutcome::kKeptOlder;
    }
    if (listener_ != nullptr) listener_->LogFileConsidered();
    return outcome;
  }
  if (!WriteLogFile(currentHeader_ + std::string(kLogSuffix), content))
    return FilingOutcome::kWriteFailed;
  ++counts_.written;
  if (listener_ != nullptr) listener_->LogFileCreated();
  return FilingOutcome::kWritten;
}

bool MessageLog::WriteLogFile(const std::string& name, const std::string& content) {
  if (folder_.WriteFile(name, content)) return true;
  ReportWriteFailure(name);
  return false;
}

void MessageLog::ReportWriteFailure(const std::string& name) {
  ++counts_.writeFailed;
  const std::filesystem::path shownPath = folder_.PathOf(name).value_or(folder_.Path() / "?");
  dialogs_.Beep();
  dialogs_.ShowError(
      Compose(text_.Translate(Cp932Text("%1 に書き込めません")), {folder_.DisplayPath(shownPath)}));
}

void MessageLog::AppendReceived(std::string_view line, bool cut) {
  receivedText_.append(line).append(cut ? kCutLineEnd : kLineEnd);
  if (receivedText_.size() <= kReceivedTextLimit) return;
  // The text always starts on a character boundary, so stepping by characters from the front
  // never splits a double-byte character.
  const std::size_t excess = receivedText_.size() - kReceivedTextLimit;
  std::size_t cutAt = 0;
  while (cutAt < excess)
    cutAt += ShiftJisCharLength(receivedText_, cutAt);
  receivedText_.erase(0, cutAt);
}

void MessageLog::ClearMessage() {
  currentHeader_.clear();
  messageBody_.clear();
  errorCount_ = 0;
  status_.SetStatusText(kPanelHeader, "");
  status_.SetStatusText(kPanelStation, "");
}

}  // namespace seaherald
