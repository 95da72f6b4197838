// Writes the shipped sample recording: make_sample samples/navtex-sample.wav
#include <cstdio>
#include <exception>

#include "tests/support/AudioFileWriter.h"
#include "tests/support/FskModulator.h"
#include "tests/support/SampleRecording.h"

int main(int argc, char** argv) {
  using namespace seaherald::testsignal;
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT.wav\n", argv[0]);
    return 2;
  }
  try {
    const std::vector<std::int16_t> samples = SampleRecording();
    WriteAudioFile(argv[1], samples, 1, SignalSampleRate, AudioFileType::Wav);
    std::fprintf(stderr, "%s: %.1f s\n", argv[1],
                 static_cast<double>(samples.size()) / SignalSampleRate);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s: %s\n", argv[0], error.what());
    return 1;
  }
  return 0;
}
