#include "msglog/FolderLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

namespace seaherald {
namespace {

constexpr std::chrono::milliseconds kPollInterval{2};

}  // namespace

FolderLock::FolderLock(const std::filesystem::path& folder, int patienceMilliseconds) {
  // The folder itself carries the lock, so no lock file ever shows among the logs.
  descriptor_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor_ < 0) return;
  // Polled rather than waited for: a wait in flock could not be given up.
  const auto giveUp =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(patienceMilliseconds);
  while (true) {
    if (::flock(descriptor_, LOCK_EX | LOCK_NB) == 0) {
      held_ = true;
      return;
    }
    if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() >= giveUp)
      return;
    std::this_thread::sleep_for(kPollInterval);
  }
}

FolderLock::~FolderLock() {
  // Closing the descriptor releases the lock.
  if (descriptor_ >= 0) ::close(descriptor_);
}

}  // namespace seaherald
