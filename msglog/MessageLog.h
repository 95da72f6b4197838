#pragma once

#include <cstddef>
#include <set>
#include <string>

#include "app/Settings.h"
#include "decoder/LineSink.h"
#include "msglog/CompletedMessage.h"
#include "msglog/DialogService.h"
#include "msglog/LogFolder.h"
#include "msglog/MessageLogListener.h"
#include "msglog/StatusView.h"
#include "msglog/UiText.h"
#include "msglog/Watch.h"
#include "platform/LocalClock.h"

namespace seaherald {

// Longest received text kept, in bytes; older text is dropped from the front.
inline constexpr std::size_t kReceivedTextLimit = 63998;

// How the messages completed so far were filed (for summaries such as the command-line
// decoder's).
struct FilingCounts {
  int written = 0;        // new log files
  int replaced = 0;       // an existing file replaced by a reception with as few or fewer errors
  int keptOlder = 0;      // dropped: the stored copy has fewer errors
  int keptReadOnly = 0;   // dropped: the stored copy is read-only, the user's wish to keep it
  int tooManyErrors = 0;  // dropped: ErrorCount reached ErrNum while ErrSave is on
  int writeFailed = 0;    // the file could not be written (or the stored copy not read); the
                          // user was told
  int discarded = 0;      // dropped by DiscardMessage (receive time-out) with a message open
  int interrupted = 0;    // dropped because another start marker came before the end marker
  int newBroadcast = 0;   // dropped at the phasing that begins a new transmission
  int notTaken = 0;       // dropped: its station or type is not among those the user takes
};

// Turns decoded lines into NAVTEX messages and files them. Keeps the running received text,
// finds the "ZCZC " / "NNNN" markers (single-byte and full-width), takes and checks the header
// in the format that DecLang names at that moment, collects the body, counts lines cut short as
// errors and at the end marker writes the message to the log folder, keeping of two receptions
// of one header the one with fewer errors.
//
// Settings are read at each use (DecLang, ErrSave, ErrNum), so changes act at once. A write
// failure is told through `dialogs` as a beep and "<path> に書き込めません". The listener, when
// given, hears of the received text and of filed messages (normally the LogBrowser).
class MessageLog final : public LineSink {
 public:
  MessageLog(const Settings& settings, const LocalClock& clock, const LogFolder& folder,
             StatusView& status, DialogService& dialogs, MessageLogListener* listener = nullptr,
             const UiText& text = JapaneseUiText());

  // One finished line (Shift-JIS, no line end, any bytes); `cut` when sync was lost.
  void AddReceivedLine(const std::string& line, bool cut) override;
  // A line with characters the decoder was not sure of. Each guessed one counts as an error of
  // the message, as a cut line does; a header holding any starts no message (a
  // header read wrong would file the text under a message that was not sent).
  void AddUnsureLine(const std::string& line, bool cut, const UnsureBytes& unsure) override;
  // The line being decoded, shown in status panel 0.
  void ShowLiveLine(const std::string& line) override;
  // Phasing begins every transmission: a message still open is broken off and dropped as the
  // time-out would drop it. In noise the English decoder keeps resetting the idle count, so
  // without this the next transmission's lines would join the old message.
  void PhasingSeen() override;
  // Drops the message in progress without saving it (receive time-out) and empties panels 1-2.
  void DiscardMessage();

  // Every line received, each followed by CR LF ("...\r\n" when cut); at most
  // kReceivedTextLimit bytes, trimmed at the front on a character boundary.
  const std::string& ReceivedText() const { return receivedText_; }
  // Header of the message in progress (4 or 10 bytes); empty when none.
  const std::string& CurrentHeader() const { return currentHeader_; }
  // Lines of the message in progress, each followed by its line end.
  const std::string& MessageBody() const { return messageBody_; }
  // Cut-short lines and unsure characters in MessageBody.
  int ErrorCount() const { return errorCount_; }
  const FilingCounts& Counts() const { return counts_; }

  // Who hears of each completed message (the network outputs); nothing when null.
  void SetCompletionListener(MessageCompletionListener* listener) { completion_ = listener; }
  // Off: messages are recognised and judged as usual (ErrNum included) but no file is written or
  // read; each completed message is reported with FilingOutcome::kNotFiling.
  void SetWritesFiles(bool writes) { writesFiles_ = writes; }
  // The user's watch: station names of the chosen area, the messages taken. Null (the default):
  // the catalogue names every station and every message is taken.
  void SetWatch(const Watch* watch) { watch_ = watch; }
  // The language flag read to take a header: the settings' DecLang unless another receiver's flag
  // is named here. It must outlive the log.
  void ReadLanguageFrom(const bool& decLang) { decLang_ = &decLang; }

 private:
  void TakeLine(const std::string& line, bool cut, const UnsureBytes* unsure);
  // Counts the line's guessed and doubtful characters; true when one was guessed.
  bool CountDoubts(const std::string& line, const UnsureBytes& unsure);
  void StartMessage(std::string_view line, std::size_t markerPosition, bool headerSure);
  void EndMessage();
  FilingOutcome SaveMessage(const LocalDateTime& now);
  // The fewer-errors rule and the write, under the folder's lock; `considered` when a stored
  // copy was weighed.
  FilingOutcome FileUnderLock(const std::string& content, bool& considered);
  bool WriteLogFile(const std::string& name, const std::string& content);
  void ReportWriteFailure(const std::string& name);
  FilingOutcome KeepReadOnlyCopy(const LogEntry& stored);
  void AppendReceived(std::string_view line, bool cut);
  void ClearMessage();

  const Settings& settings_;
  const LocalClock& clock_;
  const LogFolder& folder_;
  StatusView& status_;
  DialogService& dialogs_;
  MessageLogListener* listener_;
  const UiText& text_;
  MessageCompletionListener* completion_ = nullptr;
  bool writesFiles_ = true;
  const Watch* watch_ = nullptr;
  const bool* decLang_;

  std::string receivedText_;
  std::string currentHeader_;
  std::string messageBody_;
  int errorCount_ = 0;
  // Lines cut short or holding a guessed character: what ErrNum limits, as the settings dialog
  // says ("lines"). Text read through a fade, a guess a character, must not weigh more than the
  // line that losing sync there would have cut.
  int damagedLines_ = 0;
  int doubtful_ = 0;  // characters of MessageBody read without a clear lead, guessed or not
  FilingCounts counts_;
  // Headers whose read-only copy the user has been told of; once per header is enough.
  std::set<std::string> toldReadOnly_;
};

}  // namespace seaherald
