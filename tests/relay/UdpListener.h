#pragma once

#include <string>
#include <vector>

namespace seaherald::testing {

// A UDP socket on a free loopback port, as a chart plotter listening for NRX sentences.
class UdpListener {
 public:
  // On `port`, or a free one when 0.
  explicit UdpListener(int port = 0);
  ~UdpListener();
  UdpListener(const UdpListener&) = delete;
  UdpListener& operator=(const UdpListener&) = delete;

  std::string Port() const { return std::to_string(port_); }
  // Every datagram that arrives until none came for `quietMs`.
  std::vector<std::string> Receive(int quietMs = 500);

 private:
  int socket_ = -1;
  int port_ = 0;
};

}  // namespace seaherald::testing
