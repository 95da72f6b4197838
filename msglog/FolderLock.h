#pragma once

#include <filesystem>

namespace seaherald {

// An exclusive advisory lock on a folder, held from construction to destruction, that makes one
// process's look at a header's stored copy and its rename over it a single step for every other
// process filing into the same folder. The kernel drops the lock when its holder dies, so a
// crashed holder blocks nobody. A holder that does not let go within `patience` (stopped, or a
// file system without locks) is not waited for: filing then goes on unlocked, as before locks.
class FolderLock {
 public:
  static constexpr int DefaultPatienceMilliseconds = 2000;

  explicit FolderLock(const std::filesystem::path& folder,
                      int patienceMilliseconds = DefaultPatienceMilliseconds);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  bool Held() const { return held_; }

 private:
  int descriptor_ = -1;
  bool held_ = false;
};

}  // namespace seaherald
