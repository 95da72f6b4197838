// seaherald-decode left to run alone: two processes filing into one folder, and a reader of its
// output that goes away.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/roundtrip/Messages.h"
#include "tests/roundtrip/ToolRun.h"
#include "tests/support/AudioFileWriter.h"

namespace seaherald::roundtrip {
namespace {

namespace fs = std::filesystem;
using testsignal::Transmission;

constexpr int kHeaders = 50;

std::string Numbered(const char* prefix, int number) {
  char text[16];
  std::snprintf(text, sizeof text, "%s%02d", prefix, number);
  return text;
}

std::string HeaderNumber(int number) {
  return Numbered("GA", number);
}

// One broadcast of kHeaders short messages; `damaged` cuts one line of each.
fs::path WriteHeaders(const ScratchDirectory& dir, const std::string& name, bool damaged) {
  std::string text;
  std::vector<std::string> marks;
  for (int number = 0; number < kHeaders; ++number) {
    const std::string mark = Numbered("K", number);
    text += "ZCZC " + HeaderNumber(number) + "\r\nWIND " + mark + " STRONG\r\nNNNN\r\n";
    marks.push_back(mark);
  }
  Transmission transmission = EnglishBroadcast(text);
  if (damaged) {
    for (const std::string& mark : marks)
      transmission.bitErrors.push_back({OffsetOf(transmission, mark), testsignal::Copy::Dx, 2});
  }
  const fs::path path = dir / name;
  testsignal::WriteAudioFile(path, AudioOf(transmission), 1, testsignal::SignalSampleRate,
                             testsignal::AudioFileType::Wav);
  return path;
}

int StoredErrors(const fs::path& file) {
  const std::string content = ReadBytes(file);
  const std::size_t at = content.find("Detected ");
  return at == std::string::npos ? -1 : std::stoi(content.substr(at + 9, 3));
}

// The clean and the damaged reception of the same headers, filed at the same moments by two
// processes: whichever decides second must see what the first one stored.
TEST(DecodeToolUnattended, TwoProcessesFilingOneFolderKeepTheCleanCopyOfEveryHeader) {
  const ScratchDirectory dir;
  const fs::path clean = WriteHeaders(dir, "clean.wav", false);
  const fs::path damaged = WriteHeaders(dir, "damaged.wav", true);
  const fs::path logs = dir / "logs";
  fs::create_directories(logs);
  for (int round = 0; round < 2; ++round) {
    ToolResult cleanRun;
    ToolResult damagedRun;
    std::thread other([&] {
      damagedRun = RunDecodeTool({"--lang", "en", "--log", logs.string(), damaged.string()});
    });
    cleanRun = RunDecodeTool({"--lang", "en", "--log", logs.string(), clean.string()});
    other.join();
    ASSERT_EQ(cleanRun.exitCode, 0) << cleanRun.err;
    ASSERT_EQ(damagedRun.exitCode, 0) << damagedRun.err;
    for (int number = 0; number < kHeaders; ++number) {
      const fs::path file = logs / (HeaderNumber(number) + ".txt");
      EXPECT_EQ(StoredErrors(file), 0) << file << " in round " << round;
    }
  }
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(logs))
    ++entries;
  EXPECT_EQ(entries, static_cast<std::size_t>(kHeaders));  // no lock or temporary file is left
}

// Runs `command` under bash; its exit status.
int Bash(const std::string& command) {
  const int status = std::system(("bash -c '" + command + "'").c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The exit status of the first stage of the pipeline `command`.
int FirstStageStatus(const std::string& command) {
  return Bash(command + "; exit ${PIPESTATUS[0]}");
}

TEST(DecodeToolUnattended, AReaderThatGoesAwayEndsNoFiling) {
  const ScratchDirectory dir;
  const fs::path recording = WriteHeaders(dir, "headers.wav", false);
  const fs::path logs = dir / "logs";
  const fs::path err = dir / "stderr";
  const int status =
      FirstStageStatus(std::string(SEAHERALD_DECODE_TOOL) + " --lang en --log " + logs.string() +
                       " " + recording.string() + " 2>" + err.string() + " | head -1 >/dev/null");
  EXPECT_EQ(status, 0);
  for (int number = 0; number < kHeaders; ++number)
    EXPECT_EQ(StoredErrors(logs / (HeaderNumber(number) + ".txt")), 0) << number;
  const std::string told = ReadBytes(err);
  const std::string closed = "standard output was closed";
  ASSERT_NE(told.find(closed), std::string::npos) << told;
  EXPECT_EQ(told.find(closed), told.rfind(closed)) << "told more than once:\n" << told;
  EXPECT_NE(told.find(std::to_string(kHeaders) + " filed as a new log file"), std::string::npos)
      << told;
}

// A FIFO is opened once: its writer is neither killed by SIGPIPE nor left waiting for a second
// reader, and the decoder does not wait in a second open.
TEST(DecodeToolUnattended, AFifoAsInputIsReadOnce) {
  const ScratchDirectory dir;
  const fs::path recording = WriteHeaders(dir, "headers.wav", false);
  const fs::path fifo = dir / "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const fs::path out = dir / "stdout";
  const int writer =
      Bash("cat " + recording.string() + " > " + fifo.string() + " & w=$!; timeout 60 " +
           SEAHERALD_DECODE_TOOL + " --lang en " + fifo.string() + " > " + out.string() +
           " 2>&1; t=$?; wait $w; w=$?; [ $t = 0 ] && exit $w || exit 99");
  EXPECT_EQ(writer, 0) << ReadBytes(out);
  EXPECT_NE(ReadBytes(out).find("ZCZC GA49"), std::string::npos) << ReadBytes(out);
}

}  // namespace
}  // namespace seaherald::roundtrip
