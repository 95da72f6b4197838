#include "relay/NetworkOutputs.h"

#include <stdexcept>

#include "platform/ShowableUtf8.h"
#include "relay/MessageJson.h"
#include "relay/PrinterText.h"

namespace seaherald {

NetworkOutputs::NetworkOutputs(const NetworkOutputSettings& settings,
                               std::function<void(const std::string&)> report)
    : filedOnly_(settings.filedOnly),
      frequency_(settings.frequency),
      receiver_(ReceiverId(settings.mqtt)),
      report_(std::move(report)),
      feed_(settings.frequency) {
  if (settings.nrxUdp) {
    auto opened = UdpSender::Open(*settings.nrxUdp);
    if (auto* problem = std::get_if<std::string>(&opened)) throw std::runtime_error(*problem);
    udp_.emplace(std::move(std::get<UdpSender>(opened)));
  }
  if (settings.printerTcp)
    printerTcp_ = std::make_unique<PrinterStreamServer>(*settings.printerTcp);
  if (settings.printerPty)
    printerPty_ = std::make_unique<PrinterPseudoTerminal>(*settings.printerPty);
  if (settings.mqtt) mqtt_ = std::make_unique<MqttPublisher>(*settings.mqtt, report_);
}

void NetworkOutputs::MessageCompleted(const CompletedMessage& message) {
  if (filedOnly_ && !WasFiled(message.outcome)) return;
  if (udp_ && message.lang != 0 && !toldJapanese_ && report_) {
    report_(std::string("UDP: ") + kJapaneseNotNrx);
    toldJapanese_ = true;
  }
  if (udp_) {
    std::optional<std::string> problem;
    int refused = 0;
    for (const std::string& sentence : feed_.SentencesFor(message)) {
      if (auto refusal = udp_->Send(sentence)) {
        problem = std::move(refusal);
        ++refused;
      }
    }
    if (problem && report_)
      report_(std::to_string(refused) + " NRX datagram(s) of " + message.header + " not sent (" +
              *problem + ")");
  }
  if (mqtt_)
    mqtt_->Publish(MessageJson(converter_, message, frequency_, receiver_),
                   ShowableUtf8(converter_, message.header));
  if (message.lang != 0) return;
  if (printerTcp_) printerTcp_->Send(PrinterText(message));
  if (printerPty_) printerPty_->Send(PrinterText(message));
}

std::size_t NetworkOutputs::Flush(std::chrono::milliseconds limit) {
  return mqtt_ ? mqtt_->Flush(limit) : 0;
}

}  // namespace seaherald
