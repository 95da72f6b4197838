#include "msglog/KeepList.h"

#include <fcntl.h>
#include <unistd.h>

#include <fstream>
#include <string_view>

#include "platform/WriteAll.h"

namespace seaherald {

KeepList::KeepList(std::filesystem::path file) : file_(std::move(file)) {
  std::ifstream in(file_, std::ios::binary);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) headers_.insert(line);
  }
}

bool KeepList::Set(const std::string& header, bool kept) {
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
