#pragma once

#include <sys/socket.h>

#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace seaherald {

struct HostPort {
  std::string host;  // a name, an IPv4 address or an IPv6 address (given in brackets)
  std::string port;
};

// "HOST:PORT" or "[IPV6]:PORT" with a port from 1 to 65535; nothing when malformed.
std::optional<HostPort> ParseHostPort(std::string_view text);

// The address as it is written: an IPv6 address in brackets.
std::string FormatHostPort(const HostPort& target);

// Sends datagrams to one address, fixed when opened. Sending is fire-and-forget, as a chart
// plotter listening on a port expects: a datagram that nobody receives is not an error. The
// socket is not connected, so a refusal from a host where nothing listens yet does not make a
// later datagram fail. Broadcast addresses are allowed.
class UdpSender {
 public:
  // Resolves the address; the text of what went wrong when it cannot be used.
  static std::variant<UdpSender, std::string> Open(const HostPort& target);

  UdpSender(UdpSender&& other) noexcept;
  UdpSender& operator=(UdpSender&& other) noexcept;
  UdpSender(const UdpSender&) = delete;
  UdpSender& operator=(const UdpSender&) = delete;
  ~UdpSender();

  // Why the system refused the datagram (no route, say); nothing when it went. Nothing is retried.
  std::optional<std::string> Send(std::string_view datagram) const;

 private:
  UdpSender(int socket, const sockaddr* address, socklen_t length, std::string where);
  int socket_ = -1;
  sockaddr_storage address_{};
  socklen_t length_ = 0;
  std::string where_;
};

}  // namespace seaherald
