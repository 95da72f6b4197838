#include "relay/PrinterPseudoTerminal.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <system_error>

namespace seaherald {
namespace {

constexpr speed_t kReceiverBaud = B4800;  // what NAVTEX receivers' serial ports use

std::runtime_error Failure(const std::string& what) {
  return std::runtime_error(what + ": " + std::strerror(errno));
}

}  // namespace

PrinterPseudoTerminal::PrinterPseudoTerminal(std::filesystem::path link) : link_(std::move(link)) {
  controller_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
  if (controller_ < 0 || grantpt(controller_) != 0 || unlockpt(controller_) != 0)
    throw Failure("cannot make a pseudo-terminal");
  const char* device = ptsname(controller_);
  device_ = device == nullptr ? -1 : open(device, O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
  if (device_ < 0) throw Failure("cannot open the pseudo-terminal's device");
  termios raw{};
  tcgetattr(device_, &raw);
  cfmakeraw(&raw);  // CR LF reach the reader unchanged
  cfsetspeed(&raw, kReceiverBaud);
  tcsetattr(device_, TCSANOW, &raw);
  std::error_code error;
  if (std::filesystem::is_symlink(link_, error)) std::filesystem::remove(link_, error);
  std::filesystem::create_symlink(device, link_, error);
  if (error) {
    close(device_);
    close(controller_);
    throw std::runtime_error("cannot make the serial-port link " + link_.string() + ": " +
                             error.message());
  }
}

PrinterPseudoTerminal::~PrinterPseudoTerminal() {
  std::error_code ignored;
  std::filesystem::remove(link_, ignored);
  close(device_);
  close(controller_);
}

void PrinterPseudoTerminal::Send(std::string_view text) {
  tcflush(device_, TCIFLUSH);  // unread text of earlier messages, and what readers wrote
  tcflush(controller_, TCIFLUSH);
  (void)!write(controller_, text.data(), text.size());
}

}  // namespace seaherald
