#include "relay/UdpSender.h"

#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <memory>
#include <utility>

namespace seaherald {
namespace {

bool IsPort(std::string_view text) {
  int port = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, port);
  return !text.empty() && text[0] != '+' && error == std::errc() && stop == end && port >= 1 &&
         port <= 65535;
}

struct AddressListDeleter {
  void operator()(addrinfo* list) const { freeaddrinfo(list); }
};

}  // namespace

std::optional<HostPort> ParseHostPort(std::string_view text) {
  std::string_view host;
  std::string_view port;
  if (text.starts_with('[')) {
    const std::size_t close = text.find("]:");
    if (close == std::string_view::npos) return std::nullopt;
    host = text.substr(1, close - 1);
    port = text.substr(close + 2);
  } else {
    const std::size_t colon = text.rfind(':');
    if (colon == std::string_view::npos) return std::nullopt;
    host = text.substr(0, colon);
    port = text.substr(colon + 1);
    if (host.find(':') != std::string_view::npos) return std::nullopt;  // IPv6 needs brackets
  }
  if (host.empty() || !IsPort(port)) return std::nullopt;
  return HostPort{std::string(host), std::string(port)};
}

std::string FormatHostPort(const HostPort& target) {
  if (target.host.find(':') != std::string::npos) return "[" + target.host + "]:" + target.port;
  return target.host + ":" + target.port;
}

std::variant<UdpSender, std::string> UdpSender::Open(const HostPort& target) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_DGRAM;
  hints.ai_flags = AI_NUMERICSERV;
  addrinfo* found = nullptr;
  const std::string where = FormatHostPort(target);
  const int problem = getaddrinfo(target.host.c_str(), target.port.c_str(), &hints, &found);
  if (problem != 0) return "cannot find UDP address " + where + ": " + gai_strerror(problem);
  const std::unique_ptr<addrinfo, AddressListDeleter> list(found);
  std::string lastError = "no address";
  for (const addrinfo* a = list.get(); a != nullptr; a = a->ai_next) {
    const int s = socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol);
    if (s < 0) {
      lastError = "cannot open a UDP socket for " + where + ": " + std::strerror(errno);
      continue;
    }
    const int on = 1;
    setsockopt(s, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
    return UdpSender(s, a->ai_addr, a->ai_addrlen, where);
  }
  return lastError;
}

UdpSender::UdpSender(int socket, const sockaddr* address, socklen_t length, std::string where)
    : socket_(socket), length_(length), where_(std::move(where)) {
  std::memcpy(&address_, address, std::min<std::size_t>(length, sizeof address_));
}

UdpSender::UdpSender(UdpSender&& other) noexcept
    : socket_(std::exchange(other.socket_, -1)),
      address_(other.address_),
      length_(other.length_),
      where_(std::move(other.where_)) {}

UdpSender& UdpSender::operator=(UdpSender&& other) noexcept {
  if (this != &other) {
    if (socket_ >= 0) close(socket_);
    socket_ = std::exchange(other.socket_, -1);
    address_ = other.address_;
    length_ = other.length_;
    where_ = std::move(other.where_);
  }
  return *this;
}

UdpSender::~UdpSender() {
  if (socket_ >= 0) close(socket_);
}

std::optional<std::string> UdpSender::Send(std::string_view datagram) const {
  const ssize_t sent = sendto(socket_, datagram.data(), datagram.size(), MSG_NOSIGNAL,
                              reinterpret_cast<const sockaddr*>(&address_), length_);
  if (sent == static_cast<ssize_t>(datagram.size())) return std::nullopt;
  return "cannot send to " + where_ + ": " + (sent < 0 ? std::strerror(errno) : "datagram cut");
}

}  // namespace seaherald
