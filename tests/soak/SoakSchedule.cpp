#include "tests/soak/SoakSchedule.h"

#include <array>
#include <cmath>
#include <string_view>

#include "tests/support/GaussianNoise.h"
#include "tests/support/ShiftJisText.h"
#include "tests/support/TestSignal.h"

namespace seaherald::soak {
namespace {

using testsignal::Language;

constexpr std::array<std::string_view, 16> EnglishLines = {
    "NAVAREA XI 0217/27",
    "SEA OF JAPAN.",
    "MISSILE FIRING EXERCISES 010000 UTC TO 010600 UTC MAR 27",
    "IN AREA BOUNDED BY 38-20N 134-10E, 38-20N 134-50E,",
    "37-40N 134-50E AND 37-40N 134-10E.",
    "VESSELS ARE REQUESTED TO KEEP CLEAR.",
    "UNLIT BUOY ADRIFT NEAR 35-12.4N 139-45.0E.",
    "RACON ON KANNON SAKI INOPERATIVE.",
    "GALE WARNING. LOW 988 HPA AT 41N 142E MOVING E 30 KT.",
    "NORTHWEST WINDS 35 KT, SEAS 5 METERS.",
    "SURVEY VESSEL TAKUYO (JGUM) CONDUCTING OPERATIONS.",
    "TOWING OPERATIONS: TUG WITH TOW 600 METERS LONG.",
    "FISHING NETS SET WITHIN 2 MILES OF 33-50N 130-20E.",
    "CANCEL NAVAREA XI 0209/27.",
    "WIDE BERTH REQUESTED. MONITOR VHF CH 16 AND 2182 KHZ.",
    "QUERY: POSITION 24-20N 124-10E = MOJI 09?",
};

constexpr std::array<std::string_view, 12> JapaneseLinesUtf8 = {
    "日本海中部　佐渡島西方",
    "ミサイル発射訓練　三月一日〇〇〇〇から〇六〇〇まで",
    "北緯３８度２０分　東経１３４度１０分",
    "航行船舶は十分注意されたい",
    "無灯浮標漂流中　観音埼付近",
    "観音埼レーコン　作動停止中",
    "暴風警報　低気圧　九八八ヘクトパスカル",
    "北西の風　三十五ノット　波の高さ五メートル",
    "測量船　拓洋　作業中",
    "えい航作業　長さ六百メートル",
    "漁網設置　北緯３３度５０分　東経１３０度２０分",
    "航行警報第二〇九号は取り消す",
};

constexpr int RecentHeaderCount = 16;
constexpr double ReusedHeaderChance = 0.25;
constexpr int LongMessageLines = 12;

std::string FullWidthUtf8(char ascii) {
  // Full-width ASCII lies at U+FF01 + (c - '!'): three UTF-8 bytes.
  const int codePoint = 0xFF01 + (ascii - '!');
  return {static_cast<char>(0xE0 | (codePoint >> 12)),
          static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)),
          static_cast<char>(0x80 | (codePoint & 0x3F))};
}

std::string StartLine(Language language, const std::string& header) {
  if (language == Language::English) return "ZCZC " + header;
  return testsignal::Utf8ToShiftJis("ＺＣＺＣ　") + header;
}

std::string EndLine(Language language) {
  return language == Language::English ? std::string("NNNN")
                                       : testsignal::Utf8ToShiftJis("ＮＮＮＮ");
}

}  // namespace

std::string_view ConditionName(Condition condition) {
  switch (condition) {
    case Condition::Clean:
      return "clean";
    case Condition::Clipped:
      return "clipped";
    case Condition::Noisy:
      return "noisy";
    case Condition::Threshold:
      return "threshold";
    case Condition::Gap:
      return "gap";
    case Condition::BrokenOff:
      return "broken off";
  }
  return "?";
}

double AmplitudeFor(std::optional<double> snrDb) {
  if (!snrDb) return std::sqrt(2.0) * BroadcastRmsLevel;
  const double bandFraction = testsignal::SnrBandwidthHz / (testsignal::SignalSampleRate / 2.0);
  const double noiseOverSignal = std::pow(10.0, -*snrDb / 10.0) / bandFraction;
  return std::sqrt(2.0 * BroadcastRmsLevel * BroadcastRmsLevel / (1.0 + noiseOverSignal));
}

SoakSchedule::SoakSchedule(std::uint32_t seed) : random_(seed) {}

Segment SoakSchedule::Next() {
  if (quietLeft_ > 0) {
    --quietLeft_;
    return NextQuiet();
  }
  quietLeft_ = 1 + Below(3);
  return NextBroadcast();
}

double SoakSchedule::Uniform(double low, double high) {
  return std::uniform_real_distribution<double>(low, high)(random_);
}

int SoakSchedule::Below(int limit) {
  return std::uniform_int_distribution<int>(0, limit - 1)(random_);
}

bool SoakSchedule::Chance(double probability) {
  return Uniform(0.0, 1.0) < probability;
}

Condition SoakSchedule::PickCondition() {
  // Percent shares: clean 40, clipped 10, noisy 15, threshold 15, gap 10, broken off 10.
  const int roll = Below(100);
  if (roll < 40) return Condition::Clean;
  if (roll < 50) return Condition::Clipped;
  if (roll < 65) return Condition::Noisy;
  if (roll < 80) return Condition::Threshold;
  if (roll < 90) return Condition::Gap;
  return Condition::BrokenOff;
}

