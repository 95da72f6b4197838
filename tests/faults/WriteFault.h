#pragma once

#include <sys/resource.h>
#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

namespace seaherald::faults {

// Ways to make writing into a folder really fail. The tests run as root, which permission bits do
// not stop, so each way is one that stops root as well.
enum class WriteFaultKind {
  // Mode 0555 on the folder, accessed as an ordinary user while the fault lasts: the folder is
  // read-only exactly as it is for a user who has no write right to it.
  ReadOnlyFolder,
  // The folder bind-mounted read-only onto itself in a mount namespace of the test's own: every
  // write fails with EROFS, for root too.
  ReadOnlyMount,
  // A tmpfs of a few pages mounted on the folder in the test's own mount namespace, filled up
  // with a filler file while the fault lasts: writes fail with ENOSPC.
  FullDisk,
  // RLIMIT_FSIZE lowered to 0 with SIGXFSZ ignored: every write to a regular file fails with
  // EFBIG. For machines where no file system can be mounted.
  FileSizeLimit,
};

std::string KindName(WriteFaultKind kind);
inline void PrintTo(WriteFaultKind kind, std::ostream* out) {
  *out << KindName(kind);
}

// While it lives, this thread's file accesses are checked as those of an ordinary user when the
// process runs as root (whom permission bits do not stop); nothing changes for anyone else. Only
// the file-system identity of the calling thread changes, and the window runs on that thread.
class OrdinaryUserFileAccess {
 public:
  OrdinaryUserFileAccess();
  ~OrdinaryUserFileAccess();
  OrdinaryUserFileAccess(const OrdinaryUserFileAccess&) = delete;
  OrdinaryUserFileAccess& operator=(const OrdinaryUserFileAccess&) = delete;

  // Why the identity cannot be changed here (the test then skips), or nothing.
  static std::optional<std::string> Problem();

 private:
  bool changed_ = false;
  uid_t savedUid_ = 0;
  gid_t savedGid_ = 0;
};

// One way of failing writes, applied to one folder. Prepare() first (before anything is written
// into the folder: a full disk mounts its file system over it), then Begin() and End() as often
// as a test needs. Destruction ends the fault and unmounts what was mounted.
class WriteFault {
 public:
  WriteFault(WriteFaultKind kind, std::filesystem::path folder);
  ~WriteFault();
  WriteFault(const WriteFault&) = delete;
  WriteFault& operator=(const WriteFault&) = delete;

  // Why this way cannot be produced here (the test then skips), or nothing once it is ready.
  std::optional<std::string> Prepare();
  void Begin();
  void End();
  bool Active() const { return active_; }

 private:
  void BeginReadOnlyFolder();
  void EndReadOnlyFolder();
  void FillDisk();

  WriteFaultKind kind_;
  std::filesystem::path folder_;
  bool prepared_ = false;
  bool active_ = false;
  bool mounted_ = false;  // the tmpfs of a full disk
  std::filesystem::perms savedMode_{};
  std::optional<OrdinaryUserFileAccess> ordinaryUser_;
  rlimit savedLimit_{};
  void (*savedSignal_)(int) = nullptr;
};

// Moves this thread into a mount namespace of its own whose mounts do not propagate back, so that
// what the tests mount is seen by nothing else. Why not, when that is not allowed here.
std::optional<std::string> EnterPrivateMountNamespace();

}  // namespace seaherald::faults
