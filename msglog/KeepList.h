#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <string_view>

namespace seaherald {

// The headers the user tagged Keep: the automatic deletion never removes their logs. They live
// in a file of their own in the log folder ("keep.lst", one Shift-JIS header a line; not a
// ".txt", so it is never taken for a log), so the log files stay exactly as they were and the
// tag survives restarts. Read at construction; each change rewrites the file.
//
// A file that is there but cannot be read is not an empty list: taken as one, the automatic
// deletion would remove kept logs and the next change would write away every earlier tag.
class KeepList {
 public:
  explicit KeepList(std::filesystem::path file);

  bool Kept(std::string_view header) const { return headers_.contains(std::string(header)); }
  // Whether the tags are known: a missing file is an empty list; one that could not be read is
  // tried again here, so that a file the user has put right is taken up without a restart.
  bool Readable();
  // Tags or untags a header. False when the file cannot be read or written; the tag and the file
  // are then unchanged.
  bool Set(const std::string& header, bool kept);
  const std::filesystem::path& File() const { return file_; }

 private:
  void Read();

  std::filesystem::path file_;
  std::set<std::string> headers_;
  bool readable_ = false;
};

}  // namespace seaherald
