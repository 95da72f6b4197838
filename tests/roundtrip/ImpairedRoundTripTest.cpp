// Signals as receivers deliver them: centres across the audio band, mistuning, a bit clock that
// runs fast or slow, and noise. The message must still arrive complete.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tests/roundtrip/Messages.h"
#include "tests/roundtrip/Receiver.h"
#include "tests/support/TestSignal.h"

namespace seaherald::roundtrip {
namespace {

using testsignal::Language;
using testsignal::SignalOptions;
using testsignal::Transmission;

struct ImpairedCase {
  std::string name;
  Language language;
  double centerHz = 800;
  double offsetHz = 0;
  double rateError = 0;
  std::optional<double> snrDb;
  std::uint32_t seed = 1;
};

void PrintTo(const ImpairedCase& c, std::ostream* out) {
  *out << c.name;
}

class ImpairedRoundTrip : public testing::TestWithParam<ImpairedCase> {};

TEST_P(ImpairedRoundTrip, MessageArrivesComplete) {
  const ImpairedCase& c = GetParam();
  const Transmission transmission =
      c.language == Language::English ? EnglishBroadcast() : JapaneseBroadcast();
  SignalOptions options;
  options.fsk.centerHz = c.centerHz;
  options.fsk.offsetHz = c.offsetHz;
  options.fsk.rateError = c.rateError;
  options.snrDb = c.snrDb;
  options.seed = c.seed;
  // The receiver is tuned to the nominal centre and starts in the other language.
  const ReceiverSetup setup{.english = c.language != Language::English, .centerHz = c.centerHz};
  EXPECT_EQ(DecodeAudio(AudioOf(transmission, options), setup), LinesOf(transmission));
}

ImpairedCase Make(std::string name, Language language, double centerHz, double offsetHz = 0,
                  double rateError = 0) {
  ImpairedCase c;
  c.name = std::move(name);
  c.language = language;
  c.centerHz = centerHz;
  c.offsetHz = offsetHz;
  c.rateError = rateError;
  return c;
}

std::vector<ImpairedCase> Cases() {
  std::vector<ImpairedCase> cases;
  for (const Language language : {Language::English, Language::Japanese}) {
    const std::string tag = language == Language::English ? "English" : "Japanese";
    for (const double centre : {200.0, 450.0, 1000.0, 1250.0}) {
      cases.push_back(
          Make(tag + "Centre" + std::to_string(static_cast<int>(centre)), language, centre));
    }
    cases.push_back(Make(tag + "TunedLow10Hz", language, 800, -10));
    cases.push_back(Make(tag + "TunedHigh10Hz", language, 800, +10));
    cases.push_back(Make(tag + "ClockSlow0_3Percent", language, 800, 0, -0.003));
    cases.push_back(Make(tag + "ClockFast0_3Percent", language, 800, 0, +0.003));
    cases.push_back(Make(tag + "MistunedAndFast", language, 600, 10, 0.003));
    for (const std::uint32_t seed : {1u, 2u, 3u}) {
      ImpairedCase noisy = Make(tag + "Snr10dBSeed" + std::to_string(seed), language, 800);
      noisy.snrDb = 10.0;
      noisy.seed = seed;
      cases.push_back(noisy);
    }
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Signals, ImpairedRoundTrip, testing::ValuesIn(Cases()),
                         [](const auto& info) { return info.param.name; });

TEST(NoisyRoundTrip, NoiseAtTheThresholdCutsLinesAndDecodingGoesOn) {
  // Messages arrive whole down to about 3 dB; at 0 dB characters are lost. The losses must show
  // as cut lines, and the receiver must keep finding sync so that text keeps coming.
  const Transmission transmission = EnglishBroadcast();
  const auto sent = LinesOf(transmission);
  for (const std::uint32_t seed : {11u, 12u}) {
    SignalOptions options;
    options.snrDb = 0.0;
    options.fsk.amplitude = 4000;
    options.seed = seed;
    const auto lines = DecodeAudio(AudioOf(transmission, options), {.english = true});
    const auto cut = std::count_if(lines.begin(), lines.end(), [](const auto& l) { return l.cut; });
    const auto whole = std::count_if(lines.begin(), lines.end(), [&](const ReceivedLine& l) {
      return std::find(sent.begin(), sent.end(), l) != sent.end();
    });
    EXPECT_GE(cut, 1) << testing::PrintToString(lines);
    EXPECT_GE(lines.size(), sent.size()) << testing::PrintToString(lines);
    EXPECT_GE(whole, 1) << testing::PrintToString(lines);
  }
}

}  // namespace
}  // namespace seaherald::roundtrip
