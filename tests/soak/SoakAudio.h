#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <span>
#include <vector>

#include "decoder/BlockConstants.h"
#include "tests/soak/SoakSchedule.h"

namespace seaherald::soak {

// Unit Gaussian noise drawn once and then read in a circle from changing places: making fresh
// noise for a day of audio would cost more than decoding it.
class NoiseTable {
 public:
  explicit NoiseTable(std::uint32_t seed);
  double Next() { return values_[index_++ & Mask]; }
  void JumpTo(std::uint32_t place) { index_ = place; }

 private:
  static constexpr std::size_t Size = std::size_t{1} << 18;
  static constexpr std::size_t Mask = Size - 1;
  std::vector<double> values_;
  std::size_t index_ = 0;
};

// Makes part of the programme's audio a little at a time.
class SegmentSource {
 public:
  virtual ~SegmentSource() = default;
  // Appends about half a second (at least one sample); false when finished.
  virtual bool Fill(std::vector<double>& out) = 0;
};

// The schedule's programme as 0.1 s blocks of 16-bit stereo, generated as it is played so that
// memory stays the same however long it runs. The left channel carries the programme; the
// right carries its negation, which the receiver must ignore.
class SoakAudio {
 public:
  SoakAudio(SoakSchedule& schedule, std::uint32_t noiseSeed);
  ~SoakAudio();

  // The next block. The broadcasts whose first sample lies in it are appended to `beginning`.
  void NextBlock(std::span<std::int16_t, BlockFrames * 2> block,
                 std::vector<BroadcastPlan>& beginning);
  // From the next segment on only silence follows (the schedule is no longer read).
  void EndProgramme() { ended_ = true; }
  // After EndProgramme: the last segment has been played to its end.
  bool ProgrammeOver() const { return fillerPlaying_; }

 private:
  void Refill();
  void StartNextSegment();

  SoakSchedule& schedule_;
  NoiseTable noise_;
  std::unique_ptr<SegmentSource> source_;
  std::vector<double> queue_;
  std::size_t head_ = 0;        // first unplayed sample of queue_
  std::uint64_t played_ = 0;    // samples played since the start
  std::uint64_t appended_ = 0;  // samples appended since the start
  struct Beginning {
    std::uint64_t sample;
    BroadcastPlan plan;
  };
  std::deque<Beginning> beginnings_;
  bool ended_ = false;
  bool fillerPlaying_ = false;
};

}  // namespace seaherald::soak
