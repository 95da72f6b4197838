#include "tests/roundtrip/ToolRun.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace seaherald::roundtrip {
namespace {

std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

std::string ReadWhole(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}

}  // namespace

ScratchDirectory::ScratchDirectory() {
  static std::atomic<int> counter{0};
  const auto* info = testing::UnitTest::GetInstance()->current_test_info();
  const std::string name = std::string(info != nullptr ? info->name() : "scratch") + "-" +
                           std::to_string(getpid()) + "-" + std::to_string(counter++);
  path_ = std::filesystem::path(testing::TempDir()) / ("seaherald-" + name);
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
}

ScratchDirectory::~ScratchDirectory() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

ToolResult RunDecodeTool(const std::vector<std::string>& args,
                         const std::optional<std::filesystem::path>& pipeFrom,
                         const std::optional<std::filesystem::path>& workingDir) {
  const ScratchDirectory scratch;
  const auto outPath = scratch / "stdout";
  const auto errPath = scratch / "stderr";
  std::string command;
  if (workingDir) command.append("cd ").append(Quoted(workingDir->string())).append(" && ");
  if (pipeFrom) command.append("cat ").append(Quoted(pipeFrom->string())).append(" | ");
  command += Quoted(SEAHERALD_DECODE_TOOL);
  for (const std::string& arg : args)
    command.append(" ").append(Quoted(arg));
  command.append(" > ").append(Quoted(outPath.string()));
  command.append(" 2> ").append(Quoted(errPath.string()));
  const int status = std::system(command.c_str());
  ToolResult result;
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.out = ReadWhole(outPath);
  result.err = ReadWhole(errPath);
  result.lines = SplitLines(result.out);
  return result;
}

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::vector<std::filesystem::path> FilesIn(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace seaherald::roundtrip
