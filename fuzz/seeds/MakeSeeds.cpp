// Writes the seed corpus of the fuzz targets: fuzz_make_seeds CORPUS_DIR SAMPLE_WAV
// Each seed follows the input layout described at the top of its target's source. Run it again
// after a layout changes; the files it writes are small and stable from run to run.

#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "app/Settings.h"
#include "app/SettingsFile.h"
#include "fuzz/seeds/BroadcastBits.h"
#include "fuzz/support/ByteStream.h"
#include "platform/CodePage.h"

namespace seaherald::fuzz {
namespace {

namespace fs = std::filesystem;
using namespace std::string_view_literals;

void WriteSeed(const fs::path& folder, const std::string& name, std::string_view bytes) {
  fs::create_directories(folder);
  std::ofstream stream(folder / name, std::ios::binary | std::ios::trunc);
  stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!stream) throw std::runtime_error("cannot write " + (folder / name).string());
}

void WriteSeed(const fs::path& folder, const std::string& name, const ByteWriter& writer) {
  const std::vector<std::uint8_t>& data = writer.Data();
  WriteSeed(folder, name, std::string(data.begin(), data.end()));
}

std::vector<std::uint8_t> Complemented(std::vector<std::uint8_t> bits) {
  for (std::uint8_t& bit : bits)
    bit = static_cast<std::uint8_t>(1 - bit);
  return bits;
}

const std::string kEnglishText = "ZCZC GA01\r\nNAHA NAVTEX\r\nPOSITION 26-13N 127-40E.\r\nNNNN\r\n";
const std::string kJapaneseUtf8 = "ＺＣＺＣ　ＧＡ１２３\r\n航行警報　試験\r\nＮＮＮＮ\r\n";

// CharacterDecoderFuzzer.cpp: control byte, count byte, bytes of bits (most significant first).
namespace character {

constexpr std::uint8_t kEnglish = 0x01;
constexpr std::uint8_t kInverted = 0x02;
constexpr std::uint8_t kAuto = 0x04;
constexpr std::uint8_t kApply = 0x08;
constexpr std::uint8_t kByteBits = 0x20;

void AppendBits(ByteWriter& writer, std::uint8_t control, const std::vector<std::uint8_t>& bits) {
  std::string packed;
  for (std::size_t i = 0; i < bits.size(); i += 8) {
    std::uint8_t byte = 0;
    for (std::size_t j = 0; j < 8; ++j)
      byte = static_cast<std::uint8_t>(byte << 1 | (i + j < bits.size() ? bits[i + j] : 0));
    packed += static_cast<char>(byte);
  }
  for (std::size_t at = 0; at < packed.size(); at += 255) {
    writer.Byte(at == 0 ? control : 0).ShortText(std::string_view(packed).substr(at, 255));
  }
}

void Write(const fs::path& folder, const std::string& japanese) {
  const std::vector<std::uint8_t> english = BroadcastBits(Service::English, kEnglishText, 6);
  const std::vector<std::uint8_t> japaneseBits = BroadcastBits(Service::Japanese, japanese, 6);
  const std::vector<std::uint8_t> figures =
      BroadcastBits(Service::English, "ZCZC JB12\r\nWIND 12M/S, SEA 3.5M (+2)?\r\nNNNN\r\n", 4);

  ByteWriter englishAuto;
  AppendBits(englishAuto, kApply | kEnglish | kAuto, english);
  WriteSeed(folder, "english-auto", englishAuto);

  ByteWriter englishInverted;
  AppendBits(englishInverted, kApply | kEnglish | kAuto, Complemented(english));
  WriteSeed(folder, "english-inverted-auto", englishInverted);

  ByteWriter japaneseAuto;
  AppendBits(japaneseAuto, kApply | kAuto, japaneseBits);
  WriteSeed(folder, "japanese-auto", japaneseAuto);

  // An English decoder that must find the Japanese service by its phasing.
  ByteWriter switchToJapanese;
  AppendBits(switchToJapanese, kApply | kEnglish | kAuto, japaneseBits);
  WriteSeed(folder, "japanese-seen-in-english-mode", switchToJapanese);

  // Manual mode with the wrong polarity, then the user switches language in the middle.
  ByteWriter manual;
  AppendBits(manual, kApply | kEnglish | kInverted, english);
  const std::vector<std::uint8_t> half(english.begin(), english.begin() + english.size() / 2);
  AppendBits(manual, kApply | kEnglish, half);
  AppendBits(manual, kApply, half);
  WriteSeed(folder, "manual-switches", manual);

  ByteWriter figuresShift;
  AppendBits(figuresShift, kApply | kEnglish, figures);
  WriteSeed(folder, "english-figures", figuresShift);

  // Bit values given one per byte, some of them neither 0 nor 1.
  ByteWriter byteBits;
  std::string values;
  for (std::size_t i = 0; i < 200 && i < english.size(); ++i)
    values += static_cast<char>(english[i] ? (i % 3 == 0 ? 0xFF : 1) : 0);
  byteBits.Byte(kApply | kEnglish | kAuto | kByteBits).ShortText(values);
  WriteSeed(folder, "bit-values-as-bytes", byteBits);
}

}  // namespace character

// DecoderAudioFuzzer.cpp: start record, then block records.
namespace audio {

constexpr std::uint8_t kEnglish = 0x01;
constexpr std::uint8_t kAuto = 0x04;
constexpr std::uint8_t kSecondReceiver = 0x40;
constexpr std::uint8_t kEnglish2 = 0x80;
constexpr std::uint8_t kTones = 0x01;
constexpr std::uint8_t kTonesWithNoise = 0x02;
constexpr std::uint8_t kRaw = 0x00;
constexpr std::uint8_t kNewCentre = 0x20;
constexpr std::uint8_t kSecondChannel = 0x40;
constexpr std::uint8_t kClip = 0x80;
constexpr int kLowestCentre = 200;
constexpr int kBitsPerBlock = 10;
constexpr std::size_t kBlockFrames = 4410;
constexpr std::size_t kWavDataStart = 44;

void Start(ByteWriter& writer, std::uint8_t flags, int timeOut, int centre) {
  writer.Byte(flags)
      .IntInRange(timeOut, 1, 64)
      .Word(static_cast<std::uint16_t>(centre - kLowestCentre));
}

// One block of tones per ten bits; the last block is padded with the upper tone.
void AppendTones(ByteWriter& writer, const std::vector<std::uint8_t>& bits, std::uint8_t amplitude,
                 std::int8_t offset, std::uint8_t extra = 0, std::string_view noise = {}) {
  for (std::size_t at = 0; at < bits.size(); at += kBitsPerBlock) {
    std::uint16_t word = 0;
    for (std::size_t j = 0; j < kBitsPerBlock; ++j)
      word = static_cast<std::uint16_t>(word << 1 | (at + j < bits.size() ? bits[at + j] : 1));
    const std::uint8_t source = noise.empty() ? kTones : kTonesWithNoise;
    writer.Byte(static_cast<std::uint8_t>(source | extra)).Byte(amplitude);
    writer.Byte(static_cast<std::uint8_t>(offset)).Word(word);
    if (!noise.empty()) writer.Byte(static_cast<std::uint8_t>(noise.size() / 2)).Bytes(noise);
  }
}

std::string WavBlocks(const fs::path& wav, std::size_t firstBlock, std::size_t blocks) {
  std::ifstream stream(wav, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(stream)),
                          std::istreambuf_iterator<char>());
  const std::size_t start = kWavDataStart + firstBlock * kBlockFrames * 2;
  if (!stream.is_open() || bytes.size() < start + blocks * kBlockFrames * 2 ||
      bytes.compare(0, 4, "RIFF") != 0) {
    throw std::runtime_error("cannot read the sample recording " + wav.string());
  }
  return bytes.substr(start, blocks * kBlockFrames * 2);
}

void Write(const fs::path& folder, const fs::path& wav, const std::string& japanese) {
  // Upper tone first (1 = tone above the centre) as the demodulator samples it.
  const std::vector<std::uint8_t> english =
      BroadcastBits(Service::English, "ZCZC GA01\r\nTEST\r\nNNNN\r\n", 20);
  const std::vector<std::uint8_t> japaneseBits = BroadcastBits(Service::Japanese, japanese, 14);

  ByteWriter englishTones;
  Start(englishTones, kEnglish | kAuto, 30, 800);
  AppendTones(englishTones, english, 160, 0);
  WriteSeed(folder, "english-tones", englishTones);

  ByteWriter japaneseTones;
  Start(japaneseTones, kAuto, 30, 1000);
  AppendTones(japaneseTones, japaneseBits, 100, 4);
  WriteSeed(folder, "japanese-tones-mistuned", japaneseTones);

  // Noisy, clipped, and the user retunes half-way.
  ByteWriter noisy;
  Start(noisy, kEnglish | kAuto, 2, 800);
  const std::vector<std::uint8_t> firstHalf(english.begin(), english.begin() + english.size() / 2);
  const std::vector<std::uint8_t> secondHalf(english.begin() + english.size() / 2, english.end());
  const std::string noise = "\x10\x27\xf0\xd8\x00\x10\x88\xe0\x30\x05\x99\xf1\x07\x40";
  AppendTones(noisy, firstHalf, 90, -8, 0, noise);
  noisy.Byte(kTones | kNewCentre | kClip).Word(1200 - kLowestCentre).Byte(90).Byte(0).Word(0x2AA);
  AppendTones(noisy, secondHalf, 90, 0, kSecondChannel);
  WriteSeed(folder, "english-noisy-retuned", noisy);

  // A second receiver on the right channel (the left one inverted), switched off and on again.
  ByteWriter two;
  Start(two, kEnglish | kAuto | kSecondReceiver | kEnglish2, 30, 800);
  AppendTones(two, english, 160, 0);
  two.Byte(kTones | kSecondChannel).Byte(160).Byte(0).Word(0x3FF);
  AppendTones(two, firstHalf, 160, 0);
  two.Byte(kTones | kSecondChannel).Byte(160).Byte(0).Word(0x3FF);
  AppendTones(two, secondHalf, 160, 0);
  WriteSeed(folder, "second-receiver-switched", two);

  // Three blocks of the shipped recording, then silence: the time-out runs out.
  ByteWriter recording;
  Start(recording, kAuto, 1, 800);
  const std::string samples = WavBlocks(wav, 40, 3);
  for (std::size_t block = 0; block < 3; ++block) {
    recording.Byte(kRaw).Word(static_cast<std::uint16_t>(kBlockFrames * 2));
    recording.Bytes(std::string_view(samples).substr(block * kBlockFrames * 2, kBlockFrames * 2));
  }
  for (int block = 0; block < 25; ++block)
    recording.Byte(0x03).Word(0);
  WriteSeed(folder, "recording-then-silence", recording);
}

}  // namespace audio

