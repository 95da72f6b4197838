#include "msglog/KeepList.h"

#include <fcntl.h>
#include <unistd.h>

#include <limits>
#include <optional>
#include <string_view>

#include "msglog/LogFileReader.h"
#include "platform/WriteAll.h"

namespace seaherald {

KeepList::KeepList(std::filesystem::path file) : file_(std::move(file)) {
  Read();
}

void KeepList::Read() {
  bool missing = false;
  const std::optional<std::string> bytes =
      ReadRegularFile(file_, std::numeric_limits<std::size_t>::max(), &missing);
  if (!bytes) {
    readable_ = missing;
    return;
  }
  std::set<std::string> headers;
  for (std::size_t start = 0; start < bytes->size();) {
    std::size_t end = bytes->find('\n', start);
    if (end == std::string::npos) end = bytes->size();
    std::string line = bytes->substr(start, end - start);
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
