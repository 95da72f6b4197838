#include "tests/audio/LiveAudio.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace seaherald::soundtest {
namespace {

// The "Server Name" that pactl reports for the server in PULSE_SERVER; empty when none answers.
std::string ServerName() {
  QProcess pactl;
  pactl.start(QStringLiteral("pactl"), {QStringLiteral("info")});
  if (!pactl.waitForFinished(5000) || pactl.exitCode() != 0) return {};
  for (const QString& line : QString::fromUtf8(pactl.readAllStandardOutput()).split('\n')) {
    if (line.startsWith(QStringLiteral("Server Name: "))) return line.mid(13).toStdString();
  }
  return {};
}

// A test run against a particular server (SEAHERALD_EXPECT_SERVER, say "PipeWire") must not pass
// on another one that happens to answer.
std::optional<std::string> WrongServerProblem() {
  const char* expected = std::getenv("SEAHERALD_EXPECT_SERVER");
  if (expected == nullptr || *expected == '\0') return std::nullopt;
  const std::string name = ServerName();
  if (name.find(expected) != std::string::npos) return std::nullopt;
  const char* server = std::getenv("PULSE_SERVER");
  return std::string("the sound server at PULSE_SERVER=") + (server != nullptr ? server : "unset") +
         " is \"" + name + "\", not " + expected + " (scripts/test starts one)";
}

}  // namespace

std::optional<std::string> TestServerProblem(SoundBackend& backend) {
  if (QStandardPaths::findExecutable(QStringLiteral("paplay")).isEmpty()) {
    return "paplay is not installed";
  }
  if (auto problem = WrongServerProblem()) return problem;
  if (!InputIdNamed(backend, TestMonitorName)) {
    const char* server = std::getenv("PULSE_SERVER");
    return std::string("no input \"") + TestMonitorName +
           "\": start the private PulseAudio server of scripts/pulse-server.sh (PULSE_SERVER=" +
           (server != nullptr ? server : "unset") + ")";
  }
  return std::nullopt;
}

bool AudioRequired() {
  const char* value = std::getenv("SEAHERALD_REQUIRE_AUDIO");
  return value != nullptr && std::string(value) == "1";
}

std::optional<std::string> InputIdNamed(SoundBackend& backend, const std::string& name) {
  for (const InputDeviceInfo& device : backend.ListInputDevices()) {
    if (device.name == name) return device.id;
  }
  return std::nullopt;
}

bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  QDeadlineTimer deadline(timeout.count());
  while (!done() && !deadline.hasExpired()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return done();
}

struct Player::Impl {
  QTemporaryFile file{QDir::tempPath() + QStringLiteral("/seaherald-play-XXXXXX.raw")};
  QProcess process;
};

Player::Player(std::span<const std::int16_t> interleaved) : impl_(std::make_unique<Impl>()) {
  impl_->file.open();
  impl_->file.write(reinterpret_cast<const char*>(interleaved.data()),
                    static_cast<qint64>(interleaved.size_bytes()));
  impl_->file.flush();
  impl_->process.start(
      QStringLiteral("paplay"),
      {QStringLiteral("--raw"), QStringLiteral("--format=s16le"), QStringLiteral("--rate=44100"),
       QStringLiteral("--channels=2"), impl_->file.fileName()});
  impl_->process.waitForStarted();
}

Player::~Player() {
  Stop();
}

bool Player::Running() const {
  return impl_->process.state() != QProcess::NotRunning;
}

void Player::Stop() {
  if (!Running()) return;
  impl_->process.terminate();
  if (!impl_->process.waitForFinished(2000)) {
    impl_->process.kill();
    impl_->process.waitForFinished(2000);
  }
}

std::vector<std::int16_t> LeftTone(double seconds, double hz, double amplitude,
                                   std::int16_t right) {
  const auto frames = static_cast<std::size_t>(seconds * 44100);
  std::vector<std::int16_t> samples(frames * 2);
  for (std::size_t i = 0; i < frames; ++i) {
    samples[i * 2] = static_cast<std::int16_t>(std::lround(
        amplitude * std::sin(2 * std::numbers::pi * hz * static_cast<double>(i) / 44100)));
    samples[i * 2 + 1] = right;
  }
  return samples;
}

double ChannelRms(std::span<const std::int16_t> interleaved, int channel) {
  double sum = 0;
  std::size_t count = 0;
  for (std::size_t i = static_cast<std::size_t>(channel); i < interleaved.size(); i += 2) {
    sum += static_cast<double>(interleaved[i]) * interleaved[i];
    ++count;
  }
  return count == 0 ? 0 : std::sqrt(sum / static_cast<double>(count));
}

}  // namespace seaherald::soundtest