// MessageLogFuzzer.cpp: start record, then line records.
namespace message {

constexpr std::uint16_t kCut = 1u << 0;
constexpr std::uint16_t kToggleLang = 1u << 1;
constexpr std::uint16_t kNewErrNum = 1u << 3;
constexpr std::uint16_t kDiscardFirst = 1u << 4;
constexpr std::uint16_t kTextFirst = 1u << 8;
constexpr std::uint16_t kRepeat = 1u << 9;
constexpr std::uint16_t kLongText = 1u << 10;
constexpr std::uint16_t kSecond = 1u << 11;
constexpr int kPrefixShift = 5;
enum Prefix : std::uint16_t {
  None = 0,
  EnglishStart = 1,
  JapaneseStart = 2,
  EndSingle = 3,
  EndFull = 4
};

void Start(ByteWriter& writer, bool english, bool errSave, int errNum) {
  writer.Byte(static_cast<std::uint8_t>((english ? 1 : 0) | (errSave ? 2 : 0)));
  writer.IntInRange(errNum, 1, 256);
  writer.IntInRange(2024, 1970, 2099).IntInRange(3, 1, 12).IntInRange(31, 1, 28);
  writer.IntInRange(12, 0, 23).IntInRange(34, 0, 59).IntInRange(56, 0, 59);
}

std::uint16_t WithPrefix(Prefix prefix, std::uint16_t flags = 0) {
  return static_cast<std::uint16_t>(flags | prefix << kPrefixShift);
}

void Line(ByteWriter& writer, std::uint16_t flags, std::string_view text) {
  writer.Word(flags).ShortText(text);
}

// "ZCZC " and a header B1 B2 digit digit, given as letter and digit indexes.
void EnglishStartLine(ByteWriter& writer, std::string_view header, std::uint16_t flags = 0) {
  writer.Word(WithPrefix(EnglishStart, flags));
  writer.Byte(static_cast<std::uint8_t>(header[0] - 'A'))
      .Byte(static_cast<std::uint8_t>(header[1] - 'A'));
  writer.Byte(static_cast<std::uint8_t>(header[2] - '0'))
      .Byte(static_cast<std::uint8_t>(header[3] - '0'));
  writer.ShortText("");
}

void Write(const fs::path& folder) {
  ByteWriter english;
  Start(english, true, true, 10);
  Line(english, 0, "NAVTEX NOISE BEFORE");
  EnglishStartLine(english, "GA01");
  Line(english, 0, "NAHA NAVTEX");
  Line(english, kCut, "POSITION 26-13N 1");
  Line(english, 0, "127-40E.");
  Line(english, WithPrefix(EndSingle), "");
  // The same header again with more errors is dropped, with fewer replaces the file.
  EnglishStartLine(english, "GA01");
  Line(english, kCut, "A");
  Line(english, kCut, "B");
  Line(english, WithPrefix(EndSingle), "");
  EnglishStartLine(english, "GA01");
  Line(english, 0, "CLEAN COPY");
  Line(english, WithPrefix(EndSingle), "");
  WriteSeed(folder, "english-messages", english);

  ByteWriter japanese;
  Start(japanese, false, true, 3);
  japanese.Word(WithPrefix(JapaneseStart))
      .Bytes(std::string_view("\x06\x00\x81\x82\x83", 5))
      .ShortText("");
  Line(japanese, 0, Cp932Text("航行警報　試験"));
  Line(japanese, kCut, "\x82");  // a lone lead byte, cut short
  Line(japanese, kTextFirst | WithPrefix(EndFull), Cp932Text("ＸＸ"));
  EnglishStartLine(japanese, "ZZ99", kToggleLang);
  WriteSeed(folder, "japanese-message", japanese);

  ByteWriter errors;
  Start(errors, true, true, 2);
  EnglishStartLine(errors, "KB99");
  Line(errors, kCut, std::string("NUL\0INSIDE", 10));
  Line(errors, kCut, "SECOND CUT");
  Line(errors, WithPrefix(EndSingle), "");
  EnglishStartLine(errors, "XE00");
  Line(errors, 0, "BODY");
  Line(errors, kDiscardFirst | WithPrefix(EndSingle), "");
  errors.Word(kNewErrNum).Byte(0).ShortText("ZCZC KB99");
  WriteSeed(folder, "errors-and-discard", errors);

  // Enough text to go past the limit of the received text, in long lines and many short ones.
  ByteWriter flood;
  Start(flood, true, false, 10);
  EnglishStartLine(flood, "IC10");
  flood.Word(kLongText | kRepeat).Word(4000).ShortText("\x82\xA0 FLOOD \x81").Byte(4);
  flood.Word(kRepeat | kCut).ShortText("SHORT LINE").Byte(200);
  Line(flood, WithPrefix(EndSingle), "");
  WriteSeed(folder, "received-text-flood", flood);

  // Two receivers on one folder hear the same header, one with a cut line, their lines
  // interleaved: the clean copy stays whichever ends first.
  ByteWriter two;
  Start(two, true, true, 10);
  EnglishStartLine(two, "GA07");
  EnglishStartLine(two, "GA07", kSecond | kToggleLang);
  Line(two, 0, "LEFT CLEAN");
  Line(two, kSecond | kCut, "RIGHT CUT");
  Line(two, kSecond | WithPrefix(EndSingle), "");
  Line(two, WithPrefix(EndSingle), "");
  EnglishStartLine(two, "GA07", kSecond);
  Line(two, kSecond | kCut, "RIGHT CUT AGAIN");
  Line(two, kSecond | WithPrefix(EndSingle), "");
  WriteSeed(folder, "two-receivers-one-header", two);
}

}  // namespace message

