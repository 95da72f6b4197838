#include "bench/sensitivity/Sweep.h"

#include <algorithm>
#include <stdexcept>

#include "bench/sensitivity/ReceptionRun.h"
#include "bench/sensitivity/SweepMessages.h"
#include "bench/sensitivity/WorkQueue.h"

namespace seaherald::sensitivity {
namespace {

bool Names(const SweepOptions& options, Impairment impairment) {
  return std::find(options.impairments.begin(), options.impairments.end(), impairment) !=
         options.impairments.end();
}

}  // namespace

void PointResult::Add(const MessageOutcome& outcome) {
  ++messages;
  if (outcome.filed) ++filed;
  cutLines += outcome.cutLines;
  text += outcome.text;
  filedBody += outcome.filedBody;
  foreignLogs += outcome.foreignLogs;
  if (outcome.cleanCopyFiled) ++cleanCopies;
  if (outcome.replacedByWorse) ++replacedByWorse;
}

std::vector<SweepPoint> ImpairmentsOf(const SweepOptions& options) {
  std::vector<SweepPoint> impairments;
  if (Names(options, Impairment::OnTune)) impairments.emplace_back();
  if (Names(options, Impairment::Offset)) {
    for (const double offset : options.offsetsHz) {
      if (offset != 0.0) impairments.emplace_back().offsetHz = offset;
    }
  }
  if (Names(options, Impairment::RateError)) {
    for (const double rate : options.rateErrors) {
      if (rate != 0.0) impairments.emplace_back().rateError = rate;
    }
  }
  if (Names(options, Impairment::Fading)) impairments.emplace_back().fading = options.fading;
  if (Names(options, Impairment::Crashes)) impairments.emplace_back().crashes = options.crashes;
  if (Names(options, Impairment::Channel)) {
    for (const ChannelModel& channel : options.channels)
      impairments.emplace_back().channel = channel;
  }
  if (Names(options, Impairment::Bursts)) {
    for (const double ms : options.burstDurationsMs) {
      BurstModel bursts = options.bursts;
      bursts.durationMs = ms;
      impairments.emplace_back().bursts = bursts;
    }
  }
  return impairments;
}

std::vector<SweepPoint> PointsOf(const SweepOptions& options) {
  std::vector<SweepPoint> points;
  for (const testsignal::Language language : options.languages) {
    for (SweepPoint point : ImpairmentsOf(options)) {
      point.language = language;
      for (const double snr : options.snrDb) {
        point.snrDb = snr;
        points.push_back(point);
      }
    }
  }
  return points;
}

std::vector<MeasuredPoint> RunSweep(const std::vector<SweepPoint>& points, int messagesPerPoint,
                                    const std::vector<ReceivePath>& paths, int jobs,
                                    const ReceptionSetup& setup,
                                    const std::filesystem::path& scratch,
                                    const std::function<void(int done, int total)>& progress) {
  const int total = static_cast<int>(points.size()) * messagesPerPoint;
  // outcomes[item][path]
  std::vector<std::array<MessageOutcome, BothPaths.size()>> outcomes(
      static_cast<std::size_t>(total));
  RunInParallel(
      total, jobs,
      [&](int item) {
        const SweepPoint& point = points[static_cast<std::size_t>(item / messagesPerPoint)];
        const int index = item % messagesPerPoint;
        const SweepMessage message = MakeSweepMessage(point.language, index);
        const std::uint32_t seed = setup.firstSeed + static_cast<std::uint32_t>(index);
        const auto audio = MessageAudio(point, message, seed);
        const auto clean =
            setup.cleanFirst ? CleanAudio(point, message, seed) : std::vector<std::int16_t>();
        auto& slot = outcomes[static_cast<std::size_t>(item)];
        for (const ReceivePath path : paths) {
          slot[PathIndex(path)] = ReceiveAudio(audio, message, path, setup.mode, scratch, clean);
          if (slot[PathIndex(path)].audioDigest != slot[PathIndex(paths.front())].audioDigest) {
            throw std::logic_error("the receive paths were given different audio");
          }
        }
      },
      progress);

  std::vector<MeasuredPoint> measured;
  for (std::size_t p = 0; p < points.size(); ++p) {
    MeasuredPoint entry{points[p], {}};
    for (int m = 0; m < messagesPerPoint; ++m) {
      const auto& slot =
          outcomes[p * static_cast<std::size_t>(messagesPerPoint) + static_cast<std::size_t>(m)];
      for (const ReceivePath path : paths)
        entry.results[PathIndex(path)].Add(slot[PathIndex(path)]);
    }
    measured.push_back(entry);
  }
  return measured;
}

}  // namespace seaherald::sensitivity
