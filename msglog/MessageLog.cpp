#include "msglog/MessageLog.h"

#include <algorithm>
#include <vector>

#include "msglog/Catalogue.h"
#include "msglog/FolderLock.h"
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

bool AnyDoubtFrom(std::size_t first, Doubt least, const UnsureBytes& unsure) {
  return std::any_of(unsure.begin() + static_cast<std::ptrdiff_t>(std::min(first, unsure.size())),
                     unsure.end(), [least](Doubt doubt) { return doubt >= least; });
}

// Characters, not bytes, with at least the given doubt: a two-byte character is one.
int CharactersWith(Doubt least, std::string_view line, const UnsureBytes& unsure) {
  int count = 0;
  for (std::size_t at = 0; at < line.size() && at < unsure.size();) {
    const std::size_t length = ShiftJisCharLength(line, at);
    bool doubted = false;
    for (std::size_t i = at; i < at + length && i < unsure.size(); ++i)
      doubted = doubted || unsure[i] >= least;
    count += doubted ? 1 : 0;
    at += length;
  }
  return count;
}

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
      text_(text),
      decLang_(&settings.DecLang) {}

void MessageLog::AddReceivedLine(const std::string& line, bool cut) {
  TakeLine(line, cut, nullptr);
}

void MessageLog::AddUnsureLine(const std::string& line, bool cut, const UnsureBytes& unsure) {
  TakeLine(line, cut, &unsure);
}

void MessageLog::TakeLine(const std::string& line, bool cut, const UnsureBytes* unsure) {
  status_.SetStatusText(kPanelLiveLine, "");
  const MarkerMatch match = FindMarker(line);
  if (match.IsStart()) {
    // A marker read wrong starts nothing (noise does not spell one), but a header read wrong
    // files under another message: the header must be sure.
    const std::size_t header = match.position - 1 + HeaderOffset(*decLang_);
    const bool headerSure = unsure == nullptr || !AnyDoubtFrom(header, Doubt::kDoubtful, *unsure);
    StartMessage(line, match.position, headerSure);
  }
  if (match.IsEnd()) {
    // Text before the end marker is a body line whose line end was lost: it is not stored, so it
    // counts as an error, as a cut line does (else a copy missing it ties a whole one).
    const bool lostLineEnd = match.position > 1 && !currentHeader_.empty();
    if (lostLineEnd) ++errorCount_;
    // A doubt that reaches the end marker is about the message: a line end read for a character
    // just before it, or a marker letter put back.
    const bool guessed = unsure != nullptr && !currentHeader_.empty() && CountDoubts(line, *unsure);
    if (lostLineEnd || guessed) ++damagedLines_;
    EndMessage();
  }
  AppendReceived(line, cut);
  if (match.marker == Marker::kNone && !currentHeader_.empty()) {
    messageBody_.append(line).append(cut ? kCutLineEnd : kLineEnd);
    if (cut) ++errorCount_;
    const bool guessed = unsure != nullptr && CountDoubts(line, *unsure);
    if (cut || guessed) ++damagedLines_;
  }
  if (listener_ != nullptr) listener_->ReceivedTextChanged(receivedText_);
}

