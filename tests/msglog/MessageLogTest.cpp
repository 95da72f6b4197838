#include "msglog/MessageLog.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "MsglogFakes.h"
#include "msglog/FolderLock.h"

namespace seaherald {
namespace {

using testing::FakeClock;
using testing::FakeDialogs;
using testing::FakeStatusView;
using testing::FileSizeLimit;
using testing::LogContent;
using testing::NativePath;
using testing::ReadBytes;
using testing::Sjis;
using testing::TempFolder;
using testing::WriteBytes;

class RecordingListener final : public MessageLogListener {
 public:
  std::vector<std::string> events;
  std::string lastText;
  int textChanges = 0;
  void ReceivedTextChanged(const std::string& text) override {
    lastText = text;
    ++textChanges;
  }
  void LogFileCreated() override { Heard("created"); }
  void LogFileConsidered() override { Heard("considered"); }
  // Set: each event also tells whether the folder's lock was still held when it came.
  std::filesystem::path lockedFolder;

 private:
  void Heard(const std::string& event) {
    const bool locked = !lockedFolder.empty() && !FolderLock(lockedFolder, 0).Held();
    events.push_back(locked ? event + " under the lock" : event);
  }
};

class MessageLogTest : public ::testing::Test {
 protected:
  MessageLogTest() { settings_.DecLang = true; }

  void Line(const std::string& line, bool cut = false) { log_.AddReceivedLine(line, cut); }
  void Message(const std::string& header, int cutLines, int goodLines = 1) {
    Line("ZCZC " + header);
    for (int i = 0; i < goodLines; ++i)
      Line("TEXT " + std::to_string(i));
    for (int i = 0; i < cutLines; ++i)
      Line("CUT " + std::to_string(i), true);
    Line("NNNN");
  }
  std::filesystem::path LogFile(const std::string& sjisName) const {
    return NativePath(logPath_, sjisName);
  }
  bool Exists(const std::string& sjisName) const {
    return std::filesystem::exists(LogFile(sjisName));
  }

