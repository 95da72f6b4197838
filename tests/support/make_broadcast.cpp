// Writes one English broadcast of the given text as a recording, for demonstrations such as the
// alarm screenshot: make_broadcast OUTPUT.wav 'ZCZC GD01\nTEXT\nNNNN' ("\n" ends a line).
#include <cstdio>
#include <exception>
#include <string>

#include "tests/support/AudioFileWriter.h"
#include "tests/support/FskModulator.h"
#include "tests/support/TestSignal.h"
#include "tests/support/Transmission.h"

int main(int argc, char** argv) {
  using namespace seaherald::testsignal;
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s OUTPUT.wav TEXT\n", argv[0]);
    return 2;
  }
  std::string text;
  for (const char* c = argv[2]; *c != '\0'; ++c) {
    if (c[0] == '\\' && c[1] == 'n') {
      text += "\r\n";
      ++c;
    } else {
      text += *c;
    }
  }
  try {
    Transmission transmission;
    transmission.language = Language::English;
    transmission.text = text + "\r\n";
    const auto samples = ToPcm16(Modulate(std::span(&transmission, 1), SignalOptions{}));
    WriteAudioFile(argv[1], samples, 1, SignalSampleRate, AudioFileType::Wav);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s: %s\n", argv[0], error.what());
    return 1;
  }
  return 0;
}
