#include "tests/relay/UdpListener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <cstdint>

#include <stdexcept>

namespace seaherald::testing {

UdpListener::UdpListener(int port) {
  socket_ = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  socklen_t length = sizeof address;
  if (socket_ < 0 || bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    throw std::runtime_error("no loopback UDP port");
  }
  port_ = ntohs(address.sin_port);
}

UdpListener::~UdpListener() {
  close(socket_);
}

std::vector<std::string> UdpListener::Receive(int quietMs) {
  std::vector<std::string> datagrams;
  pollfd ready{socket_, POLLIN, 0};
  while (poll(&ready, 1, quietMs) == 1) {
    char buffer[2048];
    const ssize_t got = recv(socket_, buffer, sizeof buffer, 0);
    if (got < 0) break;
    datagrams.emplace_back(buffer, static_cast<std::size_t>(got));
  }
  return datagrams;
}

}  // namespace seaherald::testing
