#include "tests/faults/WriteFault.h"

#include <fcntl.h>
#include <pwd.h>
#include <sched.h>
#include <sys/fsuid.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace seaherald::faults {
namespace {

constexpr const char* kFillerName = ".filler";
constexpr const char* kTinyFileSystemOptions = "size=64k,mode=0755";
constexpr uid_t kNobodyFallback = 65534;

std::string WithReason(const char* what) {
  return std::string(what) + ": " + std::strerror(errno);
}

void Check(bool ok, const char* what) {
  if (!ok) throw std::runtime_error(WithReason(what));
}

uid_t OrdinaryUser() {
  const passwd* nobody = ::getpwnam("nobody");
  return nobody != nullptr ? nobody->pw_uid : kNobodyFallback;
}

// setfsuid reports the identity it replaced; asking for -1 changes nothing.
uid_t CurrentFsUid() {
  return static_cast<uid_t>(::setfsuid(static_cast<uid_t>(-1)));
}

gid_t CurrentFsGid() {
  return static_cast<gid_t>(::setfsgid(static_cast<gid_t>(-1)));
}

bool BindReadOnly(const std::filesystem::path& folder) {
  if (::mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) != 0) return false;
  if (::mount(nullptr, folder.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) != 0) {
    ::umount2(folder.c_str(), MNT_DETACH);
    return false;
  }
  return true;
}

}  // namespace

// Changing the file-system identity away from 0 also drops root's capabilities that override
// permissions; changing it back restores them.
OrdinaryUserFileAccess::OrdinaryUserFileAccess() {
  if (::geteuid() != 0) return;
  savedUid_ = CurrentFsUid();
  savedGid_ = CurrentFsGid();
  const uid_t user = OrdinaryUser();
  ::setfsgid(static_cast<gid_t>(user));
  ::setfsuid(user);
  if (CurrentFsUid() != user) {
    ::setfsgid(savedGid_);
    throw std::runtime_error("the file-system identity cannot be changed (setfsuid)");
  }
  changed_ = true;
}

std::optional<std::string> OrdinaryUserFileAccess::Problem() {
  try {
    const OrdinaryUserFileAccess probe;
  } catch (const std::runtime_error& error) {
    return std::string(error.what());
  }
  return std::nullopt;
}

OrdinaryUserFileAccess::~OrdinaryUserFileAccess() {
  if (!changed_) return;
  ::setfsuid(savedUid_);
  ::setfsgid(savedGid_);
}

std::string KindName(WriteFaultKind kind) {
  switch (kind) {
    case WriteFaultKind::ReadOnlyFolder:
      return "ReadOnlyFolder";
    case WriteFaultKind::ReadOnlyMount:
      return "ReadOnlyMount";
    case WriteFaultKind::FullDisk:
      return "FullDisk";
    case WriteFaultKind::FileSizeLimit:
      return "FileSizeLimit";
  }
  return "?";
}

std::optional<std::string> EnterPrivateMountNamespace() {
  if (::unshare(CLONE_NEWNS) != 0) return WithReason("no mount namespace of our own (unshare)");
  if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
    return WithReason("mounts cannot be made private");
  }
  return std::nullopt;
}

WriteFault::WriteFault(WriteFaultKind kind, std::filesystem::path folder)
    : kind_(kind), folder_(std::move(folder)) {}

WriteFault::~WriteFault() {
  try {
    End();
  } catch (const std::exception&) {
    // Ending is best effort here; the test has already failed or finished.
  }
  if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
}

std::optional<std::string> WriteFault::Prepare() {
  switch (kind_) {
    case WriteFaultKind::ReadOnlyFolder:
      if (auto problem = OrdinaryUserFileAccess::Problem()) return problem;
      break;
    case WriteFaultKind::FileSizeLimit:
      break;
    case WriteFaultKind::ReadOnlyMount:
      if (auto problem = EnterPrivateMountNamespace()) return problem;
      // Try it once, so that a machine that refuses it skips the test instead of failing it.
      if (!BindReadOnly(folder_)) return WithReason("no read-only bind mount");
      ::umount2(folder_.c_str(), MNT_DETACH);
      break;
    case WriteFaultKind::FullDisk:
      if (auto problem = EnterPrivateMountNamespace()) return problem;
      if (::mount("tmpfs", folder_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV,
                  kTinyFileSystemOptions) != 0) {
        return WithReason("no tmpfs can be mounted");
      }
      mounted_ = true;
      break;
  }
  prepared_ = true;
  return std::nullopt;
}

void WriteFault::Begin() {
  if (!prepared_) throw std::logic_error("WriteFault::Begin before Prepare");
  if (active_) return;
  switch (kind_) {
    case WriteFaultKind::ReadOnlyFolder:
      BeginReadOnlyFolder();
      break;
    case WriteFaultKind::ReadOnlyMount:
      Check(BindReadOnly(folder_), "read-only bind mount");
      break;
    case WriteFaultKind::FullDisk:
      FillDisk();
      break;
    case WriteFaultKind::FileSizeLimit: {
      Check(::getrlimit(RLIMIT_FSIZE, &savedLimit_) == 0, "getrlimit");
      savedSignal_ = std::signal(SIGXFSZ, SIG_IGN);
      rlimit none = savedLimit_;
      none.rlim_cur = 0;
      Check(::setrlimit(RLIMIT_FSIZE, &none) == 0, "setrlimit");
      break;
    }
  }
  active_ = true;
}

void WriteFault::End() {
  if (!active_) return;
  active_ = false;
  switch (kind_) {
    case WriteFaultKind::ReadOnlyFolder:
      EndReadOnlyFolder();
      break;
    case WriteFaultKind::ReadOnlyMount:
      Check(::umount2(folder_.c_str(), MNT_DETACH) == 0, "unmount the read-only bind");
      break;
    case WriteFaultKind::FullDisk:
      Check(::unlink((folder_ / kFillerName).c_str()) == 0, "remove the filler");
      break;
    case WriteFaultKind::FileSizeLimit:
      ::setrlimit(RLIMIT_FSIZE, &savedLimit_);
      std::signal(SIGXFSZ, savedSignal_);
      break;
  }
}

void WriteFault::BeginReadOnlyFolder() {
  savedMode_ = std::filesystem::status(folder_).permissions();
  std::filesystem::permissions(folder_, std::filesystem::perms(0555));
  ordinaryUser_.emplace();
}

void WriteFault::EndReadOnlyFolder() {
  ordinaryUser_.reset();
  std::filesystem::permissions(folder_, savedMode_);
}

// Writes zeros until the file system has no page left, so that even a one-byte file cannot grow.
void WriteFault::FillDisk() {
  const int descriptor =
      ::open((folder_ / kFillerName).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  Check(descriptor >= 0, "create the filler");
  const std::vector<char> zeros(4096, 0);
  int error = 0;
  while (error == 0) {
    if (::write(descriptor, zeros.data(), zeros.size()) < 0 && errno != EINTR) error = errno;
  }
  ::close(descriptor);
  if (error != ENOSPC) {
    errno = error;
    Check(false, "fill the disk");
  }
}

}  // namespace seaherald::faults
