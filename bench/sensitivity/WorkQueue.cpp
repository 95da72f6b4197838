#include "bench/sensitivity/WorkQueue.h"

#include <atomic>
#include <chrono>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace seaherald::sensitivity {

void RunInParallel(int count, int jobs, const std::function<void(int item)>& task,
                   const std::function<void(int done, int total)>& progress) {
  std::atomic<int> next{0};
  std::atomic<int> done{0};
  std::atomic<bool> failed{false};
  std::exception_ptr failure;  // written once, under the mutex, read after the join
  std::mutex failureMutex;

  auto work = [&] {
    for (int item = next++; item < count; item = next++) {
      try {
        task(item);
      } catch (...) {
        const std::lock_guard lock(failureMutex);
        if (!failure) failure = std::current_exception();
        failed = true;
        next = count;
      }
      ++done;
    }
  };
  std::vector<std::jthread> workers;
  for (int i = 0; i < jobs; ++i)
    workers.emplace_back(work);
  while (done < count && !failed) {
    progress(done, count);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
  }
  workers.clear();  // joins
  if (failure) std::rethrow_exception(failure);
  progress(count, count);
}

}  // namespace seaherald::sensitivity
