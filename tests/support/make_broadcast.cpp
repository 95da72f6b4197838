// Writes one English broadcast of the given text as a recording, for demonstrations such as the
// alarm screenshot: make_broadcast OUTPUT.wav 'ZCZC GD01\nTEXT\nNNNN' ("\n" ends a line). With a
// second text (UTF-8, sent as the Japanese service) the recording is stereo: the English broadcast
// on the left and the Japanese one on the right at the same time, for the two receivers.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "tests/support/AudioFileWriter.h"
#include "tests/support/FskModulator.h"
#include "tests/support/ShiftJisText.h"
#include "tests/support/TestSignal.h"
#include "tests/support/Transmission.h"

namespace {

using namespace seaherald::testsignal;

std::string WithLineEnds(const char* argument) {
  std::string text;
  for (const char* c = argument; *c != '\0'; ++c) {
    if (c[0] == '\\' && c[1] == 'n') {
      text += "\r\n";
      ++c;
    } else {
      text += *c;
    }
  }
  return text + "\r\n";
}

std::vector<std::int16_t> Broadcast(Language language, const std::string& text) {
  Transmission transmission;
  transmission.language = language;
  transmission.text = text;
  return ToPcm16(Modulate(std::span(&transmission, 1), SignalOptions{}));
}

std::vector<std::int16_t> Interleaved(const std::vector<std::int16_t>& left,
                                      const std::vector<std::int16_t>& right) {
  std::vector<std::int16_t> frames(2 * std::max(left.size(), right.size()), 0);
  for (std::size_t i = 0; i < left.size(); ++i)
    frames[2 * i] = left[i];
  for (std::size_t i = 0; i < right.size(); ++i)
    frames[2 * i + 1] = right[i];
  return frames;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: %s OUTPUT.wav TEXT [JAPANESE_TEXT]\n", argv[0]);
    return 2;
  }
  try {
    const auto english = Broadcast(Language::English, WithLineEnds(argv[2]));
    if (argc == 3) {
      WriteAudioFile(argv[1], english, 1, SignalSampleRate, AudioFileType::Wav);
    } else {
      const auto japanese = Broadcast(Language::Japanese, Utf8ToShiftJis(WithLineEnds(argv[3])));
      WriteAudioFile(argv[1], Interleaved(english, japanese), 2, SignalSampleRate,
                     AudioFileType::Wav);
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s: %s\n", argv[0], error.what());
    return 1;
  }
  return 0;
}
