#include "tests/support/SampleRecording.h"

#include <string>

#include "tests/support/ShiftJisText.h"

namespace seaherald::testsignal {

std::vector<Transmission> SampleTransmissions() {
  Transmission english;
  english.language = Language::English;
  english.text = std::string(SampleEnglishText);
  english.phasingSeconds = 2.5;
  english.trailingPhasingSeconds = 0.5;

  Transmission japanese;
  japanese.language = Language::Japanese;
  japanese.text = Utf8ToShiftJis(SampleJapaneseUtf8);
  japanese.phasingSeconds = 2.5;
  japanese.trailingPhasingSeconds = 0.5;
  japanese.silenceBeforeSeconds = 1.0;
  return {english, japanese};
}

SignalOptions SampleSignalOptions() {
  SignalOptions options;
  options.fsk.centerHz = 800;
  options.fsk.offsetHz = 3;
  options.fsk.amplitude = 8000;
  options.snrDb = 20;
  options.seed = 2024;
  options.leadingSilenceSeconds = 0.5;
  options.trailingSilenceSeconds = 0.5;
  return options;
}

std::vector<std::int16_t> SampleRecording() {
  return ToPcm16(Modulate(SampleTransmissions(), SampleSignalOptions()));
}

}  // namespace seaherald::testsignal
