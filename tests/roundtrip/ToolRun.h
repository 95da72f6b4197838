#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace seaherald::roundtrip {

struct ToolResult {
  int exitCode = -1;
  std::vector<std::string> lines;  // standard output, split at line ends
  std::string out;
  std::string err;
};

// Runs the built seaherald-decode with `args`; with `pipeFrom`, that file's bytes reach its
// standard input through a pipe; with `workingDir`, it runs there. Standard error is a file, not
// a terminal.
ToolResult RunDecodeTool(const std::vector<std::string>& args,
                         const std::optional<std::filesystem::path>& pipeFrom = std::nullopt,
                         const std::optional<std::filesystem::path>& workingDir = std::nullopt);

// The whole of a file's bytes; empty when it cannot be read.
std::string ReadBytes(const std::filesystem::path& path);
// The names of a folder's entries, sorted.
std::vector<std::filesystem::path> FilesIn(const std::filesystem::path& folder);

// A fresh directory for one test's files, removed again when the object goes.
class ScratchDirectory {
 public:
  ScratchDirectory();
  ~ScratchDirectory();
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

}  // namespace seaherald::roundtrip
