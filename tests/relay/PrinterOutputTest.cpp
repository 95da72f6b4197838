// The printer text as programs that read a NAVTEX receiver's serial port get it: over TCP, and
// on a pseudo-terminal read by a real serial-port library (pyserial, as Debian packages it).
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "relay/NetworkOutputs.h"
#include "tests/relay/MqttTestBroker.h"

namespace seaherald {
namespace {

CompletedMessage English(const std::string& header, const std::string& body) {
  return {header, 0, body, 0, {2026, 12, 8, 5, 50, 3}, FilingOutcome::kWritten};
}

const CompletedMessage kJapanese{
    "\x82\x66\x82\x60\x82\x50\x82\x51\x82\x52", 1, "X\r\n", 0, {}, FilingOutcome::kWritten};

int Connect(int port) {
  const int s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  EXPECT_EQ(connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  return s;
}

// Everything that arrives until nothing more came for `quietMs`.
std::string ReadAll(int s, int quietMs = 300) {
  std::string got;
  pollfd ready{s, POLLIN, 0};
  char buffer[4096];
  while (poll(&ready, 1, quietMs) == 1) {
    const ssize_t n = recv(s, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    got.append(buffer, static_cast<std::size_t>(n));
  }
  return got;
}

TEST(PrinterOutput, TcpClientsGetEnglishMessagesAsAReceiverPrintsThemFromWhenTheyConnect) {
  const int port = testing::FreeLoopbackPort();
  NetworkOutputSettings settings;
  settings.printerTcp = HostPort{"127.0.0.1", std::to_string(port)};
  NetworkOutputs outputs(settings, [](const std::string& text) { ADD_FAILURE() << text; });
  const int early = Connect(port);
  const int leaving = Connect(port);
  outputs.MessageCompleted(English("GA12", "FIRST\r\nCUT...\r\n"));
  close(leaving);
  const int late = Connect(port);
  outputs.MessageCompleted(kJapanese);
  outputs.MessageCompleted(English("GA13", "SECOND\r\n"));
  outputs.MessageCompleted(English("GA14", "THIRD\r\n"));  // after the leaver's refusal
  EXPECT_EQ(ReadAll(early),
            "ZCZC GA12\r\nFIRST\r\nCUT...\r\nNNNN\r\nZCZC GA13\r\nSECOND\r\nNNNN\r\n"
            "ZCZC GA14\r\nTHIRD\r\nNNNN\r\n");
  EXPECT_EQ(ReadAll(late), "ZCZC GA13\r\nSECOND\r\nNNNN\r\nZCZC GA14\r\nTHIRD\r\nNNNN\r\n");
  close(early);
  close(late);
  NetworkOutputSettings taken;
  taken.printerTcp = settings.printerTcp;
  EXPECT_THROW(NetworkOutputs(taken, {}), std::runtime_error) << "the port is in use";
}

constexpr const char* kPython = "/usr/bin/python3";

// Opens the port as a serial-port reader does (4800 baud, 8N1), asks for stored messages as a
// reader may, says "ready" and prints each line it reads up to the first NNNN.
constexpr const char* kReader = R"(
import serial, sys
port = serial.Serial(sys.argv[1], 4800, bytesize=8, parity="N", stopbits=1, timeout=10)
port.write(b"$S\r\n")
print("ready", flush=True)
while True:
    line = port.read_until(b"\r\n")
    print(repr(line), flush=True)
    if not line or line.startswith(b"NNNN"):
        break
)";

TEST(PrinterOutput, ASerialPortReaderOpeningThePseudoTerminalReadsOnlyNewMessages) {
  if (std::system((std::string(kPython) + " -c 'import serial' 2>/dev/null").c_str()) != 0)
    GTEST_SKIP() << "pyserial is not installed (package python3-serial)";
  const std::filesystem::path link =
      std::filesystem::temp_directory_path() / ("seaherald-tty-" + std::to_string(getpid()));
  NetworkOutputSettings settings;
  settings.printerPty = link;
  {
    NetworkOutputs outputs(settings, {});
    ASSERT_TRUE(std::filesystem::is_symlink(link));
    outputs.MessageCompleted(English("GA11", "NOBODY READ THIS\r\n"));
    const std::string command =
        std::string(kPython) + " -u -c '" + kReader + "' " + link.string() + " 2>&1";
    FILE* reader = popen(command.c_str(), "r");
    ASSERT_NE(reader, nullptr);
    char line[512];
    ASSERT_NE(std::fgets(line, sizeof line, reader), nullptr);
    ASSERT_STREQ(line, "ready\n");
    outputs.MessageCompleted(English("GA12", "NAVAREA XI\r\nCUT...\r\n"));
    std::string read;
    while (std::fgets(line, sizeof line, reader) != nullptr)
      read += line;
    EXPECT_EQ(pclose(reader), 0) << read;
    EXPECT_EQ(read, "b'ZCZC GA12\\r\\n'\nb'NAVAREA XI\\r\\n'\nb'CUT...\\r\\n'\nb'NNNN\\r\\n'\n");
  }
  EXPECT_FALSE(std::filesystem::is_symlink(link)) << "the link outlived the outputs";
}

}  // namespace
}  // namespace seaherald
