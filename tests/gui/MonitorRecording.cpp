#include "tests/gui/MonitorRecording.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace seaherald::test {

MonitorRecording::MonitorRecording(const QString& serverAddress) {
  // A short latency keeps the recording close to the wall clock, so that what a test notes
  // "now" lies near the sample count of now.
  parec_.start(
      QStringLiteral("parec"),
      {QStringLiteral("--server=") + serverAddress, QStringLiteral("--device=nullsink.monitor"),
       QStringLiteral("--raw"), QStringLiteral("--format=s16le"), QStringLiteral("--rate=44100"),
       QStringLiteral("--channels=1"), QStringLiteral("--latency-msec=50")});
  started_ = parec_.waitForStarted(5000);
}

MonitorRecording::~MonitorRecording() {
  parec_.kill();
  parec_.waitForFinished();
}

void MonitorRecording::CollectFor(std::chrono::milliseconds span) {
  QElapsedTimer clock;
  clock.start();
  do {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    parec_.waitForReadyRead(20);
    pcm_ += parec_.readAllStandardOutput();
  } while (clock.elapsed() < span.count());
}

std::vector<std::int16_t> MonitorRecording::SamplesFrom(std::size_t first) const {
  const std::size_t count = SampleCount() - std::min(first, SampleCount());
  std::vector<std::int16_t> samples(count);
  std::memcpy(samples.data(), pcm_.constData() + (SampleCount() - count) * 2, count * 2);
  return samples;
}

double ShareAt(std::span<const std::int16_t> samples, double hz) {
  const double coefficient = 2 * std::cos(2 * std::numbers::pi * hz / MonitorRecording::kRate);
  double s1 = 0, s2 = 0, total = 0;
  for (const std::int16_t sample : samples) {
    const double s0 = sample + coefficient * s1 - s2;
    s2 = s1;
    s1 = s0;
    total += static_cast<double>(sample) * sample;
  }
  const double power = s1 * s1 + s2 * s2 - coefficient * s1 * s2;
  return total > 0 ? 2 * power / (total * static_cast<double>(samples.size())) : 0;
}

::testing::AssertionResult HoldsAlarmTones(std::span<const std::int16_t> samples) {
  const double low = ShareAt(samples, 1300);
  const double high = ShareAt(samples, 2100);
  const double between = ShareAt(samples, 1700);
  if (low > 0.1 && high > 0.1 && between < 0.01) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "shares of the power: 1300 Hz " << low << ", 2100 Hz " << high << ", 1700 Hz "
         << between << " over " << samples.size() << " samples";
}

}  // namespace seaherald::test