bool MessageLog::CountDoubts(const std::string& line, const UnsureBytes& unsure) {
  const int guessed = CharactersWith(Doubt::kGuessed, line, unsure);
  errorCount_ += guessed;
  doubtful_ += CharactersWith(Doubt::kDoubtful, line, unsure);
  return guessed > 0;
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

void MessageLog::StartMessage(std::string_view line, std::size_t markerPosition, bool headerSure) {
  if (!currentHeader_.empty()) ++counts_.interrupted;
  const bool english = *decLang_;
  std::optional<std::string> header;
  if (headerSure) header = HeaderOfStartLine(line, markerPosition, english);
  currentHeader_ = header ? *std::move(header) : std::string();
  messageBody_.clear();
  errorCount_ = 0;
  damagedLines_ = 0;
  doubtful_ = 0;
  // A rejected header also clears the station: the panel must not name a message that is gone.
  std::string station;
  if (!currentHeader_.empty()) {
    const int lang = english ? 0 : 1;
    const std::string_view b1 = Catalogue::LetterB1(lang, currentHeader_);
    station = watch_ != nullptr
                  ? watch_->area.NameOf(lang, b1, text_.NameLang())
                  : Catalogue::BaseName(text_.NameLang(), Catalogue::BaseOfLetter(lang, b1));
  }
  status_.SetStatusText(kPanelStation, ShownStationName(std::move(station), text_));
  status_.SetStatusText(kPanelHeader, currentHeader_);
}

void MessageLog::EndMessage() {
  if (!currentHeader_.empty() && !messageBody_.empty() && watch_ != nullptr &&
      !watch_->selection.Takes(currentHeader_)) {
    ++counts_.notTaken;
  } else if (!currentHeader_.empty() && !messageBody_.empty()) {
    const LocalDateTime now = clock_.Now();
    FilingOutcome outcome = FilingOutcome::kTooManyErrors;
    if (!settings_.ErrSave || damagedLines_ < settings_.ErrNum) {
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
  bool considered = false;
  const FilingOutcome outcome =
      FileUnderLock(ComposeLogFile(now, errorCount_, messageBody_), considered);
  // Told once the lock is let go: the browser then rereads the folder, and another process must
  // not wait for that (after its patience it would file unlocked).
  if (listener_ != nullptr && outcome == FilingOutcome::kWritten) listener_->LogFileCreated();
  if (listener_ != nullptr && considered) listener_->LogFileConsidered();
  return outcome;
}

FilingOutcome MessageLog::FileUnderLock(const std::string& content, bool& considered) {
  // Another process filing into the same folder must not slip its copy in between the look at the
  // stored copy and the rename over it.
  folder_.CreateFolder();
  const FolderLock lock(folder_.Path());
  // Anything under the header's name counts, a broken link included: a copy that cannot be read.
  const std::vector<LogEntry> copies = folder_.CopiesOf(currentHeader_);
  if (!copies.empty()) {
    // Of two receptions of one header keep the one with fewer errors; the newer on a tie, unless
    // it holds characters the decoder was not sure of (the stored copy may have none).
    const LogEntry& stored = copies.front();
    const std::optional<int> storedCount = StoredCountOfFile(stored.path);
    FilingOutcome outcome = FilingOutcome::kWriteFailed;
    if (!storedCount) {
      // The stored copy cannot be read just now: it is kept, and the user told that the new
      // reception was not filed.
      ReportWriteFailure(stored.name);
    } else if (*storedCount > errorCount_ || (*storedCount == errorCount_ && doubtful_ == 0)) {
      // Under the stored copy's own name, so that the header never has two files.
      if (folder_.IsReadOnly(stored.path)) {
        outcome = KeepReadOnlyCopy(stored);
      } else if (WriteLogFile(stored.name, content)) {
        ++counts_.replaced;
        outcome = FilingOutcome::kReplaced;
      }
    } else {
      ++counts_.keptOlder;
      outcome = FilingOutcome::kKeptOlder;
    }
    considered = true;
    return outcome;
  }
  if (!WriteLogFile(currentHeader_ + std::string(kLogSuffix), content))
    return FilingOutcome::kWriteFailed;
  ++counts_.written;
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

// Not a failure: the user made the copy read-only to keep it. Told once per header, since every
// rebroadcast of it would tell the same again.
FilingOutcome MessageLog::KeepReadOnlyCopy(const LogEntry& stored) {
  ++counts_.keptReadOnly;
  if (toldReadOnly_.insert(currentHeader_).second) {
    const std::filesystem::path shownPath = folder_.PathOf(stored.name).value_or(stored.path);
    dialogs_.Beep();
    dialogs_.ShowError(Compose(text_.Translate(Cp932Text("%1 は読み取り専用のため置き換えません")),
                               {folder_.DisplayPath(shownPath)}));
  }
  return FilingOutcome::kKeptOlder;
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
  damagedLines_ = 0;
  doubtful_ = 0;
  status_.SetStatusText(kPanelHeader, "");
  status_.SetStatusText(kPanelStation, "");
}

}  // namespace seaherald