// SettingsFileFuzzer.cpp: the input is the file.
namespace settings {

std::string SavedFile(const Settings& values) {
  const fs::path path =
      fs::temp_directory_path() / ("seaherald-seed-" + std::to_string(::getpid()) + ".ini");
  fs::remove(path);
  if (!SaveSettings(path, values).ok()) throw std::runtime_error("cannot save a settings file");
  std::ifstream stream(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
  fs::remove(path);
  return bytes;
}

void Write(const fs::path& folder) {
  WriteSeed(folder, "defaults.ini", SavedFile(Settings{}));

  Settings changed;
  changed.MainMaxmum = true;
  changed.WaveInName = Cp932Text("マイク (USB Audio)");
  changed.CentF = 100;
  changed.ViewLangNum = 1;
  changed.ViewBaseNum = 5;
  changed.ViewTypeNum = 13;
  changed.AutoSet = false;
  changed.DecLang = true;
  changed.DecInv = true;
  changed.FontName = Cp932Text("ＭＳ 明朝");
  changed.FontColor = 0x0000FF;
  changed.BackColor = 0xFF0000;
  changed.SortType = -4;
  WriteSeed(folder, "changed.ini", SavedFile(changed));

  WriteSeed(folder, "hand-written.ini",
            "; written by hand\r\n"
            "[form]\r\n"
            "maintop = -20\r\n"
            "MAINLEFT=0x10\r\n"
            "[Extra Section]\r\n"
            "Note=keep me\r\n"
            "\r\n"
            "[Set]\r\n"
            "TimeOut=abc\r\n"
            "ErrNum=$1E\r\n"
            "AutoSet=2\r\n"
            "SortType=5\r\n"
            "FontColor=00ff0\r\n"
            "BackColor=FFFFFFzz\r\n"
            "PanelHeight=+99999999999\r\n"
            "DeleteDay=-5\r\n"
            "Set=no section\r\n"
            "[Set]\r\n"
            "CentF=90\r\n"
            "CentF=95");

  WriteSeed(folder, "bare-lines.ini",
            "\xEF\xBB\xBF[Wave]\nWaveInName=\t'Line In'\t\nCentF\x82=7\n[Disp\nColorNum=3\r"
            "[Disp]\r\n  ViewLangNum =0\n\n[Set]\nFontName=\"\"\nFontSize=\x00\x31"
            "2\nDecLang=1\r\n"sv);
}

}  // namespace settings

// LogFolderFuzzer.cpp: start record, entry count, entries, then operations.
namespace folder {

constexpr std::uint8_t kHeaderName = 0x08;
constexpr std::uint8_t kJapaneseHeader = 0x10;
constexpr std::uint8_t kOtherSuffix = 0x20;
constexpr std::uint8_t kLogContent = 0x40;
enum Kind : std::uint8_t {
  File = 0,
  Folder = 1,
  DanglingLink = 2,
  LinkToFile = 3,
  Pipe = 4,
  RawName = 5,
  ReadOnlyFile = 6
};
enum Op : std::uint8_t {
  Rebuild,
  ClickNode,
  SelectRow,
  ClickColumn,
  ChangeTab,
  DeleteSelected,
  DeleteAll,
  AutoDelete,
  ReceivedText,
  ToggleAutoDelete,
  ChangeDeleteDay,
  RemoveBehindBack,
  ReplaceBehindBack,
  FileCreated,
  FileConsidered,
  ToggleKeep,
  SecondReceivedText,
};
constexpr std::string_view kEnglishB1 = "GHIJKXQ";
constexpr std::string_view kEnglishB2 = "ABCDEFGHJKLXYIZ ";

void Start(ByteWriter& writer, bool autoDelete, int lang, int base, int type, int sortType,
           int deleteDay) {
  writer.Byte(autoDelete ? 1 : 0).IntInRange(lang, -2, 2).IntInRange(base, -2, 6);
  writer.IntInRange(type, -2, 14).IntInRange(sortType, -6, 6).IntInRange(deleteDay, -2, 400);
  writer.IntInRange(2024, 1990, 2099).IntInRange(3, 1, 12).IntInRange(28, 1, 28);
}

struct Stamp {
  int year, month, day;
};

// An English log named B1 B2 and two digits, saved on `date` with `errors` errors.
void EnglishLog(ByteWriter& writer, std::string_view header, Stamp date, int errors,
                std::string_view body, std::uint8_t kind = File) {
  writer.Byte(static_cast<std::uint8_t>(kind | kHeaderName | kLogContent));
  writer.Byte(static_cast<std::uint8_t>(kEnglishB1.find(header[0])));
  writer.Byte(static_cast<std::uint8_t>(kEnglishB2.find(header[1])));
  writer.Byte(static_cast<std::uint8_t>(header[2] - '0'))
      .Byte(static_cast<std::uint8_t>(header[3] - '0'));
  writer.IntInRange(date.year, 1890, 2109)
      .IntInRange(date.month, 0, 13)
      .IntInRange(date.day, 0, 32);
  writer.Byte(8).Byte(30).Byte(15).Word(static_cast<std::uint16_t>(errors)).ShortText(body);
}

// A Japanese log: two full-width letters (indexes from A) and three full-width digits.
void JapaneseLog(ByteWriter& writer, int b1, int b2, Stamp date, std::string_view body) {
  writer.Byte(static_cast<std::uint8_t>(File | kHeaderName | kJapaneseHeader | kLogContent));
  writer.Byte(static_cast<std::uint8_t>(b1)).Byte(static_cast<std::uint8_t>(b2));
  writer.Byte(0x81).Byte(0x82).Byte(0x83);
  writer.IntInRange(date.year, 1890, 2109)
      .IntInRange(date.month, 0, 13)
      .IntInRange(date.day, 0, 32);
  writer.Byte(23).Byte(59).Byte(59).Word(999).ShortText(body);
}

void Write(const fs::path& folder) {
  const std::string body = "NAHA NAVTEX\r\nLINE 2\r\nLINE 3\r\nLINE 4 SHOWN IN THE LIST\r\n";
  ByteWriter browse;
  Start(browse, true, 0, 0, 0, 0, 30);
  browse.Byte(9);
  EnglishLog(browse, "GA01", {2024, 3, 1}, 0, body);
  EnglishLog(browse, "GA02", {2024, 2, 27}, 12, body);
  EnglishLog(browse, "GA03", {2024, 2, 26}, 3, "ONE LINE\r\n");
  EnglishLog(browse, "QA04", {2023, 13, 1}, 1000, body);
  EnglishLog(browse, "XI05", {2024, 3, 28}, 5, body, LinkToFile);
  JapaneseLog(browse, 6, 0, {2024, 1, 31}, Cp932Text("航行警報\r\n試験\r\n"));
  browse.Byte(Folder).ShortText("GA06").ShortText("");
  browse.Byte(DanglingLink | kHeaderName).Byte(0).Byte(0).Byte(0).Byte(7).ShortText("");
  browse.Byte(RawName).ShortText("G\xff\xfe").ShortText("not UTF-8 on disk");
  browse.Byte(ClickNode).IntInRange(2, -1, 182);  // English, Naha, navigational warnings
  browse.Byte(SelectRow).Byte(1).Byte(ClickColumn).Byte(3).Byte(ClickColumn).Byte(3);
  browse.Byte(ReceivedText).ShortText("RECEIVED\r\n").Byte(ChangeTab).Byte(0);
  browse.Byte(DeleteSelected).Byte(1).Byte(SelectRow).Byte(0).Byte(DeleteSelected).Byte(1);
  browse.Byte(AutoDelete).Byte(RemoveBehindBack).Byte(0).Byte(Rebuild);
  browse.Byte(ClickNode).IntInRange(90, -1, 182);  // English, other stations, other types
  browse.Byte(DeleteAll).Byte(0).Byte(DeleteAll).Byte(1).Byte(FileCreated);
  WriteSeed(folder, "browse-and-delete", browse);

  ByteWriter odd;
  Start(odd, false, 1, 0, 0, 5, 0);
  odd.Byte(5);
  JapaneseLog(odd, 6, 0, {2024, 3, 27}, "");
  odd.Byte(File | kOtherSuffix).ShortText(Cp932Text("ＧＡ")).Byte(0).ShortText("Last received");
  odd.Byte(Pipe).ShortText("pipe").ShortText("");
  odd.Byte(File).ShortText(Cp932Text("ＧＡ１")).ShortText("\r\r\n\n");
  odd.Byte(File | kOtherSuffix).ShortText("GA").Byte(3).ShortText("");
  odd.Byte(SelectRow).Byte(0).Byte(ToggleAutoDelete).Byte(ChangeDeleteDay).Word(2);
  odd.Byte(AutoDelete).Byte(FileConsidered).Byte(ChangeTab).Byte(1);
  odd.Byte(ReplaceBehindBack).Byte(0).Byte(SelectRow).Byte(0).Byte(DeleteSelected).Byte(1);
  WriteSeed(folder, "odd-entries", odd);

  // Old logs: one tagged Keep, one read-only, one copied from another system as ".TXT" beside
  // its ".txt"; the second receiver's text on its own tab.
  ByteWriter keep;
  Start(keep, true, 0, 0, 0, 2, 30);
  keep.Byte(4);
  EnglishLog(keep, "GA01", {2023, 1, 1}, 0, body);
  EnglishLog(keep, "GA02", {2023, 1, 1}, 0, body, ReadOnlyFile);
  EnglishLog(keep, "GA03", {2023, 1, 1}, 0, body);
  keep.Byte(File | kHeaderName | kOtherSuffix | kLogContent).Byte(0).Byte(0).Byte(0).Byte(3);
  keep.Byte(0).IntInRange(2022, 1890, 2109).IntInRange(5, 0, 13).IntInRange(5, 0, 32);
  keep.Byte(1).Byte(2).Byte(3).Word(1).ShortText("COPIED\r\n");
  keep.Byte(SelectRow).Byte(0).Byte(ToggleKeep).Byte(AutoDelete).Byte(SecondReceivedText);
  keep.ShortText("SECOND\r\n").Byte(ChangeTab).Byte(2).Byte(SecondReceivedText).ShortText("MORE");
  keep.Byte(SelectRow).Byte(2).Byte(DeleteSelected).Byte(1).Byte(DeleteAll).Byte(1);
  keep.Byte(SelectRow).Byte(1).Byte(ToggleKeep).Byte(AutoDelete);
  WriteSeed(folder, "keep-and-read-only", keep);
}

}  // namespace folder

int Main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: fuzz_make_seeds CORPUS_DIR SAMPLE_WAV\n";
    return 2;
  }
  const fs::path corpus = argv[1];
  const std::string japanese = Cp932Text(kJapaneseUtf8);
  character::Write(corpus / "character_decoder", japanese);
  audio::Write(corpus / "decoder_audio", argv[2], japanese);
  message::Write(corpus / "message_log");
  settings::Write(corpus / "settings_file");
  folder::Write(corpus / "log_folder");
  return 0;
}

}  // namespace
}  // namespace seaherald::fuzz

int main(int argc, char** argv) {
  try {
    return seaherald::fuzz::Main(argc, argv);
  } catch (const std::exception& error) {
    std::cerr << "fuzz_make_seeds: " << error.what() << "\n";
    return 1;
  }
}
