#include "msglog/KeepList.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>

#include "platform/WriteAll.h"

namespace seaherald {

KeepList::KeepList(std::filesystem::path file) : file_(std::move(file)) {
  Read();
}

void KeepList::Read() {
  // Not blocking, for a pipe in the file's place: it is no list, and must not hold the start.
  const int descriptor = ::open(file_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (descriptor < 0) {
    readable_ = errno == ENOENT;
    return;
  }
  struct stat status {};
  if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
    ::close(descriptor);
    return;
  }
  // read, not a stream: an I/O error must tell.
  std::string bytes;
  char buffer[4096];
  ssize_t count = 0;
  while ((count = ::read(descriptor, buffer, sizeof buffer)) != 0) {
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) break;
    bytes.append(buffer, static_cast<std::size_t>(count));
  }
  ::close(descriptor);
  if (count < 0) return;
  std::set<std::string> headers;
  for (std::size_t start = 0; start < bytes.size();) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) headers.insert(std::move(line));
    start = end + 1;
  }
  headers_ = std::move(headers);
  readable_ = true;
}

bool KeepList::Readable() {
  if (!readable_) Read();
  return readable_;
}

bool KeepList::Set(const std::string& header, bool kept) {
  if (!Readable()) return false;
  std::set<std::string> headers = headers_;
  if (kept) {
    headers.insert(header);
  } else {
    headers.erase(header);
  }
  // Written beside, synced and renamed over, so that neither a failed write nor a power cut
  // loses the tags already made: an empty list would let the automatic deletion take kept logs.
  std::string bytes;
  for (const std::string& h : headers)
    bytes += h + '\n';
  const std::filesystem::path temporary = file_.string() + ".new";
  const int descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (descriptor < 0) return false;
  const bool written = WriteAll(descriptor, bytes) && ::fsync(descriptor) == 0;
  const bool closed = ::close(descriptor) == 0;
  if (!written || !closed || ::rename(temporary.c_str(), file_.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return false;
  }
  if (const int folder = ::open(file_.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
      folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
  headers_ = std::move(headers);
  return true;
}

}  // namespace seaherald
