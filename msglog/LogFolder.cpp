#include "msglog/LogFolder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <random>
#include <system_error>
#include <unordered_map>
#include <utility>

#include "platform/WriteAll.h"

namespace seaherald {
namespace {

constexpr std::string_view kLogSuffix = ".txt";
constexpr int kTemporaryNameAttempts = 16;

char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool HasLogSuffix(std::string_view name) {
  if (name.size() < kLogSuffix.size()) return false;
  const std::string_view tail = name.substr(name.size() - kLogSuffix.size());
  for (std::size_t i = 0; i < tail.size(); ++i) {
    if (LowerAscii(tail[i]) != kLogSuffix[i]) return false;
  }
  return true;
}

bool IsPlainFileName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

// Regular files, and links that lead to one or lead nowhere (an unreadable log); never
// directories, pipes or devices. The entry type from the directory listing saves a stat call
// for nearly every entry.
bool MayBeLogFile(const char* path, unsigned char entryType) {
  if (entryType == DT_REG) return true;
  if (entryType != DT_LNK && entryType != DT_UNKNOWN) return false;
  struct stat target {};
  if (::stat(path, &target) != 0) return entryType == DT_LNK;
  return S_ISREG(target.st_mode);
}

// The owner's write bit, which "read-only" removes (chmod a-w, copies from read-only media); of
// the file a link leads to, since that is the log the link stands for.
bool IsReadOnlyFile(const char* path) {
  struct stat status {};
  return ::stat(path, &status) == 0 && S_ISREG(status.st_mode) && (status.st_mode & S_IWUSR) == 0;
}

// Where a write of `path` goes: the file a link leads to, so that the link stays a link.
std::filesystem::path WriteTarget(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_symlink(path, error)) return path;
  std::filesystem::path target = std::filesystem::canonical(path, error);
  return error ? path : target;
}

// Every spelling of ".txt" with its letters in either case, ".txt" itself first.
std::vector<std::string> SuffixSpellings() {
  std::vector<std::string> spellings;
  for (int upper = 0; upper < 8; ++upper) {
    std::string suffix(kLogSuffix);
    for (int letter = 0; letter < 3; ++letter) {
      if ((upper & (1 << letter)) != 0)
        suffix[letter + 1] = static_cast<char>(suffix[letter + 1] - 'a' + 'A');
    }
    spellings.push_back(suffix);
  }
  return spellings;
}

// Names with the lower-case ".txt" first, then byte order.
bool StandsBefore(std::string_view a, std::string_view b) {
  const bool aPlain = a.ends_with(kLogSuffix);
  const bool bPlain = b.ends_with(kLogSuffix);
  if (aPlain != bPlain) return aPlain;
  return a < b;
}

struct DirectoryCloser {
  void operator()(DIR* directory) const { ::closedir(directory); }
};

// Creates a new, empty temporary file in `folder` whose name can never be taken for a log.
int CreateTemporaryFile(const std::filesystem::path& folder, std::filesystem::path& created) {
  std::random_device entropy;
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    created = folder / (".seaherald-" + std::to_string(::getpid()) + "-" +
                        std::to_string(entropy()) + ".tmp");
    const int descriptor = ::open(created.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor >= 0 || errno != EEXIST) return descriptor;
  }
  return -1;
}

// Makes a finished rename survive a power cut; a failure here loses nothing already written.
void SyncFolder(const std::filesystem::path& folder) {
  const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor < 0) return;
  ::fsync(descriptor);
  ::close(descriptor);
}

}  // namespace

LogFolder::LogFolder(std::filesystem::path folder) : folder_(std::move(folder)) {}

bool LogFolder::Exists() const {
  std::error_code error;
  return std::filesystem::is_directory(folder_, error);
}

void LogFolder::CreateFolder() const {
  std::error_code ignored;
  std::filesystem::create_directory(folder_, ignored);
}

