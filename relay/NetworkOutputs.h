#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "msglog/CompletedMessage.h"
#include "platform/CodePage.h"
#include "relay/MqttPublisher.h"
#include "relay/NrxFeed.h"
#include "relay/PrinterPseudoTerminal.h"
#include "relay/PrinterStreamServer.h"
#include "relay/UdpSender.h"

namespace seaherald {

// Which network outputs to run; an empty field turns its output off.
struct NetworkOutputSettings {
  std::optional<HostPort> nrxUdp;  // NRX sentences as UDP datagrams, one sentence each
  NavtexFrequency frequency = NavtexFrequency::k518;  // in the NRX sentences and the JSON
  std::optional<MqttTarget> mqtt;                     // each message's JSON, QoS 1
  // The printer text of English messages to TCP clients, and on a pseudo-terminal at this path.
  std::optional<HostPort> printerTcp;
  std::optional<std::filesystem::path> printerPty;
  // Only messages that were filed (the window's choice); otherwise every completed message.
  bool filedOnly = false;
};

// Sends each completed message to the network outputs: its NRX sentences over UDP and its
// printer text to TCP clients and a pseudo-terminal (English messages only), and its JSON object
// to an MQTT broker.
class NetworkOutputs final : public MessageCompletionListener {
 public:
  // Throws std::runtime_error when the UDP address, the TCP port or the pseudo-terminal cannot be
  // used. `report` hears of the MQTT connection's ups and downs (from another thread), of
  // datagrams the system refused and, once, that Japanese messages are not sent as NRX.
  NetworkOutputs(const NetworkOutputSettings& settings,
                 std::function<void(const std::string&)> report);

  void MessageCompleted(const CompletedMessage& message) override;

  // Waits up to `limit` for the broker to acknowledge everything; returns how many messages
  // were still unacknowledged (0 without MQTT).
  std::size_t Flush(std::chrono::milliseconds limit);

 private:
  bool filedOnly_;
  NavtexFrequency frequency_;
  std::string receiver_;
  bool toldJapanese_ = false;
  std::function<void(const std::string&)> report_;
  CodePageConverter converter_;
  NrxFeed feed_;
  std::optional<UdpSender> udp_;
  std::unique_ptr<MqttPublisher> mqtt_;
  std::unique_ptr<PrinterStreamServer> printerTcp_;
  std::unique_ptr<PrinterPseudoTerminal> printerPty_;
};

}  // namespace seaherald
