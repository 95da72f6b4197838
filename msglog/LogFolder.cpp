#include "msglog/LogFolder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <random>
#include <system_error>

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

bool WriteAll(int descriptor, std::string_view content) {
  while (!content.empty()) {
    const ssize_t written = ::write(descriptor, content.data(), content.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    content.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
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

std::string LogFolder::DisplayPath(const std::filesystem::path& path) const {
  return converter_.Cp932FromUtf8Lossy(path.string());
}

bool LogFolder::WriteFile(std::string_view sjisName, std::string_view content) const {
  const std::optional<std::filesystem::path> target = PathOf(sjisName);
  if (!target) return false;
  std::error_code ignored;
  std::filesystem::create_directory(folder_, ignored);

  std::filesystem::path temporary;
  const int descriptor = CreateTemporaryFile(folder_, temporary);
  if (descriptor < 0) return false;
  const bool written = WriteAll(descriptor, content) && ::fsync(descriptor) == 0;
  const bool closed = ::close(descriptor) == 0;
  if (!written || !closed || ::rename(temporary.c_str(), target->c_str()) != 0) {
    ::unlink(temporary.c_str());
    return false;
  }
  SyncFolder(folder_);
  return true;
}

bool LogFolder::RemoveFile(const std::filesystem::path& path) const {
  return ::unlink(path.c_str()) == 0;
}

}  // namespace seaherald
