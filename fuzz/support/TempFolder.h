#pragma once

#include <filesystem>

namespace seaherald::fuzz {

// A new, empty folder under the temporary folder (TMPDIR), removed with everything in it when the
// object goes. Each fuzz input gets its own, so runs do not depend on earlier inputs.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace seaherald::fuzz
