#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "relay/UdpSender.h"

namespace seaherald {

// A TCP server that hands every client the printer text of each message from when it connected,
// as a receiver's serial port would over a serial-to-network adapter. It has no thread: clients
// waiting to connect are taken in when the next message goes out, and one that is gone or does
// not keep up is dropped. What clients send is never read.
class PrinterStreamServer {
 public:
  // Listens on `where` (host may be empty: every address); throws std::runtime_error when the
  // port cannot be used.
  explicit PrinterStreamServer(const HostPort& where);
  PrinterStreamServer(const PrinterStreamServer&) = delete;
  PrinterStreamServer& operator=(const PrinterStreamServer&) = delete;
  ~PrinterStreamServer();

  void Send(std::string_view text);

 private:
  void AcceptWaiting();

  int listener_ = -1;
  std::vector<int> clients_;
};

}  // namespace seaherald
