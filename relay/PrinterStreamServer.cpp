#include "relay/PrinterStreamServer.h"

#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace seaherald {

PrinterStreamServer::PrinterStreamServer(const HostPort& where) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
  addrinfo* found = nullptr;
  const std::string named = where.host.empty() ? "port " + where.port : FormatHostPort(where);
  const char* host = where.host.empty() ? nullptr : where.host.c_str();
  if (const int problem = getaddrinfo(host, where.port.c_str(), &hints, &found); problem != 0)
    throw std::runtime_error("cannot find TCP address " + named + ": " + gai_strerror(problem));
  std::string lastError = "no address";
  for (const addrinfo* a = found; a != nullptr && listener_ < 0; a = a->ai_next) {
    const int s = socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    const int on = 1;
    if (s >= 0) setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (s >= 0 && bind(s, a->ai_addr, a->ai_addrlen) == 0 && listen(s, 8) == 0) {
      listener_ = s;
    } else {
      lastError = std::strerror(errno);
      if (s >= 0) close(s);
    }
  }
  freeaddrinfo(found);
  if (listener_ < 0)
    throw std::runtime_error("cannot serve the printer text on " + named + ": " + lastError);
}

PrinterStreamServer::~PrinterStreamServer() {
  for (const int client : clients_)
    close(client);
  if (listener_ >= 0) close(listener_);
}

void PrinterStreamServer::AcceptWaiting() {
  for (int client; (client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;)
    clients_.push_back(client);
}

void PrinterStreamServer::Send(std::string_view text) {
  AcceptWaiting();
  std::erase_if(clients_, [text](int client) {
    const ssize_t sent = send(client, text.data(), text.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (sent == static_cast<ssize_t>(text.size())) return false;
    close(client);  // gone, or so far behind that its buffer is full
    return true;
  });
}

}  // namespace seaherald