  TempFolder temp_;
  std::filesystem::path logPath_ = temp_.Path() / "log";
  Settings settings_;
  FakeClock clock_;
  FakeStatusView status_;
  FakeDialogs dialogs_;
  RecordingListener listener_;
  LogFolder folder_{logPath_};
  MessageLog log_{settings_, clock_, folder_, status_, dialogs_, &listener_};
};

TEST_F(MessageLogTest, EnglishMessageIsFiledByteForByte) {
  clock_.now = {2024, 3, 31, 7, 8, 9};
  Line("ZCZC GA12");
  EXPECT_EQ(status_.panels[1], "GA12");
  EXPECT_EQ(status_.panels[2], Sjis("那覇"));
  Line("NAVAREA XI 123/24");
  Line("GUNNERY EXERCISE", true);
  Line("NNNN");
  EXPECT_EQ(ReadBytes(logPath_ / "GA12.txt"),
            "Last received 2024/03/31 07:08:09\r\nDetected 001 error\r\n-\r\n"
            "NAVAREA XI 123/24\r\nGUNNERY EXERCISE...\r\n");
  EXPECT_EQ(status_.panels[1], "");
  EXPECT_EQ(status_.panels[2], "");
  EXPECT_EQ(listener_.events, std::vector<std::string>{"created"});
  EXPECT_EQ(log_.Counts().written, 1);
}

TEST_F(MessageLogTest, JapaneseMessageIsFiledUnderItsShiftJisHeader) {
  settings_.DecLang = false;
  const std::string body = Sjis("航行警報　那覇");
  Line(Sjis("ＺＣＺＣ　ＩＡ１２３"));
  EXPECT_EQ(status_.panels[1], Sjis("ＩＡ１２３"));
  EXPECT_EQ(status_.panels[2], Sjis("横浜"));
  Line(body);
  Line(Sjis("ＮＮＮＮ"));
  EXPECT_EQ(ReadBytes(LogFile(Sjis("ＩＡ１２３.txt"))),
            LogContent("2024/03/31 12:34:56", "000", body + "\r\n"));
}

TEST_F(MessageLogTest, JapaneseHeadersOfBothLetterDigitFormsAreAccepted) {
  settings_.DecLang = false;
  for (const char* header : {"ＫＢ０４５", "ＸＣＤ１２"}) {
    Line(Sjis("ＺＣＺＣ　") + Sjis(header));
    Line("x");
    Line(Sjis("ＮＮＮＮ"));
    EXPECT_TRUE(Exists(Sjis(header) + ".txt")) << header;
  }
}

TEST_F(MessageLogTest, JapaneseHeadersOfOtherShapesAreRejected) {
  settings_.DecLang = false;
  for (const std::string& header : {Sjis("ＧＡ１２"), Sjis("Ｇ１２３４"), std::string("GA123"),
                                    Sjis("ＧＡ１２３") + " ", Sjis("ＧＡア１２")}) {
    Line(Sjis("ＺＣＺＣ　") + header);
    EXPECT_EQ(log_.CurrentHeader(), "");
    EXPECT_EQ(status_.panels[1], "");
    Line("x");
    Line(Sjis("ＮＮＮＮ"));
  }
  EXPECT_FALSE(folder_.Exists());
}

TEST_F(MessageLogTest, BadEnglishHeadersAreRejectedSilentlyAndLinesAreNotCollected) {
  for (const char* header : {"GA12 ", "GA1", "G-12", "1A12", "ga12"}) {
    Line("ZCZC GA99");
    Line(std::string("ZCZC ") + header);
    EXPECT_EQ(log_.CurrentHeader(), "") << header;
    EXPECT_EQ(status_.panels[1], "");
    EXPECT_EQ(status_.panels[2], "");  // no station for a message that is gone
    Line("BODY");
    EXPECT_EQ(log_.MessageBody(), "");
    Line("NNNN");
  }
  EXPECT_FALSE(folder_.Exists());
  EXPECT_TRUE(dialogs_.calls.empty());
}

TEST_F(MessageLogTest, StrayCharactersBeforeTheMarkerDoNotMatter) {
  Line("abcZCZC KE01");
  EXPECT_EQ(log_.CurrentHeader(), "KE01");
  EXPECT_EQ(status_.panels[2], Sjis("釧路"));
}

TEST_F(MessageLogTest, LineWithStartAndEndMarkersEndsTheMessage) {
  Line("ZCZC GA12");
  Line("BODY");
  Line("ZCZC HB34 NNNN");
  EXPECT_TRUE(Exists("GA12.txt"));
  EXPECT_FALSE(Exists("HB34.txt"));
  EXPECT_EQ(log_.CurrentHeader(), "");
}

TEST_F(MessageLogTest, MarkerLinesNeverEnterTheBody) {
  Line("ZCZC GA12");
  Line("BODY");
  Line("NNNN trailing");
  EXPECT_EQ(ReadBytes(logPath_ / "GA12.txt"), LogContent("2024/03/31 12:34:56", "000", "BODY\r\n"));
  // A repeat whose last body line ran into the end marker has lost that line: an error, so it
  // does not replace the whole copy on a tie.
  Line("ZCZC GA12");
  Line("BODY");
  Line("MORE");
  Line("NNNN");
  clock_.now = {2024, 4, 1, 0, 0, 0};
  Line("ZCZC GA12");
  Line("BODY");
  Line("MORE NNNN");
  EXPECT_EQ(ReadBytes(logPath_ / "GA12.txt"),
            LogContent("2024/03/31 12:34:56", "000", "BODY\r\nMORE\r\n"));
}

TEST_F(MessageLogTest, EmptyBodyWritesNothing) {
  Line("ZCZC GA12");
  Line("NNNN");
  EXPECT_FALSE(folder_.Exists());
  EXPECT_TRUE(listener_.events.empty());
  Line("NNNN");  // end marker outside a message
  EXPECT_FALSE(folder_.Exists());
}

TEST_F(MessageLogTest, ErrorLimitKeepsMessagesBelowErrNum) {
  settings_.ErrSave = true;
  settings_.ErrNum = 10;
  Message("GA12", 9);
  ASSERT_TRUE(Exists("GA12.txt"));
  EXPECT_NE(ReadBytes(logPath_ / "GA12.txt").find("\r\nDetected 009 error\r\n"), std::string::npos);
  Message("GB12", 10);
  EXPECT_FALSE(Exists("GB12.txt"));
  EXPECT_EQ(log_.Counts().tooManyErrors, 1);
}

TEST_F(MessageLogTest, WithoutErrSaveEveryMessageIsWrittenWithItsFullCount) {
  settings_.ErrSave = false;
  settings_.ErrNum = 1;
  Message("GA12", 1000, 0);
  EXPECT_NE(ReadBytes(logPath_ / "GA12.txt").find("\r\nDetected 1000 error\r\n"),
            std::string::npos);
}

TEST_F(MessageLogTest, RepeatedHeaderKeepsTheCopyWithFewerErrors) {
  listener_.lockedFolder = logPath_;  // the browser rereads the folder: nobody may wait for it
  clock_.now = {2024, 3, 1, 0, 0, 0};
  Message("GA12", 3);
  clock_.now = {2024, 3, 2, 0, 0, 0};
  Message("GA12", 3);  // equal: the newer wins
  EXPECT_NE(ReadBytes(logPath_ / "GA12.txt").find("2024/03/02"), std::string::npos);
  clock_.now = {2024, 3, 3, 0, 0, 0};
  Message("GA12", 4);  // more errors: dropped
  EXPECT_NE(ReadBytes(logPath_ / "GA12.txt").find("2024/03/02"), std::string::npos);
  clock_.now = {2024, 3, 4, 0, 0, 0};
  Message("GA12", 1);  // fewer: replaces
  EXPECT_EQ(ReadBytes(logPath_ / "GA12.txt").substr(0, 24), "Last received 2024/03/04");
  EXPECT_EQ(listener_.events,
            (std::vector<std::string>{"created", "considered", "considered", "considered"}));
  EXPECT_EQ(log_.Counts().written, 1);
  EXPECT_EQ(log_.Counts().replaced, 2);
  EXPECT_EQ(log_.Counts().keptOlder, 1);
}

TEST_F(MessageLogTest, UnreadableStoredCopyCountsAsNineHundredNinetyNine) {
  settings_.ErrSave = false;
  std::filesystem::create_directory(logPath_);
  std::filesystem::create_symlink("nowhere", logPath_ / "GA12.txt");
  Message("GA12", 1000, 0);  // more than 999: the stored copy stays
  EXPECT_TRUE(std::filesystem::is_symlink(logPath_ / "GA12.txt"));
  Message("GA12", 999, 0);
  ASSERT_FALSE(std::filesystem::is_symlink(logPath_ / "GA12.txt"));
  EXPECT_NE(ReadBytes(logPath_ / "GA12.txt").find("Detected 999 error"), std::string::npos);
}

TEST_F(MessageLogTest, StoredCountIsReadByTheNumberRule) {
  std::filesystem::create_directory(logPath_);
  WriteBytes(logPath_ / "GA12.txt", "Last received 2024/03/01 00:00:00\r\nDetected 0 3 error\r\n");
  Message("GA12", 1);  // the stored " 3" reads as 0: one error is more
  EXPECT_EQ(ReadBytes(logPath_ / "GA12.txt").substr(0, 24), "Last received 2024/03/01");
  WriteBytes(logPath_ / "GA12.txt", "only one line\r\n");
  Message("GA12", 0);  // no second line reads as 0: a clean copy replaces it
  EXPECT_NE(ReadBytes(logPath_ / "GA12.txt").find("Detected 000 error"), std::string::npos);
}

TEST_F(MessageLogTest, ASecondStartMarkerDropsTheFirstMessage) {
  Line("ZCZC GA12");
  Line("FIRST");
  Line("ZCZC HA34");
  Line("SECOND", true);
  EXPECT_EQ(log_.ErrorCount(), 1);
  Line("NNNN");
  EXPECT_FALSE(Exists("GA12.txt"));
  EXPECT_EQ(ReadBytes(logPath_ / "HA34.txt"),
            LogContent("2024/03/31 12:34:56", "001", "SECOND...\r\n"));
  EXPECT_EQ(log_.Counts().interrupted, 1);
}

TEST_F(MessageLogTest, DiscardedMessageIsNeverWritten) {
  Line("ZCZC GA12");
  Line("BODY");
  log_.DiscardMessage();
  EXPECT_EQ(log_.CurrentHeader(), "");
  EXPECT_EQ(log_.MessageBody(), "");
  EXPECT_EQ(status_.panels[1], "");
  EXPECT_EQ(status_.panels[2], "");
  Line("MORE");
  Line("NNNN");
  EXPECT_FALSE(folder_.Exists());
  EXPECT_EQ(log_.Counts().discarded, 1);
}

TEST_F(MessageLogTest, SwitchingLanguageMidMessageKeepsTheHeader) {
  Line("ZCZC GA12");
  settings_.DecLang = false;
  Line("BODY");
  Line(Sjis("ＮＮＮＮ"));
  EXPECT_TRUE(Exists("GA12.txt"));
  Line("ZCZC GA13");  // now parsed as a Japanese header: rejected
  EXPECT_EQ(log_.CurrentHeader(), "");
  Line(Sjis("ＺＣＺＣ　ＧＡ１２３"));
  EXPECT_EQ(log_.CurrentHeader(), Sjis("ＧＡ１２３"));
}

TEST_F(MessageLogTest, ReceivedTextHoldsEveryLineWithItsLineEnd) {
  Line("noise");
  Line("ZCZC GA12");
  Line("cut", true);
  Line("NNNN");
  EXPECT_EQ(log_.ReceivedText(), "noise\r\nZCZC GA12\r\ncut...\r\nNNNN\r\n");
  EXPECT_EQ(listener_.lastText, log_.ReceivedText());
  EXPECT_EQ(listener_.textChanges, 4);
}

TEST_F(MessageLogTest, StatusPanelZeroShowsTheLiveLineAndIsEmptiedByEachLine) {
  log_.ShowLiveLine("ZCZC G");
  EXPECT_EQ(status_.panels[0], "ZCZC G");
  Line("ZCZC GA12");
  EXPECT_EQ(status_.panels[0], "");
}

TEST_F(MessageLogTest, ArbitraryBytesPassIntoTheLogFileUnchanged) {
  const std::string odd1("A\0B\x82", 4);
  const std::string odd2("\xff\x80\x82", 3);
  Line("ZCZC GA12");
  Line(odd1);
  Line(odd2, true);
  Line("NNNN");
  EXPECT_EQ(ReadBytes(logPath_ / "GA12.txt"),
            LogContent("2024/03/31 12:34:56", "001", odd1 + "\r\n" + odd2 + "...\r\n"));
  EXPECT_NE(log_.ReceivedText().find(odd1 + "\r\n"), std::string::npos);
}

TEST_F(MessageLogTest, ReceivedTextStaysWithinItsBoundWithoutSplittingCharacters) {
  const std::string wide = std::string("a") + Sjis("あいうえお") + "bc";  // odd-length lines
  for (int i = 0; i < 6000; ++i) {
    Line(wide + std::to_string(i));
    ASSERT_LE(log_.ReceivedText().size(), kReceivedTextLimit);
  }
  EXPECT_GE(log_.ReceivedText().size(), kReceivedTextLimit - 1);
  EXPECT_TRUE(Utf8FromCp932(log_.ReceivedText())) << "a double-byte character was split";
  const std::string last = wide + "5999\r\n";
  EXPECT_EQ(log_.ReceivedText().substr(log_.ReceivedText().size() - last.size()), last);
}

TEST_F(MessageLogTest, OneHugeLineKeepsItsEnd) {
  const std::string huge = std::string(100000, 'x') + "END";
  Line(huge);
  ASSERT_EQ(log_.ReceivedText().size(), kReceivedTextLimit);
  EXPECT_EQ(log_.ReceivedText().substr(kReceivedTextLimit - 5), "END\r\n");
}

TEST_F(MessageLogTest, UnwritableFolderIsReportedAndNothingIsLost) {
  WriteBytes(logPath_, "a file where the folder should be");
  Message("GA12", 0);
  EXPECT_EQ(dialogs_.calls, (std::vector<std::string>{"beep", "error"}));
  ASSERT_EQ(dialogs_.errors.size(), 1u);
  EXPECT_EQ(dialogs_.errors[0],
            folder_.DisplayPath(logPath_ / "GA12.txt") + Sjis(" に書き込めません"));
  EXPECT_EQ(ReadBytes(logPath_), "a file where the folder should be");
  EXPECT_EQ(log_.Counts().writeFailed, 1);
  EXPECT_TRUE(listener_.events.empty());
}

// A line's doubts: `doubt` at the bytes `at`, sure elsewhere.
UnsureBytes Doubted(std::size_t bytes, std::initializer_list<std::size_t> at,
                    Doubt doubt = Doubt::kGuessed) {
  UnsureBytes flags(bytes, Doubt::kSure);
  for (const std::size_t i : at)
    flags[i] = doubt;
  return flags;
}

// A guessed character, in the text or reaching its end marker, is an error as a cut line is; a
// doubtful one is not, but its message replaces no stored copy on a tie. Doubt in the marker or the
// header starts no message, so a header read wrong never files text under a message that was not
// sent.
TEST_F(MessageLogTest, DoubtsCountAsErrorsAndNeverMakeAHeader) {
  Message("GA12", 1);
  // A repeat with three characters guessed (one of them two bytes) and one cut line.
  Line("ZCZC GA12");
  log_.AddUnsureLine("SEA " + Sjis("波") + "X", false, Doubted(7, {5, 6}));
  log_.AddUnsureLine("GALE", true, Doubted(4, {0}));
  EXPECT_EQ(log_.ErrorCount(), 4);
  Line("NNNN");
  // One cut line, as the stored copy, and a doubtful character: the stored copy stays.
  Line("ZCZC GA12");
  log_.AddUnsureLine("GALE", true, Doubted(4, {1}, Doubt::kDoubtful));
  Line("NNNN");
  EXPECT_EQ(log_.Counts().keptOlder, 2);
  EXPECT_EQ(log_.Counts().replaced, 0);
  // Doubtful but fewer errors: replaces.
  Line("ZCZC GA12");
  log_.AddUnsureLine("GALE", false, Doubted(4, {1}, Doubt::kDoubtful));
  Line("NNNN");
  EXPECT_EQ(log_.Counts().replaced, 1);
  EXPECT_NE(ReadBytes(logPath_ / "GA12.txt").find("Detected 000 error"), std::string::npos);
  // A doubt reaching the end marker (a line end read for the character before it) is an error
  // of the message: the repeat no longer ties that copy.
  Line("ZCZC GA12");
  Line("GALE");
  log_.AddUnsureLine("NNNN", false, Doubted(4, {0}));
  EXPECT_EQ(log_.Counts().keptOlder, 3);

  // Doubt before the header does not matter, in the marker neither (a marker read wrong would
  // not be one); any doubt in the header does.
  for (const auto& [at, doubt] :
       std::vector<std::pair<std::size_t, Doubt>>{{11u, Doubt::kGuessed},
                                                  {8u, Doubt::kDoubtful},
                                                  {0u, Doubt::kGuessed},
                                                  {5u, Doubt::kGuessed}}) {
    log_.AddUnsureLine("XY ZCZC GB34", false, Doubted(12, {at}, doubt));
    const bool starts = at < 8;
    EXPECT_EQ(log_.CurrentHeader(), starts ? "GB34" : "") << at;
    EXPECT_EQ(status_.panels[1], log_.CurrentHeader());
    Line("TEXT");
    Line("NNNN");
  }
  EXPECT_TRUE(Exists("GB34.txt"));
  EXPECT_EQ(log_.Counts().written, 2);
  EXPECT_EQ(log_.Counts().replaced, 2);
}

// ErrNum limits damaged lines, as the settings dialog says: a line with guessed characters counts
// once, as the cut line it would otherwise have been; the stored count still counts characters.
TEST_F(MessageLogTest, ErrorLimitCountsLinesWithGuessesOnceEach) {
  settings_.ErrSave = true;
  settings_.ErrNum = 3;
  Line("ZCZC GA12");
  log_.AddUnsureLine("GALE WARNING", false, Doubted(12, {0, 1, 2, 3, 4}));
  log_.AddUnsureLine("SEA", true, Doubted(3, {0, 1}));
  Line("NNNN");
  ASSERT_TRUE(Exists("GA12.txt"));
  EXPECT_NE(ReadBytes(logPath_ / "GA12.txt").find("Detected 008 error"), std::string::npos);
  // A third damaged line, the end marker's here, reaches the limit.
  Line("ZCZC GB12");
  log_.AddUnsureLine("GALE WARNING", false, Doubted(12, {0}));
  log_.AddReceivedLine("SEA", true);
  log_.AddUnsureLine("NNNN", false, Doubted(4, {3}));
  EXPECT_FALSE(Exists("GB12.txt"));
  EXPECT_EQ(log_.Counts().tooManyErrors, 1);
}

TEST_F(MessageLogTest, FailedReplacementKeepsTheOldFileAndTellsTheUser) {
  Message("GA12", 5);
  const std::string old = ReadBytes(logPath_ / "GA12.txt");
  if (::geteuid() == 0) {
    // Permissions do not bind root: make the write itself fail.
    const FileSizeLimit limit(16);
    Message("GA12", 0);
  } else {
    std::filesystem::permissions(
        logPath_, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    Message("GA12", 0);
  }
  EXPECT_EQ(ReadBytes(logPath_ / "GA12.txt"), old);
  ASSERT_EQ(dialogs_.errors.size(), 1u);
  EXPECT_NE(dialogs_.errors[0].find(Sjis("に書き込めません")), std::string::npos);
  EXPECT_EQ(dialogs_.beeps, 1);
}

TEST_F(MessageLogTest, DirectoryWhereTheLogShouldBeIsReported) {
  std::filesystem::create_directories(logPath_ / "GA12.txt");
  Message("GA12", 0);
  EXPECT_TRUE(std::filesystem::is_directory(logPath_ / "GA12.txt"));
  EXPECT_EQ(dialogs_.errors.size(), 1u);
}

// A read-only log is the user's wish to keep it: a new reception does not replace it, whatever
// its count; the user is told once per header, and it is no failure to write. A link to a
// read-only log is kept the same way.
TEST_F(MessageLogTest, ReadOnlyStoredCopyIsNotReplacedAndToldOncePerHeader) {
  Message("GA12", 5);
  Message("GA13", 5);
  const std::string old = ReadBytes(logPath_ / "GA12.txt");
  std::filesystem::permissions(logPath_ / "GA12.txt", std::filesystem::perms(0444));
  std::filesystem::rename(logPath_ / "GA13.txt", temp_.Path() / "kept.txt");
  std::filesystem::permissions(temp_.Path() / "kept.txt", std::filesystem::perms(0444));
  std::filesystem::create_symlink(temp_.Path() / "kept.txt", logPath_ / "GA13.txt");
  dialogs_.calls.clear();
  for (int rebroadcast = 0; rebroadcast < 3; ++rebroadcast) {
    Message("GA12", 0);
    Message("GA13", 5);
  }
  EXPECT_EQ(ReadBytes(logPath_ / "GA12.txt"), old);
  EXPECT_TRUE(std::filesystem::is_symlink(logPath_ / "GA13.txt"));
  EXPECT_EQ(dialogs_.calls, (std::vector<std::string>{"beep", "error", "beep", "error"}));
  EXPECT_EQ(log_.Counts().keptReadOnly, 6);
  EXPECT_EQ(log_.Counts().writeFailed, 0);
  EXPECT_EQ(log_.Counts().replaced, 0);
}

// A copy named with ".TXT" (from another system) is the stored copy of its header: the rule of
// fewer errors weighs it and a replacement keeps its name, so the header never has two files.
TEST_F(MessageLogTest, StoredCopyIsFoundWhateverTheCaseOfItsExtension) {
  std::filesystem::create_directory(logPath_);
  WriteBytes(logPath_ / "GA12.TXT", LogContent("2024/01/01 00:00:00", "001", "OLD\r\n"));
  Message("GA12", 2);
  EXPECT_FALSE(Exists("GA12.txt"));
  EXPECT_EQ(log_.Counts().keptOlder, 1);
  Message("GA12", 1);
  EXPECT_FALSE(Exists("GA12.txt"));
  EXPECT_NE(ReadBytes(logPath_ / "GA12.TXT").find("Detected 001 error"), std::string::npos);
  EXPECT_EQ(ReadBytes(logPath_ / "GA12.TXT").find("OLD"), std::string::npos);
  EXPECT_EQ(log_.Counts().replaced, 1);
  EXPECT_EQ(listener_.events, (std::vector<std::string>{"considered", "considered"}));
}

TEST_F(MessageLogTest, WorksWithoutAListener) {
  MessageLog alone(settings_, clock_, folder_, status_, dialogs_);
  alone.AddReceivedLine("ZCZC GA12", false);
  alone.AddReceivedLine("BODY", false);
  alone.AddReceivedLine("NNNN", false);
  EXPECT_TRUE(Exists("GA12.txt"));
}

class RecordingCompletions final : public MessageCompletionListener {
 public:
  std::vector<CompletedMessage> messages;
  void MessageCompleted(const CompletedMessage& message) override { messages.push_back(message); }
};

// Every completed message is reported once, after the folder was dealt with, with what became
// of it; what the files hold does not change for anyone listening.
TEST_F(MessageLogTest, CompletedMessagesAreReportedWithTheirOutcome) {
  RecordingCompletions completions;
  log_.SetCompletionListener(&completions);
  settings_.ErrNum = 3;
  clock_.now = {2024, 3, 31, 7, 8, 9};
  Message("GA12", 1);
  const std::string filed = ReadBytes(logPath_ / "GA12.txt");
  Message("GA12", 0);  // fewer errors: replaces
  Message("GA12", 2);  // more errors than stored: dropped
  Message("GB34", 3);  // reaches ErrNum: dropped
  Line("ZCZC GC56");
  Line("NNNN");  // empty body: no message at all
  Line("ZCZC GD78");
  Line("OPEN");
  log_.DiscardMessage();  // never completed
  ASSERT_EQ(completions.messages.size(), 4u);
  const CompletedMessage& first = completions.messages[0];
  EXPECT_EQ(first.header, "GA12");
  EXPECT_EQ(first.lang, 0);
  EXPECT_EQ(first.errorCount, 1);
  EXPECT_EQ(first.body, "TEXT 0\r\nCUT 0...\r\n");
  EXPECT_EQ(filed.substr(filed.size() - first.body.size()), first.body);
  EXPECT_EQ(first.received.second, 9);
  const std::vector<FilingOutcome> outcomes{
      completions.messages[0].outcome, completions.messages[1].outcome,
      completions.messages[2].outcome, completions.messages[3].outcome};
  EXPECT_EQ(outcomes,
            (std::vector<FilingOutcome>{FilingOutcome::kWritten, FilingOutcome::kReplaced,
                                        FilingOutcome::kKeptOlder, FilingOutcome::kTooManyErrors}));
  EXPECT_FALSE(Exists("GB34.txt"));
}

TEST_F(MessageLogTest, CompletionKnowsTheLanguageByTheHeaderAndWriteFailures) {
  RecordingCompletions completions;
  log_.SetCompletionListener(&completions);
  settings_.DecLang = false;
  Line(Sjis("ＺＣＺＣ　ＧＡ１２３"));
  settings_.DecLang = true;  // switched mid-message: the header still says Japanese
  Line(Sjis("航行警報"));
  Line(Sjis("ＮＮＮＮ"));
  std::filesystem::create_directories(logPath_ / "GA12.txt");  // a directory cannot be replaced
  Message("GA12", 0);
  ASSERT_EQ(completions.messages.size(), 2u);
  EXPECT_EQ(completions.messages[0].lang, 1);
  EXPECT_EQ(completions.messages[0].outcome, FilingOutcome::kWritten);
  EXPECT_EQ(completions.messages[1].outcome, FilingOutcome::kWriteFailed);
}

TEST_F(MessageLogTest, WithoutWritingFilesMessagesAreStillJudgedAndReported) {
  RecordingCompletions completions;
  log_.SetCompletionListener(&completions);
  log_.SetWritesFiles(false);
  settings_.ErrNum = 2;
  Message("GA12", 0);
  Message("GA13", 2);
  ASSERT_EQ(completions.messages.size(), 2u);
  EXPECT_EQ(completions.messages[0].outcome, FilingOutcome::kNotFiling);
  EXPECT_EQ(completions.messages[1].outcome, FilingOutcome::kTooManyErrors);
  EXPECT_FALSE(std::filesystem::exists(logPath_));
  EXPECT_TRUE(dialogs_.calls.empty());
}

TEST_F(MessageLogTest, WatchNamesStationsAndDropsWhatIsNotTaken) {
  RecordingCompletions completions;
  log_.SetCompletionListener(&completions);
  StationList list;
  list.stations = {{1, "518", 'G', "Cullercoats", "United Kingdom", 55, -1, "S"}};
  Watch watch{AreaStations(list, {1, "518"}), {"G", "E"}, "B"};
  log_.SetWatch(&watch);
  Line("ZCZC GE12");
  EXPECT_EQ(status_.panels[2], "Cullercoats");
  Line("TEXT");
  Line("NNNN");
  Message("GC13", 0);  // type not taken
  Message("OE14", 0);  // station not taken
  Message("GD15", 0);  // search and rescue: always taken, always an alarm
  Message("GB16", 0);  // an alarm type the user added
  ASSERT_EQ(completions.messages.size(), 3u);
  EXPECT_EQ(completions.messages[0].stationName, "Cullercoats");
  EXPECT_FALSE(completions.messages[0].alarm);
  EXPECT_TRUE(completions.messages[1].alarm);
  EXPECT_TRUE(completions.messages[2].alarm);
  EXPECT_EQ(log_.Counts().notTaken, 2);
  EXPECT_EQ(log_.Counts().written, 3);
  EXPECT_FALSE(Exists("GC13.txt"));
  EXPECT_FALSE(Exists("OE14.txt"));

  log_.SetWatch(nullptr);
  Line("ZCZC GE17");
  EXPECT_EQ(status_.panels[2], Sjis("那覇")) << "without a watch the catalogue names it again";
}

}  // namespace
}  // namespace seaherald
