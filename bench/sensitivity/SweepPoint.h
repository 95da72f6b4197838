#pragma once

#include "bench/sensitivity/CharacterErrors.h"
#include "tests/support/Transmission.h"

namespace seaherald::sensitivity {

// One measuring point: the language sent and the impairments of the signal.
struct SweepPoint {
  testsignal::Language language = testsignal::Language::English;
  double snrDb = 0.0;      // signal power over noise power in 2500 Hz
  double offsetHz = 0.0;   // both tones moved by this much from where the receiver expects them
  double rateError = 0.0;  // relative bit rate error: 0.003 sends 100.3 baud
};

// What became of one message sent at a point.
struct MessageOutcome {
  CharacterErrors text;       // every line the decoder handed over against every line sent
  bool filed = false;         // its log file was written under the header sent
  CharacterErrors filedBody;  // the body in the log file against the body sent, when filed
  int cutLines = 0;           // lines handed over cut short
};

// The sum over the messages of a point.
struct PointResult {
  int messages = 0;
  int filed = 0;
  int cutLines = 0;
  CharacterErrors text;
  CharacterErrors filedBody;

  void Add(const MessageOutcome& outcome);
};

}  // namespace seaherald::sensitivity
