#include "bench/sensitivity/Sweep.h"

#include <atomic>
#include <chrono>
#include <exception>
#include <mutex>
#include <thread>

#include "bench/sensitivity/ReceptionRun.h"
#include "bench/sensitivity/SweepMessages.h"

namespace seaherald::sensitivity {
namespace {

constexpr std::uint32_t FirstSeed = 1001;

}  // namespace

void PointResult::Add(const MessageOutcome& outcome) {
  ++messages;
  if (outcome.filed) ++filed;
  cutLines += outcome.cutLines;
  text += outcome.text;
  filedBody += outcome.filedBody;
}

std::vector<SweepPoint> PointsOf(const SweepOptions& options) {
  std::vector<SweepPoint> points;
  for (const testsignal::Language language : options.languages) {
    for (const double offset : options.offsetsHz) {
      for (const double rate : options.rateErrors) {
        for (const double snr : options.snrDb)
          points.push_back({language, snr, offset, rate});
      }
    }
  }
  return points;
}

std::vector<MeasuredPoint> RunSweep(const std::vector<SweepPoint>& points, int messagesPerPoint,
                                    int jobs, ReceiverMode mode,
                                    const std::filesystem::path& scratch,
                                    const std::function<void(int done, int total)>& progress) {
  const int total = static_cast<int>(points.size()) * messagesPerPoint;
  std::vector<MessageOutcome> outcomes(static_cast<std::size_t>(total));
  std::atomic<int> next{0};
  std::atomic<int> done{0};
  std::atomic<bool> failed{false};
  std::exception_ptr failure;  // written once, under the mutex, read after the join
  std::mutex failureMutex;

  auto work = [&] {
    for (int item = next++; item < total; item = next++) {
      const SweepPoint& point = points[static_cast<std::size_t>(item / messagesPerPoint)];
      const int message = item % messagesPerPoint;
      try {
        outcomes[static_cast<std::size_t>(item)] =
            ReceiveMessage(point, MakeSweepMessage(point.language, message),
                           FirstSeed + static_cast<std::uint32_t>(message), mode, scratch);
      } catch (...) {
        const std::lock_guard lock(failureMutex);
        if (!failure) failure = std::current_exception();
        failed = true;
        next = total;
      }
      ++done;
    }
  };
  std::vector<std::jthread> workers;
  for (int i = 0; i < jobs; ++i)
    workers.emplace_back(work);
  while (done < total && !failed) {
    progress(done, total);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
  }
  workers.clear();  // joins
  if (failure) std::rethrow_exception(failure);
  progress(total, total);

  std::vector<MeasuredPoint> measured;
  for (std::size_t p = 0; p < points.size(); ++p) {
    MeasuredPoint entry{points[p], {}};
    for (int m = 0; m < messagesPerPoint; ++m)
      entry.result.Add(
          outcomes[p * static_cast<std::size_t>(messagesPerPoint) + static_cast<std::size_t>(m)]);
    measured.push_back(entry);
  }
  return measured;
}

}  // namespace seaherald::sensitivity
