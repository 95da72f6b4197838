#include "bench/sensitivity/NoiseRun.h"

#include <array>
#include <cmath>

#include "bench/sensitivity/CharacterErrors.h"
#include "bench/sensitivity/ReceivingWindow.h"
#include "bench/sensitivity/ReceptionRun.h"
#include "bench/sensitivity/WorkQueue.h"
#include "tests/support/GaussianNoise.h"
#include "tests/support/ImpulseNoise.h"
#include "tests/support/TestSignal.h"

namespace seaherald::sensitivity {
NoiseOutcome ReceiveNoise(double hours, const std::optional<CrashModel>& crashes, ReceivePath path,
                          std::uint32_t seed, const std::filesystem::path& scratch) {
  const ScratchFolder folder(scratch);
  // No signal, so no language to set: the program's automatic mode.
  ReceivingWindow window(folder.Path() / "log", path, ReceiverMode::Automatic,
                         testsignal::Language::Japanese);
  testsignal::GaussianNoise noise(seed);
  std::optional<testsignal::ImpulseNoise> impulses;
  if (crashes) impulses.emplace(ImpulsesFor(*crashes), seed);
  const auto blocks =
      static_cast<long>(std::llround(hours * 3600.0 * testsignal::SignalSampleRate / BlockFrames));
  std::array<double, BlockFrames> samples{};
  for (long block = 0; block < blocks; ++block) {
    samples.fill(0.0);
    // The AGC holds the noise alone at the level signal plus noise have elsewhere.
    noise.AddTo(samples, AudioRmsLevel);
    if (impulses) impulses->AddTo(samples);
    window.Feed(testsignal::ToPcm16(samples));
  }

  NoiseOutcome outcome{.path = path, .crashes = crashes, .hours = hours};
  outcome.lines = static_cast<int>(window.Lines().size());
  outcome.cutLines = window.CutLines();
  outcome.characters = static_cast<long>(CharactersOfLines(window.Lines()).size()) - outcome.lines;
  outcome.filed = static_cast<int>(window.Folder().ListLogFiles().size());
  outcome.audioDigest = window.AudioDigest();
  return outcome;
}

std::vector<NoiseOutcome> RunNoise(double hours, const std::vector<ReceivePath>& paths,
                                   const std::optional<CrashModel>& crashes, int jobs,
                                   const std::filesystem::path& scratch,
                                   const std::function<void(int done, int total)>& progress,
                                   std::uint32_t seed) {
  std::vector<std::optional<CrashModel>> kinds{std::nullopt};
  if (crashes) kinds.push_back(crashes);
  std::vector<NoiseOutcome> outcomes(kinds.size() * paths.size());
  RunInParallel(
      static_cast<int>(outcomes.size()), jobs,
      [&](int item) {
        const auto index = static_cast<std::size_t>(item);
        outcomes[index] = ReceiveNoise(hours, kinds[index / paths.size()],
                                       paths[index % paths.size()], seed, scratch);
      },
      progress);
  return outcomes;
}

}  // namespace seaherald::sensitivity