std::vector<LogEntry> LogFolder::ListLogFiles() const {
  std::vector<LogEntry> entries;
  const std::unique_ptr<DIR, DirectoryCloser> directory(::opendir(folder_.c_str()));
  if (!directory) return entries;
  const std::string prefix = (folder_ / "").native();
  while (const dirent* entry = ::readdir(directory.get())) {
    const std::string_view nativeName = entry->d_name;
    if (!HasLogSuffix(nativeName)) continue;
    std::string path = prefix + entry->d_name;
    if (!MayBeLogFile(path.c_str(), entry->d_type)) continue;
    std::optional<std::string> name = converter_.Cp932FromUtf8(nativeName);
    if (!name) continue;
    entries.push_back({*std::move(name), std::move(path)});
  }
  return entries;
}

std::optional<std::filesystem::path> LogFolder::PathOf(std::string_view sjisName) const {
  std::optional<std::string> nativeName = converter_.Utf8FromCp932(sjisName);
  if (!nativeName || !IsPlainFileName(*nativeName)) return std::nullopt;
  return folder_ / *nativeName;
}

std::vector<LogEntry> LogFolder::CopiesOf(std::string_view sjisHeader) const {
  std::vector<LogEntry> copies;
  std::vector<std::pair<dev_t, ino_t>> seen;
  for (const std::string& suffix : SuffixSpellings()) {
    std::string name = std::string(sjisHeader) + suffix;
    const std::optional<std::filesystem::path> path = PathOf(name);
    struct stat status {};
    if (!path || ::lstat(path->c_str(), &status) != 0) continue;
    // A file system that ignores case finds one file under every spelling.
    const std::pair<dev_t, ino_t> identity{status.st_dev, status.st_ino};
    if (std::find(seen.begin(), seen.end(), identity) != seen.end()) continue;
    seen.push_back(identity);
    copies.push_back({std::move(name), path->native()});
  }
  std::sort(copies.begin(), copies.end(),
            [](const LogEntry& a, const LogEntry& b) { return StandsBefore(a.name, b.name); });
  return copies;
}

std::string LogFolder::DisplayPath(const std::filesystem::path& path) const {
  return converter_.Cp932FromUtf8Lossy(path.string());
}

bool LogFolder::WriteFile(std::string_view sjisName, std::string_view content) const {
  const std::optional<std::filesystem::path> target = PathOf(sjisName);
  if (!target) return false;
  CreateFolder();

  // The rename below would go round the file's mode.
  if (IsReadOnlyFile(target->c_str())) return false;
  const std::filesystem::path destination = WriteTarget(*target);
  const std::filesystem::path destinationFolder = destination.parent_path();

  std::filesystem::path temporary;
  const int descriptor = CreateTemporaryFile(destinationFolder, temporary);
  if (descriptor < 0) return false;
  const bool written = WriteAll(descriptor, content) && ::fsync(descriptor) == 0;
  const bool closed = ::close(descriptor) == 0;
  if (!written || !closed || ::rename(temporary.c_str(), destination.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return false;
  }
  SyncFolder(destinationFolder);
  return true;
}

bool LogFolder::IsReadOnly(const std::filesystem::path& path) const {
  return IsReadOnlyFile(path.c_str());
}

bool LogFolder::RemoveFile(const std::filesystem::path& path) const {
  // unlink asks only the folder, never the file's own mode.
  if (IsReadOnlyFile(path.c_str())) return false;
  return ::unlink(path.c_str()) == 0;
}

std::string_view HeaderOfLogName(std::string_view sjisName) {
  return HasLogSuffix(sjisName) ? sjisName.substr(0, sjisName.size() - kLogSuffix.size())
                                : sjisName;
}

std::vector<LogEntry> OnePerHeader(std::vector<LogEntry> entries) {
  std::vector<LogEntry> kept;
  kept.reserve(entries.size());
  std::unordered_map<std::string, std::size_t> placeOfHeader;
  for (LogEntry& entry : entries) {
    const auto [place, isNew] =
        placeOfHeader.try_emplace(std::string(HeaderOfLogName(entry.name)), kept.size());
    if (isNew) {
      kept.push_back(std::move(entry));
    } else if (StandsBefore(entry.name, kept[place->second].name)) {
      kept[place->second] = std::move(entry);
    }
  }
  return kept;
}

}  // namespace seaherald
