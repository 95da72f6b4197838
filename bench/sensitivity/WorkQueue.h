#pragma once

#include <functional>

namespace seaherald::sensitivity {

// Runs task(0) .. task(count - 1) on `jobs` threads, each item once. `progress` hears the number
// of items done so far, from the calling thread only. The first exception a task throws stops
// the handing out of further items and is thrown again here once every thread has finished.
void RunInParallel(int count, int jobs, const std::function<void(int item)>& task,
                   const std::function<void(int done, int total)>& progress);

}  // namespace seaherald::sensitivity
