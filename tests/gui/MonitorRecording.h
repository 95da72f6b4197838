#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace seaherald::test {

// What a private PulseAudio server's null sink plays, as heard on its monitor: mono 16-bit
// samples at 44 100 Hz, recorded by parec from construction on.
class MonitorRecording {
 public:
  static constexpr int kRate = 44100;

  explicit MonitorRecording(const QString& serverAddress);
  ~MonitorRecording();
  MonitorRecording(const MonitorRecording&) = delete;
  MonitorRecording& operator=(const MonitorRecording&) = delete;

  bool Started() const { return started_; }
  // Runs the event loop for `span`, taking in what parec delivers meanwhile.
  void CollectFor(std::chrono::milliseconds span);
  std::size_t SampleCount() const { return static_cast<std::size_t>(pcm_.size()) / 2; }
  // The samples recorded from `first` on.
  std::vector<std::int16_t> SamplesFrom(std::size_t first) const;

 private:
  QProcess parec_;
  QByteArray pcm_;
  bool started_ = false;
};

// Power of one frequency in the samples (Goertzel), as a share of the samples' total power.
double ShareAt(std::span<const std::int16_t> samples, double hz);

// Whether the receiver's two alarm tones carry the sound (each over a tenth of the power) while a
// frequency between them carries next to nothing; the shares found when not.
::testing::AssertionResult HoldsAlarmTones(std::span<const std::int16_t> samples);

}  // namespace seaherald::test
