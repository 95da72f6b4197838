#include "tests/soak/SoakAudio.h"

#include <algorithm>
#include <cmath>

#include "tests/support/FskModulator.h"
#include "tests/support/GaussianNoise.h"
#include "tests/support/TestSignal.h"

namespace seaherald::soak {
namespace {

constexpr double FullScale = 32767.0;
constexpr double ReceiverCentreHz = 800.0;  // the default setting
constexpr std::size_t BitsPerFill = 50;     // 0.5 s
constexpr std::size_t SamplesPerFill = testsignal::SignalSampleRate / 2;
constexpr std::size_t QueueCompactAt = 1u << 16;

std::size_t SamplesOf(double seconds) {
  return static_cast<std::size_t>(std::lround(seconds * testsignal::SignalSampleRate));
}

double StaticSample(NoiseTable& noise) {
  return noise.Next() >= 0 ? FullScale : -FullScale - 1.0;
}

// A broadcast, or a phasing signal alone, with its noise and any interruption.
class BroadcastSource final : public SegmentSource {
 public:
  BroadcastSource(const BroadcastPlan& plan, NoiseTable& noise)
      : bits_(testsignal::ToneBits(plan.transmission, plan.inverted)),
        modulator_(Parameters(plan)),
        noise_(noise),
        noiseDeviation_(plan.snrDb ? testsignal::NoiseDeviationFor(plan.amplitude, *plan.snrDb)
                                   : 0.0),
        interruption_(plan.interruption),
        interruptionAt_(plan.interruption == Interruption::None ? bits_.size()
                                                                : plan.interruptionAtBit),
        interruptionLeft_(SamplesOf(plan.interruptionSeconds)) {}

  bool Fill(std::vector<double>& out) override {
    if (next_ == interruptionAt_ && interruptionLeft_ > 0) return FillInterruption(out);
    if (next_ >= bits_.size()) return false;
    const std::size_t stop = std::min({bits_.size(), next_ + BitsPerFill,
                                       next_ < interruptionAt_ ? interruptionAt_ : bits_.size()});
    const std::size_t first = out.size();
    modulator_.AppendBits(std::span(bits_).subspan(next_, stop - next_), out);
    next_ = stop;
    if (noiseDeviation_ > 0) {
      for (std::size_t i = first; i < out.size(); ++i)
        out[i] += noiseDeviation_ * noise_.Next();
    }
    return true;
  }

 private:
  static testsignal::FskParameters Parameters(const BroadcastPlan& plan) {
    testsignal::FskParameters parameters;
    parameters.centerHz = ReceiverCentreHz;
    parameters.offsetHz = plan.offsetHz;
    parameters.rateError = plan.rateError;
    parameters.amplitude = plan.amplitude;
    return parameters;
  }

  bool FillInterruption(std::vector<double>& out) {
    const std::size_t count = std::min(interruptionLeft_, SamplesPerFill);
    for (std::size_t i = 0; i < count; ++i)
      out.push_back(interruption_ == Interruption::Static ? StaticSample(noise_) : 0.0);
    interruptionLeft_ -= count;
    return true;
  }

  std::vector<std::uint8_t> bits_;
  testsignal::FskModulator modulator_;
  NoiseTable& noise_;
  double noiseDeviation_;
  Interruption interruption_;
  std::size_t interruptionAt_;
  std::size_t interruptionLeft_;
  std::size_t next_ = 0;
};

class QuietSource final : public SegmentSource {
 public:
  QuietSource(const QuietPlan& plan, NoiseTable& noise)
      : kind_(plan.kind),
        deviation_(plan.hissDeviation),
        left_(SamplesOf(plan.seconds)),
        noise_(noise) {}

  bool Fill(std::vector<double>& out) override {
    if (left_ == 0) return false;
    const std::size_t count = std::min(left_, SamplesPerFill);
    for (std::size_t i = 0; i < count; ++i) {
      switch (kind_) {
        case QuietKind::Hiss:
          out.push_back(deviation_ * noise_.Next());
          break;
        case QuietKind::Static:
          out.push_back(StaticSample(noise_));
          break;
        default:
          out.push_back(0.0);
          break;
      }
    }
    left_ -= count;
    return true;
  }

 private:
  QuietKind kind_;
  double deviation_;
  std::size_t left_;
  NoiseTable& noise_;
};

BroadcastPlan PhasingPlan(const QuietPlan& quiet) {
  BroadcastPlan plan;
  plan.transmission.language = quiet.phasingLanguage;
  plan.transmission.phasingSeconds = quiet.seconds;
  plan.transmission.trailingPhasingSeconds = 0.0;
  plan.amplitude = AmplitudeFor(std::nullopt);
  return plan;
}

}  // namespace

NoiseTable::NoiseTable(std::uint32_t seed) : values_(Size) {
  testsignal::GaussianNoise noise(seed);
  for (double& value : values_)
    value = noise.Next();
}

SoakAudio::SoakAudio(SoakSchedule& schedule, std::uint32_t noiseSeed)
    : schedule_(schedule), noise_(noiseSeed) {
  queue_.reserve(QueueCompactAt + 2 * SamplesPerFill + BlockFrames);
}

SoakAudio::~SoakAudio() = default;

void SoakAudio::StartNextSegment() {
  if (ended_) {
    source_ = std::make_unique<QuietSource>(QuietPlan{QuietKind::Silence, 1.0}, noise_);
    fillerPlaying_ = true;
    return;
  }
  Segment segment = schedule_.Next();
  // A fresh stretch of the noise table for each segment, so no two sound alike.
  noise_.JumpTo(static_cast<std::uint32_t>(appended_ * 2654435761u));
  if (auto* plan = std::get_if<BroadcastPlan>(&segment)) {
    source_ = std::make_unique<BroadcastSource>(*plan, noise_);
    beginnings_.push_back({appended_, std::move(*plan)});
  } else {
    const QuietPlan& quiet = std::get<QuietPlan>(segment);
    if (quiet.kind == QuietKind::Phasing) {
      source_ = std::make_unique<BroadcastSource>(PhasingPlan(quiet), noise_);
    } else {
      source_ = std::make_unique<QuietSource>(quiet, noise_);
    }
  }
}

void SoakAudio::Refill() {
  if (head_ >= QueueCompactAt) {
    queue_.erase(queue_.begin(), queue_.begin() + static_cast<std::ptrdiff_t>(head_));
    head_ = 0;
  }
  while (queue_.size() - head_ < BlockFrames) {
    const std::size_t before = queue_.size();
    if (!source_ || !source_->Fill(queue_)) {
      StartNextSegment();
      continue;
    }
    appended_ += queue_.size() - before;
  }
}

void SoakAudio::NextBlock(std::span<std::int16_t, BlockFrames * 2> block,
                          std::vector<BroadcastPlan>& beginning) {
  Refill();
  for (std::size_t frame = 0; frame < BlockFrames; ++frame) {
    const double sample = std::clamp(std::round(queue_[head_ + frame]), -FullScale - 1, FullScale);
    block[frame * 2] = static_cast<std::int16_t>(sample);
    block[frame * 2 + 1] =
        static_cast<std::int16_t>(std::clamp(-sample, -FullScale - 1, FullScale));
  }
  head_ += BlockFrames;
  played_ += BlockFrames;
  while (!beginnings_.empty() && beginnings_.front().sample < played_) {
    beginning.push_back(std::move(beginnings_.front().plan));
    beginnings_.pop_front();
  }
}

}  // namespace seaherald::soak
