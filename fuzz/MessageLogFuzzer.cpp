// Arbitrary lines and cut flags into AddReceivedLine (NUL bytes, lone lead bytes and stray markers
// included), with DecLang, ErrSave and ErrNum changing between lines and the receive time-out
// dropping messages, filed into a fresh temporary log folder by one receiver or two (each its own
// message log on the same folder, as the window's two receivers).
//
// Input: a start record, then line records until the input ends (at most kMaxRecords records and
// kMaxLines lines).
//   start: byte with bit 0 DecLang, bit 1 ErrSave, bit 2 DecLang2 (the second receiver's
//     language); ErrNum byte (1-256); the time of saving as
//     bytes for year (1970-2099), month, day (1-28), hour, minute and second.
//   line: a flags word, then the parts its flags ask for, then a short text (count byte and bytes).
//     bit 0 cut; bit 1 toggles DecLang; bit 2 toggles ErrSave; bit 3 an ErrNum byte follows;
//     bit 4 DiscardMessage before the line; bits 5-7 what the line starts with: 0 nothing,
//     1 "ZCZC " and an English header made from 4 bytes, 2 the full-width start marker and a
//     Japanese header made from 5 bytes, 3 "NNNN", 4 the full-width end marker, 5 "ZCZC ",
//     6 the full-width start marker, 7 nothing; bit 8 the short text goes before that start
//     instead of after it; bit 9 a byte r follows and the line is added 4r + 1 times; bit 10
//     the text is repeated to a length given by a following word (at most 4096 bytes); bit 11
//     the line (with its language toggle and time-out) is the second receiver's.
//
// After every line: the received text stays within its limit and ends with the line; the
// message state is consistent; every filing decision matches the state before the line and the
// folder as both receivers left it; every file written holds exactly the three header lines and
// the body; nothing else is in the folder.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

#include "app/Settings.h"
#include "fuzz/support/ByteStream.h"
#include "fuzz/support/Fakes.h"
#include "fuzz/support/FuzzCheck.h"
#include "fuzz/support/TempFolder.h"
#include "fuzz/support/Trace.h"
#include "msglog/LogFolder.h"
#include "msglog/MessageLog.h"
#include "msglog/MessageLogListener.h"