std::string RandomHeader(Language language, std::mt19937& random) {
  auto below = [&](int limit) { return std::uniform_int_distribution<int>(0, limit - 1)(random); };
  const char b1 = static_cast<char>('A' + below(26));
  const char b2 = static_cast<char>('A' + below(26));
  const int serial = below(language == Language::English ? 40 : 400);
  if (language == Language::English) {
    return std::string{b1, b2, static_cast<char>('0' + serial / 10),
                       static_cast<char>('0' + serial % 10)};
  }
  std::string utf8 = FullWidthUtf8(b1) + FullWidthUtf8(b2);
  for (const int digit : {serial / 100, serial / 10 % 10, serial % 10})
    utf8 += FullWidthUtf8(static_cast<char>('0' + digit));
  return testsignal::Utf8ToShiftJis(utf8);
}

SoakSchedule::UsedHeader SoakSchedule::PickHeader() {
  if (!recentHeaders_.empty() && Chance(ReusedHeaderChance)) {
    return recentHeaders_[static_cast<std::size_t>(Below(static_cast<int>(recentHeaders_.size())))];
  }
  const Language language = Chance(0.5) ? Language::English : Language::Japanese;
  UsedHeader used{language, RandomHeader(language, random_)};
  RememberHeader(language, used.header);
  return used;
}

void SoakSchedule::RememberHeader(Language language, const std::string& header) {
  recentHeaders_.push_back({language, header});
  if (recentHeaders_.size() > RecentHeaderCount) recentHeaders_.pop_front();
}

BroadcastPlan SoakSchedule::NextBroadcast() {
  BroadcastPlan plan;
  plan.serial = ++serial_;
  plan.condition = PickCondition();
  const UsedHeader used = PickHeader();
  const Language language = used.language;
  plan.header = used.header;

  const int lines = Chance(0.05) ? LongMessageLines : 1 + Below(5);
  for (int i = 0; i < lines; ++i) {
    plan.body +=
        language == Language::English
            ? std::string(EnglishLines[static_cast<std::size_t>(Below(EnglishLines.size()))])
            : testsignal::Utf8ToShiftJis(
                  JapaneseLinesUtf8[static_cast<std::size_t>(Below(JapaneseLinesUtf8.size()))]);
    plan.body += "\r\n";
  }
  plan.transmission.language = language;
  plan.transmission.text =
      StartLine(language, plan.header) + "\r\n" + plan.body + EndLine(language) + "\r\n";
  plan.transmission.phasingSeconds = Uniform(2.0, 6.0);
  plan.inverted = Chance(0.2);
  Impair(plan);
  return plan;
}

void SoakSchedule::Impair(BroadcastPlan& plan) {
  switch (plan.condition) {
    case Condition::Clean:
    case Condition::Gap:
    case Condition::BrokenOff:
      if (Chance(0.5)) plan.snrDb = Uniform(20.0, 35.0);
      plan.offsetHz = Uniform(-4.0, 4.0);
      plan.rateError = Uniform(-0.001, 0.001);
      break;
    case Condition::Clipped:
      plan.offsetHz = Uniform(-4.0, 4.0);
      break;
    case Condition::Noisy:
      plan.snrDb = Uniform(6.0, 12.0);
      plan.offsetHz = Uniform(-10.0, 10.0);
      plan.rateError = Uniform(-0.003, 0.003);
      break;
    case Condition::Threshold:
      plan.snrDb = Uniform(0.0, 4.0);
      plan.offsetHz = Uniform(-5.0, 5.0);
      plan.rateError = Uniform(-0.002, 0.002);
      break;
  }
  plan.amplitude =
      plan.condition == Condition::Clipped ? ClippedAmplitude : AmplitudeFor(plan.snrDb);

  const std::size_t bits = testsignal::TransmissionBits(plan.transmission).size();
  if (plan.condition == Condition::Gap) {
    plan.interruptionAtBit = static_cast<std::size_t>(Uniform(0.3, 0.85) * bits);
    if (Chance(0.5)) {
      plan.interruption = Interruption::Static;
      plan.interruptionSeconds = Uniform(0.2, 3.0);
    } else {
      plan.interruption = Interruption::Silence;
      // Now and then longer than the receive time-out, which then drops the message.
      plan.interruptionSeconds = Chance(0.2) ? Uniform(35.0, 60.0) : Uniform(0.5, 10.0);
    }
  }
  if (plan.condition == Condition::BrokenOff) {
    const std::size_t bodyStart = plan.transmission.text.find("\r\n") + 2;
    const std::size_t bodyEnd = bodyStart + plan.body.size();
    plan.transmission.stopAtTextOffset =
        bodyStart +
        static_cast<std::size_t>(Uniform(0.0, 1.0) * static_cast<double>(bodyEnd - bodyStart));
  }
}

QuietPlan SoakSchedule::NextQuiet() {
  QuietPlan quiet;
  const int roll = Below(100);
  if (roll < 35) {
    quiet.kind = QuietKind::Silence;
    quiet.seconds = Uniform(3.0, 75.0);
  } else if (roll < 80) {
    quiet.kind = QuietKind::Hiss;
    quiet.seconds = Uniform(3.0, 90.0);
    quiet.hissDeviation = Uniform(300.0, 3000.0);
  } else if (roll < 90) {
    quiet.kind = QuietKind::Static;
    quiet.seconds = Uniform(0.2, 3.0);
  } else {
    quiet.kind = QuietKind::Phasing;
    quiet.seconds = Uniform(3.0, 12.0);
    quiet.phasingLanguage =
        Chance(0.5) ? testsignal::Language::English : testsignal::Language::Japanese;
  }
  return quiet;
}

}  // namespace seaherald::soak
