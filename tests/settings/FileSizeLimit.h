#pragma once

#include <sys/resource.h>

#include <csignal>

namespace seaherald::testing {

// Makes writes beyond `limit` bytes fail with EFBIG while the object lives. Unlike permissions,
// this stops root too.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t limit) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit reduced = saved_;
    reduced.rlim_cur = limit;
    setrlimit(RLIMIT_FSIZE, &reduced);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previousHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_{};
  void (*previousHandler_)(int) = nullptr;
};

}  // namespace seaherald::testing