namespace seaherald::fuzz {
namespace {

constexpr int kMaxRecords = 400;
constexpr int kMaxLines = 1024;
constexpr std::size_t kMaxLongText = 4096;
constexpr int kRepeatStep = 4;

constexpr std::string_view kStartSingle = "ZCZC ";
constexpr std::string_view kStartFull = "\x82\x79\x82\x62\x82\x79\x82\x62\x81\x40";
constexpr std::string_view kEndSingle = "NNNN";
constexpr std::string_view kEndFull = "\x82\x6d\x82\x6d\x82\x6d\x82\x6d";
constexpr std::string_view kFullWidthLead = "\x82";
constexpr unsigned char kFullWidthA = 0x60;
constexpr unsigned char kFullWidthZero = 0x4F;

constexpr std::uint16_t kCut = 1u << 0;
constexpr std::uint16_t kToggleLang = 1u << 1;
constexpr std::uint16_t kToggleErrSave = 1u << 2;
constexpr std::uint16_t kNewErrNum = 1u << 3;
constexpr std::uint16_t kDiscardFirst = 1u << 4;
constexpr int kPrefixShift = 5;
constexpr std::uint16_t kTextFirst = 1u << 8;
constexpr std::uint16_t kRepeat = 1u << 9;
constexpr std::uint16_t kLongText = 1u << 10;
constexpr std::uint16_t kSecondReceiver = 1u << 11;

enum class Prefix {
  None = 0,
  EnglishStart = 1,
  JapaneseStart = 2,
  EndSingle = 3,
  EndFull = 4,
  StartSingleOnly = 5,
  StartFullOnly = 6,
};

class RecordingListener final : public MessageLogListener {
 public:
  std::string receivedText;
  int created = 0;
  int considered = 0;
  void ReceivedTextChanged(const std::string& text) override { receivedText = text; }
  void LogFileCreated() override { ++created; }
  void LogFileConsidered() override { ++considered; }
};

std::string EnglishHeader(ByteReader& input) {
  std::string header;
  header += static_cast<char>('A' + input.Byte() % 26);
  header += static_cast<char>('A' + input.Byte() % 26);
  header += static_cast<char>('0' + input.Byte() % 10);
  header += static_cast<char>('0' + input.Byte() % 10);
  return header;
}

// Five full-width characters: two letters, then letters or digits.
std::string JapaneseHeader(ByteReader& input) {
  std::string header;
  for (int i = 0; i < 5; ++i) {
    const std::uint8_t byte = input.Byte();
    const bool digit = i >= 2 && (byte & 0x80);
    header += kFullWidthLead;
    header += static_cast<char>(digit ? kFullWidthZero + byte % 10 : kFullWidthA + byte % 26);
  }
  return header;
}

std::string RepeatedTo(const std::string& text, std::size_t length) {
  if (text.empty()) return std::string(length, ' ');
  std::string repeated;
  repeated.reserve(length);
  while (repeated.size() < length)
    repeated += text;
  repeated.resize(length);
  return repeated;
}

std::string Stamp(const LocalDateTime& time) {
  char text[64];
  std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", time.year, time.month, time.day,
                time.hour, time.minute, time.second);
  return text;
}

std::string ExpectedLogFile(const LocalDateTime& time, int errors, const std::string& body) {
  char count[32];
  std::snprintf(count, sizeof count, "%03d", errors);
  return "Last received " + Stamp(time) + "\r\nDetected " + count + " error\r\n-\r\n" + body;
}

std::optional<std::string> FileBytes(const std::filesystem::path& path) {
  std::ifstream stream(path, std::ios::binary);
  if (!stream) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

// The count a log file of the program stores: characters 10-12 of its second line.
int StoredCount(const std::string& file) {
  const std::size_t second = file.find("\r\n") + 2;
  return std::stoi(file.substr(second + 9, 3));
}

bool IsEndMarkerLine(std::string_view line) {
  return line.find(kEndSingle) != std::string_view::npos ||
         line.find(kEndFull) != std::string_view::npos;
}

// Whether text stands before the end marker the log acts on (the full-width one when the line
// holds both): a last line that ran into the marker, counted as an error.
bool TextBeforeEndMarker(std::string_view line) {
  const std::size_t full = line.find(kEndFull);
  const std::size_t at = full != std::string_view::npos ? full : line.find(kEndSingle);
  return at != std::string_view::npos && at > 0;
}

// One receiver: its own message log, status panels and listener.
struct Receiver {
  Receiver(const Settings& settings, const LocalClock& clock, const LogFolder& folder,
           DialogService& dialogs)
      : log(settings, clock, folder, status, dialogs, &listener) {}

  RecordingStatusView status;
  RecordingListener listener;
  MessageLog log;
};

class Harness {
 public:
  explicit Harness(ByteReader& input) : input_(input), logFolder_(folder_.Path() / "log") {
    second_.log.ReadLanguageFrom(settings_.DecLang2);
    const std::uint8_t start = input_.Byte();
    settings_.DecLang = start & 0x01;
    settings_.ErrSave = start & 0x02;
    settings_.DecLang2 = start & 0x04;
    settings_.ErrNum = input_.IntInRange(1, 256);
    clock_.now = {input_.IntInRange(1970, 2099), input_.IntInRange(1, 12),
                  input_.IntInRange(1, 28),      input_.IntInRange(0, 23),
                  input_.IntInRange(0, 59),      input_.IntInRange(0, 59)};
  }

  void Run() {
    for (int record = 0; record < kMaxRecords && !input_.Empty(); ++record) {
      const std::uint16_t flags = input_.Word();
      Receiver& receiver = (flags & kSecondReceiver) ? second_ : first_;
      ApplySettings(flags, receiver);
      const std::string line = ComposeLine(flags);
      const int times = (flags & kRepeat) ? input_.Byte() * kRepeatStep + 1 : 1;
      for (int i = 0; i < times && lines_ < kMaxLines; ++i, ++lines_)
        AddCheckedLine(line, (flags & kCut) != 0, receiver);
    }
  }

 private:
  void ApplySettings(std::uint16_t flags, Receiver& receiver) {
    bool& decLang = &receiver == &first_ ? settings_.DecLang : settings_.DecLang2;
    if (flags & kToggleLang) decLang = !decLang;
    if (flags & kToggleErrSave) settings_.ErrSave = !settings_.ErrSave;
    if (flags & kNewErrNum) settings_.ErrNum = input_.IntInRange(1, 256);
    if (flags & kDiscardFirst) {
      receiver.log.DiscardMessage();
      FUZZ_CHECK(receiver.log.CurrentHeader().empty() && receiver.log.MessageBody().empty(),
                 "a discarded message is still in progress");
    }
  }

  std::string ComposeLine(std::uint16_t flags) {
    std::string prefix;
    switch (static_cast<Prefix>((flags >> kPrefixShift) & 0x07)) {
      case Prefix::EnglishStart:
        prefix = std::string(kStartSingle) + EnglishHeader(input_);
        break;
      case Prefix::JapaneseStart:
        prefix = std::string(kStartFull) + JapaneseHeader(input_);
        break;
      case Prefix::EndSingle:
        prefix = kEndSingle;
        break;
      case Prefix::EndFull:
        prefix = kEndFull;
        break;
      case Prefix::StartSingleOnly:
        prefix = kStartSingle;
        break;
      case Prefix::StartFullOnly:
        prefix = kStartFull;
        break;
      default:
        break;
    }
    std::string text;
    if (flags & kLongText) {
      const std::size_t length = input_.Word() % (kMaxLongText + 1);
      text = RepeatedTo(input_.ShortText(), length);
    } else {
      text = input_.ShortText();
    }
    return (flags & kTextFirst) ? text + prefix : prefix + text;
  }

  void AddCheckedLine(const std::string& line, bool cut, Receiver& receiver) {
    MessageLog& log = receiver.log;
    const RecordingListener& listener = receiver.listener;
    // Only an end-marker line can file the message: the body and the stored file are copied for
    // those alone, as a long message would make copies at every line slow.
    const bool endLine = IsEndMarkerLine(line);
    const std::string headerBefore = log.CurrentHeader();
    const bool bodyWasEmpty = log.MessageBody().empty();
    const std::string bodyBefore = endLine ? log.MessageBody() : std::string();
    const int errorsBefore = log.ErrorCount();
    const int errorsAtEnd =
        errorsBefore + (endLine && !headerBefore.empty() && TextBeforeEndMarker(line) ? 1 : 0);
    const FilingCounts countsBefore = log.Counts();
    const std::optional<std::filesystem::path> path = logFolder_.PathOf(headerBefore + ".txt");
    const std::optional<std::string> fileBefore = endLine && path ? FileBytes(*path) : std::nullopt;

    log.AddReceivedLine(line, cut);

    CheckReceivedText(line, cut, receiver);
    CheckMessageState(receiver);
    const FilingCounts& counts = log.Counts();
    const int filings = (counts.written - countsBefore.written) +
                        (counts.replaced - countsBefore.replaced) +
                        (counts.keptOlder - countsBefore.keptOlder) +
                        (counts.tooManyErrors - countsBefore.tooManyErrors);
    const bool due = endLine && !headerBefore.empty() && !bodyWasEmpty;
    if (due) Trace("message completed", headerBefore);
    FUZZ_CHECK(filings == (due ? 1 : 0), "a completed message was not filed exactly once");
    FUZZ_CHECK(!due || log.CurrentHeader().empty(), "a message is still open after its end");
    FUZZ_CHECK(counts.writeFailed == 0 && dialogs_.errors == 0,
               "a write into a healthy folder failed");
    FUZZ_CHECK(counts.tooManyErrors == countsBefore.tooManyErrors ||
                   (settings_.ErrSave && errorsAtEnd >= settings_.ErrNum),
               "a message was dropped for errors it does not have");
    // Whichever receiver filed the stored copy, a tie goes to the newer one.
    if (due && counts.tooManyErrors == countsBefore.tooManyErrors) {
      const bool replaces = !fileBefore || StoredCount(*fileBefore) >= errorsAtEnd;
      FUZZ_CHECK(replaces == (counts.keptOlder == countsBefore.keptOlder),
                 "of two receptions of a header, not the one with fewer errors was kept");
    }
    if (counts.written != countsBefore.written || counts.replaced != countsBefore.replaced) {
      FUZZ_CHECK(path && FileBytes(*path) == ExpectedLogFile(clock_.now, errorsAtEnd, bodyBefore),
                 "a log file does not hold the header lines and the body");
    }
    if (counts.keptOlder != countsBefore.keptOlder) {
      FUZZ_CHECK(fileBefore && path && FileBytes(*path) == fileBefore,
                 "a stored copy with fewer errors was changed");
    }
    FUZZ_CHECK(listener.created == counts.written, "a new log file was not announced");
    if (due) CheckFolder();
  }

  static void CheckReceivedText(const std::string& line, bool cut, const Receiver& receiver) {
    const std::string& text = receiver.log.ReceivedText();
    FUZZ_CHECK(text.size() <= kReceivedTextLimit, "the received text is over its limit");
    const std::string ended = line + (cut ? "...\r\n" : "\r\n");
    FUZZ_CHECK(ended.size() > text.size() || std::string_view(text).ends_with(ended),
               "the received text does not end with the last line");
    FUZZ_CHECK(receiver.listener.receivedText == text, "the pane was not given the received text");
    FUZZ_CHECK(receiver.status.panels[0].empty(), "the live line panel was not emptied");
  }

  static void CheckMessageState(const Receiver& receiver) {
    const MessageLog& log = receiver.log;
    const std::string& header = log.CurrentHeader();
    FUZZ_CHECK(header.empty() || header.size() == 4 || header.size() == 10,
               "a header is neither 4 nor 10 bytes");
    FUZZ_CHECK(!header.empty() || (log.MessageBody().empty() && log.ErrorCount() == 0),
               "a body or error count without a message in progress");
    FUZZ_CHECK(log.ErrorCount() >= 0, "negative error count");
    FUZZ_CHECK(receiver.status.panels[1] == header, "the header panel does not show the header");
    FUZZ_CHECK(!log.MessageBody().empty() || log.ErrorCount() == 0,
               "errors counted without a body");
    FUZZ_CHECK(log.MessageBody().empty() || log.MessageBody().ends_with("\r\n"),
               "the body does not end with a line end");
  }

  // Only log files, one per header written by either receiver; no temporary file left behind.
  void CheckFolder() {
    std::error_code error;
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(logFolder_.Path(), error)) {
      FUZZ_CHECK(entry.path().extension() == ".txt", "a file other than a log is in the folder");
      ++files;
    }
    FUZZ_CHECK(files == first_.log.Counts().written + second_.log.Counts().written,
               "the folder does not hold one file per header");
  }

  ByteReader& input_;
  TempFolder folder_;
  LogFolder logFolder_;
  Settings settings_;
  FixedClock clock_;
  ScriptedDialogs dialogs_;
  Receiver first_{settings_, clock_, logFolder_, dialogs_};
  Receiver second_{settings_, clock_, logFolder_, dialogs_};
  int lines_ = 0;
};

}  // namespace
}  // namespace seaherald::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  seaherald::fuzz::ByteReader input({data, size});
  seaherald::fuzz::Harness harness(input);
  harness.Run();
  return 0;
}
