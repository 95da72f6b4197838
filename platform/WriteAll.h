#pragma once

#include <unistd.h>

#include <cerrno>
#include <string_view>

namespace seaherald {

// Writes every byte to an open descriptor, going on after a signal interrupts the call.
inline bool WriteAll(int descriptor, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace seaherald
