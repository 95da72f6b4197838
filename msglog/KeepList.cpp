#include "msglog/KeepList.h"

#include <fstream>
#include <iterator>

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
  // Written beside and renamed over, so that a failed write never loses the tags already made.
  const std::filesystem::path temporary = file_.string() + ".new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    for (const std::string& h : headers)
      out << h << '\n';
    out.flush();
    if (!out) {
      std::error_code ignored;
      std::filesystem::remove(temporary, ignored);
      return false;
    }
  }
  std::error_code error;
  std::filesystem::rename(temporary, file_, error);
  if (error) {
    std::filesystem::remove(temporary, error);
    return false;
  }
  headers_ = std::move(headers);
  return true;
}

}  // namespace seaherald
