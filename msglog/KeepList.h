#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <string_view>

namespace seaherald {

// The headers the user tagged Keep: the automatic deletion never removes their logs. They live
// in a file of their own in the log folder ("keep.lst", one Shift-JIS header a line; not a
// ".txt", so it is never taken for a log), so the log files stay exactly as they were and the
// tag survives restarts. Read once at construction; each change rewrites the file.
class KeepList {
 public:
  explicit KeepList(std::filesystem::path file);

  bool Kept(std::string_view header) const { return headers_.contains(std::string(header)); }
  // Tags or untags a header. False when the file cannot be written; the tag is then unchanged.
  bool Set(const std::string& header, bool kept);
  const std::filesystem::path& File() const { return file_; }

 private:
  std::filesystem::path file_;
  std::set<std::string> headers_;
};

}  // namespace seaherald
