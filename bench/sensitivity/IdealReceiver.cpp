#include "bench/sensitivity/IdealReceiver.h"

#include <array>
#include <bit>
#include <cmath>
#include <complex>
#include <limits>
#include <numbers>
#include <random>

#include "bench/sensitivity/ChannelCatalogue.h"
#include "bench/sensitivity/ReportText.h"
#include "bench/sensitivity/WorkQueue.h"
#include "tests/support/GaussianNoise.h"
#include "tests/support/RayleighFading.h"

namespace seaherald::sensitivity {
namespace {

using Complex = std::complex<double>;

constexpr std::size_t BitsPerCharacter = 7;
constexpr double BitSeconds = 0.01;
constexpr double ToneOffsetHz = 85.0;  // each tone from the centre
constexpr int RepeatPositions = 5;     // the RX copy follows its DX copy by five positions
constexpr std::uint32_t PathSalt = 0x2545f491u;
constexpr std::uint32_t NoiseSalt = 0x6c8e9cf5u;

// The 35 seven-bit words with four ones.
std::vector<std::array<std::uint8_t, BitsPerCharacter>> CodeWords() {
  std::vector<std::array<std::uint8_t, BitsPerCharacter>> words;
  for (int value = 0; value < 128; ++value) {
    if (std::popcount(static_cast<unsigned>(value)) != 4) continue;
    std::array<std::uint8_t, BitsPerCharacter> word{};
    for (std::size_t i = 0; i < BitsPerCharacter; ++i)
      word[i] = static_cast<std::uint8_t>((value >> (BitsPerCharacter - 1 - i)) & 1);
    words.push_back(word);
  }
  return words;
}

double LogI0(double x) {
  if (x < 30.0) return std::log(std::cyl_bessel_i(0.0, x));
  // Asymptotic series; its next term is below 1e-6 here.
  return x - 0.5 * std::log(2.0 * std::numbers::pi * x) + std::log1p(1.0 / (8.0 * x));
}

// The paths of a channel, a steady single path when there is none.
std::vector<testsignal::ChannelPath> PathsOf(const std::optional<ChannelModel>& channel) {
  if (channel) return channel->paths;
  return {testsignal::ChannelPath{.delaySeconds = 0.0, .fading = {.dopplerHz = 0.0}}};
}

// Each path's gain at every bit; a steady channel's is one.
std::vector<std::vector<Complex>> PathGains(const std::optional<ChannelModel>& channel,
                                            std::size_t bits, std::uint32_t seed) {
  std::vector<std::vector<Complex>> gains;
  const auto paths = PathsOf(channel);
  for (std::size_t p = 0; p < paths.size(); ++p) {
    if (!channel) {
      gains.emplace_back(bits, Complex(1.0, 0.0));
      continue;
    }
    const auto pathSeed = seed ^ (PathSalt * static_cast<std::uint32_t>(p + 1));
    gains.push_back(testsignal::RayleighFading(paths[p].fading, pathSeed).Gains(BitSeconds, bits));
  }
  return gains;
}

}  // namespace

double IdealResult::Rate() const {
  return characters == 0 ? 0.0 : static_cast<double>(errors) / static_cast<double>(characters);
}

namespace {

// The characters sent and the code word at every position: character k at positions 2k (DX)
// and 2k + 5 (RX), random characters around them.
struct CharacterStream {
  std::vector<std::size_t> sent;
  std::vector<std::size_t> wordAt;
};

CharacterStream MakeStream(std::size_t characters, std::size_t wordCount, std::mt19937& choose) {
  CharacterStream stream;
  stream.wordAt.resize(2 * characters + RepeatPositions + 1);
  for (std::size_t& word : stream.wordAt)
    word = choose() % wordCount;
  for (std::size_t k = 0; k < characters; ++k) {
    stream.sent.push_back(choose() % wordCount);
    stream.wordAt[2 * k] = stream.sent.back();
    stream.wordAt[2 * k + RepeatPositions] = stream.sent.back();
  }
  return stream;
}

// The two correlator outputs of one bit and the receiver's knowledge of each tone's gain.
struct BitObservation {
  std::array<Complex, 2> received{};
  std::array<Complex, 2> toneGain{};
};

// Signal of bit `index` (`bit`, after `previous`) through every path; the noise comes on top.
BitObservation Observe(const std::vector<testsignal::ChannelPath>& paths,
                       const std::vector<std::vector<Complex>>& gains, std::size_t index, int bit,
                       int previous, double amplitude, std::mt19937& phases) {
  BitObservation seen;
  for (std::size_t p = 0; p < paths.size(); ++p) {
    const double delay = paths[p].delaySeconds;
    const double spill = delay / BitSeconds;
    for (std::size_t tone = 0; tone < 2; ++tone) {
      const double offset = tone == 1 ? ToneOffsetHz : -ToneOffsetHz;
      const Complex gain =
          gains[p][index] * std::polar(1.0, -2.0 * std::numbers::pi * offset * delay);
      seen.toneGain[tone] += gain;
      // The late path still carries the bit before for its delay.
      if (static_cast<int>(tone) == bit) {
        seen.received[tone] += amplitude * gain * (bit == previous ? 1.0 : 1.0 - spill);
      }
    }
    if (bit != previous) {
      const double phase = 2.0 * std::numbers::pi * static_cast<double>(phases()) / 4294967296.0;
      seen.received[static_cast<std::size_t>(previous)] +=
          amplitude * gains[p][index] * std::polar(spill, phase);
    }
  }
  return seen;
}

// Log-likelihood ratio of a one, exact for non-coherent detection with known tone gains.
double BitLlr(const BitObservation& seen, double amplitude) {
  std::array<double, 2> logLikelihood{};
  for (std::size_t tone = 0; tone < 2; ++tone) {
    const double a = amplitude * std::abs(seen.toneGain[tone]);
    logLikelihood[tone] = LogI0(2.0 * a * std::abs(seen.received[tone])) - a * a;
  }
  return logLikelihood[1] - logLikelihood[0];
}

// The code word most likely over both copies of character k.
std::size_t MostLikelyWord(const std::vector<std::array<std::uint8_t, BitsPerCharacter>>& words,
                           const std::vector<double>& llr, std::size_t k) {
  std::size_t best = 0;
  double bestScore = -std::numeric_limits<double>::infinity();
  for (std::size_t w = 0; w < words.size(); ++w) {
    double score = 0.0;
    for (const std::size_t position : {2 * k, 2 * k + RepeatPositions}) {
      for (std::size_t i = 0; i < BitsPerCharacter; ++i) {
        if (words[w][i] != 0) score += llr[position * BitsPerCharacter + i];
      }
    }
    if (score > bestScore) {
      bestScore = score;
      best = w;
    }
  }
  return best;
}

}  // namespace

IdealResult IdealCharacterErrors(const std::optional<ChannelModel>& channel, double snrDb,
                                 std::size_t characters, std::uint32_t seed) {
  static const auto words = CodeWords();
  std::mt19937 choose(seed);
  const CharacterStream stream = MakeStream(characters, words.size(), choose);
  const std::size_t bits = stream.wordAt.size() * BitsPerCharacter;
  const auto paths = PathsOf(channel);
  const auto gains = PathGains(channel, bits, seed);
  const double amplitude = std::sqrt(25.0 * std::pow(10.0, snrDb / 10.0));
  testsignal::GaussianNoise noise(seed ^ NoiseSalt);
  std::vector<double> llr(bits);  // positive favours a one
  int previous = 0;
  for (std::size_t b = 0; b < bits; ++b) {
    const int bit = words[stream.wordAt[b / BitsPerCharacter]][b % BitsPerCharacter];
    BitObservation seen = Observe(paths, gains, b, bit, previous, amplitude, choose);
    for (Complex& received : seen.received)
      received += Complex(noise.Next(), noise.Next()) * std::sqrt(0.5);
    llr[b] = BitLlr(seen, amplitude);
    previous = bit;
  }
  IdealResult result{.characters = characters};
  for (std::size_t k = 0; k < characters; ++k) {
    if (MostLikelyWord(words, llr, k) != stream.sent[k]) ++result.errors;
  }
  return result;
}

std::vector<std::optional<ChannelModel>> IdealChannels(const SweepOptions& options) {
  std::vector<std::optional<ChannelModel>> channels;
  if (!options.channels.empty()) {
    channels.assign(options.channels.begin(), options.channels.end());
    return channels;
  }
  channels.emplace_back();
  for (const double doppler : RayleighDopplersHz)
    channels.emplace_back(RayleighChannel(doppler));
  for (const WattersonCondition& condition : WattersonConditions)
    channels.emplace_back(WattersonChannel(condition));
  return channels;
}

void WriteIdealTable(std::ostream& out, const SweepOptions& options, int jobs,
                     const std::function<void(int done, int total)>& progress) {
  const auto channels = IdealChannels(options);
  const std::size_t steps = options.snrDb.size();
  std::vector<IdealResult> results(channels.size() * steps);
  RunInParallel(
      static_cast<int>(results.size()), jobs,
      [&](int item) {
        const auto index = static_cast<std::size_t>(item);
        // The same seed at every SNR step of a channel: the steps differ only in the SNR.
        results[index] = IdealCharacterErrors(channels[index / steps], options.snrDb[index % steps],
                                              IdealCharactersPerPoint, options.firstSeed);
      },
      progress);
  out << "Ideal receiver, English: CER (%) of soft two-copy maximum likelihood with the channel's "
         "gain on each tone known (non-coherent, perfect timing), "
      << IdealCharactersPerPoint << " characters a point, seed " << options.firstSeed << ".\n\n";
  out << "| Channel |";
  std::string rule = "|---|";
  for (const double snr : options.snrDb) {
    out << " " << Format("%g", snr) << " dB |";
    rule += "---:|";
  }
  out << "\n" << rule << "\n";
  for (std::size_t c = 0; c < channels.size(); ++c) {
    out << "| " << (channels[c] ? channels[c]->name : std::string("steady")) << " |";
    for (std::size_t s = 0; s < steps; ++s)
      out << " " << Format("%.3g", 100.0 * results[c * steps + s].Rate()) << " |";
    out << "\n";
  }
  out << "\nMeasured with `" << options.commandLine << "`.\n";
}

}  // namespace seaherald::sensitivity
