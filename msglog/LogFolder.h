#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/CodePage.h"

namespace seaherald {

// One log file found in the folder.
struct LogEntry {
  std::string name;  // Shift-JIS file name, ".txt" included
  std::string path;  // where it lies, as native path text (cheaper than a path object per file)
};

// The flat folder of message logs. Inside the program a log file is named by Shift-JIS bytes
// (the header followed by ".txt"); on disk the name is that text converted to UTF-8, so files
// keep readable names and the Shift-JIS bytes come back unchanged when the folder is read.
class LogFolder {
 public:
  explicit LogFolder(std::filesystem::path folder);

  const std::filesystem::path& Path() const { return folder_; }
  // True when the folder exists as a directory.
  bool Exists() const;
  // Creates the folder (one level) when it is missing; a failure shows at the next write.
  void CreateFolder() const;

  // The regular files whose names end in ".txt" in any letter case, in no particular order;
  // links count when they lead to a regular file or to nothing (such a log cannot be read).
  // Directories, pipes and devices are left out, and so are names that have
  // no Shift-JIS form (not valid UTF-8, or holding characters outside code page 932): no file
  // of this program can carry such a name. Empty when the folder is missing or unreadable.
  std::vector<LogEntry> ListLogFiles() const;

  // Where the file of a Shift-JIS name lies; nothing when the name has no UTF-8 form.
  std::optional<std::filesystem::path> PathOf(std::string_view sjisName) const;

  // Whatever lies under the name of a header followed by ".txt" in any letter case (a copy
  // from a system that wrote ".TXT" is the same log), a dangling link or a directory included:
  // ".txt" itself first, then the others in name order, each object once.
  std::vector<LogEntry> CopiesOf(std::string_view sjisHeader) const;

  // Shift-JIS text of a path for messages to the user; characters outside code page 932
  // become "?".
  std::string DisplayPath(const std::filesystem::path& path) const;

  // Replaces the whole file `sjisName` with `content`, or creates it, creating the folder (one
  // level) when it is missing. The content goes to a temporary file in the folder first, is
  // flushed to the disk and then renamed over the old file, so the file is always either the
  // old or the new content, whole. A link is written through: the file it leads to gets the
  // content and the link stays. Returns false when anything failed; the old file, if any, is
  // then unchanged and no temporary file is left behind.
  bool WriteFile(std::string_view sjisName, std::string_view content) const;

  // True when `path` (or the file a link there leads to) is read-only: see RemoveFile.
  bool IsReadOnly(const std::filesystem::path& path) const;

  // Deletes one file. Returns false when it could not be deleted. A read-only file (no write
  // permission for its owner) is the user's wish to keep it: it is neither deleted here nor
  // replaced by WriteFile.
  bool RemoveFile(const std::filesystem::path& path) const;

 private:
  std::filesystem::path folder_;
  CodePageConverter converter_;
};

// The header a log name stands for: the name without its ".txt" in any letter case.
std::string_view HeaderOfLogName(std::string_view sjisName);

// One entry per header: where names differ only in the case of ".txt", the one CopiesOf puts
// first stays. The order of the entries is kept otherwise.
std::vector<LogEntry> OnePerHeader(std::vector<LogEntry> entries);

}  // namespace seaherald
