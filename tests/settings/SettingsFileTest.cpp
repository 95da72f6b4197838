#include <gtest/gtest.h>
#include <iconv.h>

#include <climits>
#include <string>

#include "app/SettingsFile.h"
#include "tests/settings/FileSizeLimit.h"
#include "tests/settings/TempFolder.h"

namespace seaherald {
namespace {

using namespace std::string_literals;
using testing::FileSizeLimit;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

constexpr std::string_view SjisGothic = "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E";

std::string Utf8FromShiftJis(std::string text) {
  iconv_t converter = iconv_open("UTF-8", "CP932");
  std::string out(text.size() * 3, '\0');
  char* in = text.data();
  std::size_t inLeft = text.size();
  char* outPtr = out.data();
  std::size_t outLeft = out.size();
  const std::size_t result = iconv(converter, &in, &inLeft, &outPtr, &outLeft);
  iconv_close(converter);
  if (result == static_cast<std::size_t>(-1)) return "<not Shift-JIS>";
  out.resize(out.size() - outLeft);
  return out;
}

Settings LoadFrom(const TempFolder& folder, std::string_view bytes) {
  WriteBytes(folder / "s.ini", bytes);
  return LoadSettings(folder / "s.ini");
}

// Every field differs from its default.
Settings Unusual() {
  Settings s;
  s.MainTop = -30;
  s.MainLeft = 1920;
  s.MainWidth = 1024;
  s.MainHeight = 768;
  s.MainMaxmum = true;
  s.WaveInName = "USB Audio \x83\x5C";  // ends in a 0x5C trail byte
  s.WaveInId = "alsa_input.usb-0d8c_USB_Sound_Device-00.analog-mono";
  s.CentF = 55;
  s.ColorNum = 3;
  s.ViewLangNum = 1;
  s.ViewBaseNum = 5;
  s.ViewTypeNum = 13;
  s.AutoSet = false;
  s.DecLang = true;
  s.DecInv = true;
  s.DeleteDay = 7;
  s.AutoLogDelete = true;
  s.TimeOut = 120;
  s.ErrNum = 3;
  s.ErrSave = false;
  s.ColumnsWidth0 = 1;
  s.ColumnsWidth1 = 2;
  s.ColumnsWidth2 = 3;
  s.ColumnsWidth3 = 4;
  s.PanelWidth = 301;
  s.PanelHeight = 99;
  s.FontSize = 14;
  s.FontName = "Noto Sans CJK JP";
  s.FontColor = 0x0000FF;
  s.BackColor = 0xFF0000;
  s.SortType = 5;
  s.DecSens = true;
  return s;
}

TEST(SettingsLoad, MissingFileGivesDefaults) {
  TempFolder folder;
  EXPECT_EQ(LoadSettings(folder / "none.ini"), Settings{});
  EXPECT_EQ(LoadSettings(folder.path()), Settings{}) << "a directory reads as no file";
}

TEST(SettingsLoad, SectionAndKeyNamesIgnoreLetterCase) {
  TempFolder folder;
  EXPECT_EQ(LoadFrom(folder, "[SET]\r\nPANELHEIGHT=321\r\n").PanelHeight, 321);
  EXPECT_EQ(LoadFrom(folder, "[set]\r\npanelheight=322\r\n").PanelHeight, 322);
}

TEST(SettingsLoad, KeysMustBeInTheirOwnSection) {
  TempFolder folder;
  const Settings s = LoadFrom(folder, "[Form]\nTimeOut=5\nMainTop=9\n[Set]\nMainLeft=4\n");
  EXPECT_EQ(s.TimeOut, 30);
  EXPECT_EQ(s.MainLeft, 0);
  EXPECT_EQ(s.MainTop, 9);
}

TEST(SettingsLoad, IntegerTextRules) {
  TempFolder folder;
  const auto timeOut = [&](std::string_view value) {
    return LoadFrom(folder, "[Set]\nTimeOut=" + std::string(value) + "\n").TimeOut;
  };
  EXPECT_EQ(timeOut("abc"), 30);
  EXPECT_EQ(timeOut("0x1E"), 30);
  EXPECT_EQ(timeOut("0X1f"), 31);
  EXPECT_EQ(timeOut("$20"), 32);
  EXPECT_EQ(timeOut("-5"), -5);
  EXPECT_EQ(timeOut(" 45 "), 45);
  EXPECT_EQ(timeOut(""), 30);
  EXPECT_EQ(timeOut("99999999999999999999"), 30);
  EXPECT_EQ(timeOut(std::string(3000, '7')), 30) << "value far beyond any integer, cut at 2047";
}

TEST(SettingsInteger, AcceptedForms) {
  EXPECT_EQ(ParseSettingsInteger("0"), 0);
  EXPECT_EQ(ParseSettingsInteger("007"), 7);
  EXPECT_EQ(ParseSettingsInteger("+7"), 7);
  EXPECT_EQ(ParseSettingsInteger("-0"), 0);
  EXPECT_EQ(ParseSettingsInteger("-0x10"), -16);
  EXPECT_EQ(ParseSettingsInteger("-$a"), -10);
  EXPECT_EQ(ParseSettingsInteger("0xabcDEF"), 0xABCDEF);
  EXPECT_EQ(ParseSettingsInteger("2147483647"), INT_MAX);
  EXPECT_EQ(ParseSettingsInteger("-2147483648"), INT_MIN);
  EXPECT_EQ(ParseSettingsInteger("0x7FFFFFFF"), INT_MAX);
  EXPECT_EQ(ParseSettingsInteger("-0x80000000"), INT_MIN);
  EXPECT_EQ(ParseSettingsInteger("000000000000000000000000012"), 12);
}

TEST(SettingsInteger, RejectedForms) {
  for (const char* text :
       {"",           "+",           "-",          "0x",          "$",
        "0x-1",       "--5",         "- 5",        "5 ",          "1.5",
        "1e3",        "12abc",       "0xG",        "$$1",         "x10",
        "2147483648", "-2147483649", "0xFFFFFFFF", "0x100000000", "99999999999999999999999"}) {
    EXPECT_FALSE(ParseSettingsInteger(text).has_value()) << '"' << text << '"';
  }
  EXPECT_FALSE(ParseSettingsInteger("1\0"s).has_value());
}

TEST(SettingsLoad, BooleansAreReadAsIntegers) {
  TempFolder folder;
  const auto autoSet = [&](std::string_view value) {
    return LoadFrom(folder, "[Set]\nAutoSet=" + std::string(value) + "\n").AutoSet;
  };
  EXPECT_TRUE(autoSet("2"));
  EXPECT_TRUE(autoSet("-1"));
  EXPECT_FALSE(autoSet("0"));
  EXPECT_FALSE(autoSet("0x0"));
  EXPECT_TRUE(autoSet("yes")) << "unparsable text gives the default, true";
  EXPECT_FALSE(LoadFrom(folder, "[Set]\nDecLang=no\n").DecLang) << "default false";
  EXPECT_TRUE(LoadFrom(folder, "[Form]\nMainMaxmum=1\n").MainMaxmum);
}

TEST(SettingsColor, ReadsBlueGreenRedDigits) {
  EXPECT_EQ(HexToColor("0000FF"), 0x0000FFu);  // red
  EXPECT_EQ(HexToColor("FF0000"), 0xFF0000u);  // blue
  EXPECT_EQ(HexToColor("00ff00"), 0x00FF00u);
  EXPECT_EQ(HexToColor("123456789"), 0x123456u) << "characters after the sixth are ignored";
  EXPECT_FALSE(HexToColor("").has_value());
  EXPECT_FALSE(HexToColor("FFFFF").has_value());
  EXPECT_FALSE(HexToColor("0x00FF").has_value());
  EXPECT_FALSE(HexToColor("GG0000").has_value());
  EXPECT_FALSE(HexToColor(" 00000").has_value());
}

TEST(SettingsColor, WritesSixUpperCaseDigits) {
  EXPECT_EQ(ColorToHex(0x000000), "000000");
  EXPECT_EQ(ColorToHex(0xFFFFFF), "FFFFFF");
  EXPECT_EQ(ColorToHex(0x0000FF), "0000FF");
  EXPECT_EQ(ColorToHex(0x00ABCD), "00ABCD");
  EXPECT_EQ(ColorToHex(0x7F123456), "123456") << "only the 24 colour bits are written";
  for (std::uint32_t color : {0x000001u, 0x0A0B0Cu, 0xFEDCBAu}) {
    EXPECT_EQ(HexToColor(ColorToHex(color)), color);
  }
}

TEST(SettingsLoad, ColoursFromTheFileAndBadColourText) {
  TempFolder folder;
  const Settings s = LoadFrom(folder, "[Set]\nFontColor=0000FF\nBackColor=FF0000\n");
  EXPECT_EQ(s.FontColor, 0x0000FFu);
  EXPECT_EQ(s.BackColor, 0xFF0000u);
  const Settings bad = LoadFrom(folder, "[Set]\nFontColor=red\nBackColor=FFF\n");
  EXPECT_EQ(bad.FontColor, Settings{}.FontColor);
  EXPECT_EQ(bad.BackColor, Settings{}.BackColor);
}

TEST(SettingsLoad, GarbageBinaryAndHugeValuesGiveDefaultsForTheirKeys) {
  TempFolder folder;
  std::string bytes = "\x00\xFF\xFE\x81garbage[\n"s;
  bytes += "[Set]\n\x01\x02\x03\nTimeOut=" + std::string(100000, '9') + "\n";
  bytes += "FontName=" + std::string(5000, 'F') + "\n";
  bytes += "ErrNum=\x82\xA0\nSortType=3\n";
  const Settings s = LoadFrom(folder, bytes);
  EXPECT_EQ(s.TimeOut, 30);
  EXPECT_EQ(s.FontName, std::string(2047, 'F'));
  EXPECT_EQ(s.ErrNum, 10);
  EXPECT_EQ(s.SortType, 3);
}

TEST(SettingsLoad, RandomBytesNeverThrow) {
  TempFolder folder;
  std::string bytes;
  unsigned state = 12345;
  for (int i = 0; i < 200000; ++i) {
    state = state * 1103515245u + 12345u;
    const auto byte = static_cast<char>(state >> 24);
    bytes += byte;
    if (i % 97 == 0) bytes += "\n[Set]\nTimeOut=";
  }
  const Settings s = LoadFrom(folder, bytes);
  EXPECT_EQ(s.MainWidth, 700) << "keys the noise never names keep their defaults";
}

TEST(SettingsLoad, FirstOfDuplicateKeysWins) {
  TempFolder folder;
  const Settings s = LoadFrom(folder, "[Set]\nErrNum=4\nErrNum=5\n[Set]\nErrNum=6\n");
  EXPECT_EQ(s.ErrNum, 4);
}

TEST(SettingsLoad, LineEndStylesAndMissingFinalLineEnd) {
  TempFolder folder;
  for (std::string_view end : {"\r\n", "\n"}) {
    const std::string e(end);
    const Settings s = LoadFrom(folder, "[Wave]" + e + "CentF=42" + e + "[Set]" + e + "ErrNum=8");
    EXPECT_EQ(s.CentF, 42);
    EXPECT_EQ(s.ErrNum, 8);
  }
}

TEST(SettingsSave, FileFromNothingHasEveryKeyInOrder) {
  TempFolder folder;
  Settings s;
  RecordWindowGeometry(s, false, {15, 25, 800, 600});
  ASSERT_TRUE(SaveSettings(folder / "s.ini", s).ok());
  const std::string expected =
      "[Form]\r\nMainTop=15\r\nMainLeft=25\r\nMainWidth=800\r\nMainHeight=600\r\n"
      "MainMaxmum=0\r\n\r\n"
      "[Wave]\r\nWaveInName=Default input device\r\nWaveInId=\r\nCentF=80\r\n\r\n"
      "[Disp]\r\nColorNum=1\r\nViewLangNum=-1\r\nViewBaseNum=-1\r\nViewTypeNum=-1\r\n\r\n"
      "[Set]\r\nAutoSet=1\r\nDecLang=0\r\nDecInv=0\r\nDeleteDay=30\r\nAutoLogDelete=0\r\n"
      "TimeOut=30\r\nErrNum=10\r\nErrSave=1\r\nColumnsWidth0=120\r\nColumnsWidth1=80\r\n"
      "ColumnsWidth2=200\r\nColumnsWidth3=50\r\nPanelWidth=240\r\nPanelHeight=160\r\n"
      "FontSize=9\r\nFontName=" +
      std::string(SjisGothic) +
      "\r\nFontColor=000000\r\nBackColor=FFFFFF\r\nSortType=0\r\n"
      "DecSens=0\r\n";
  EXPECT_EQ(ReadBytes(folder / "s.ini"), expected);
  EXPECT_EQ(Utf8FromShiftJis(std::string(SjisGothic)), "ＭＳ ゴシック");
}

TEST(SettingsSave, RoundTripOfEveryField) {
  TempFolder folder;
  const Settings s = Unusual();
  ASSERT_TRUE(SaveSettings(folder / "s.ini", s).ok());
  EXPECT_EQ(LoadSettings(folder / "s.ini"), s);
  ASSERT_TRUE(SaveSettings(folder / "s.ini", s).ok());
  EXPECT_EQ(LoadSettings(folder / "s.ini"), s) << "a second save changes nothing";
}

TEST(SettingsSave, WatchSectionAppearsOnlyOnceUsedAndStaysAfterwards) {
  TempFolder folder;
  Settings s;
  s.NavArea = 1;
  s.NavFreq = "490";
  s.Stations = "GO";
  s.Types = "ABDEL";
  s.AlarmTypes = "B";
  ASSERT_TRUE(SaveSettings(folder / "s.ini", s).ok());
  const std::string used = ReadBytes(folder / "s.ini");
  EXPECT_NE(used.find("[Watch]\r\nNavArea=1\r\nNavFreq=490\r\nStations=GO\r\nTypes=ABDEL\r\n"
                      "AlarmTypes=B\r\n"),
            std::string::npos)
      << used;
  EXPECT_EQ(LoadSettings(folder / "s.ini"), s);
  // Back to the defaults: the section is kept with the default values, not left stale.
  ASSERT_TRUE(SaveSettings(folder / "s.ini", Settings{}).ok());
  const std::string reset = ReadBytes(folder / "s.ini");
  EXPECT_NE(reset.find("[Watch]\r\nNavArea=0\r\nNavFreq=518\r\nStations=\r\n"), std::string::npos)
      << reset;
  EXPECT_EQ(LoadSettings(folder / "s.ini"), Settings{});
}

TEST(SettingsSave, SecondReceiverKeysSitBesideTheFirstOnesOnceUsed) {
  TempFolder folder;
  // An old file without the keys reads as the second receiver switched off and saves unchanged.
  ASSERT_TRUE(SaveSettings(folder / "s.ini", Settings{}).ok());
  const std::string old = ReadBytes(folder / "s.ini");
  for (const char* key :
       {"Receiver2", "AutoSet2", "DecLang2", "DecInv2", "DecSens2", "CentF2", "NavFreq2"})
    EXPECT_EQ(old.find(key), std::string::npos) << key;
  EXPECT_EQ(LoadSettings(folder / "s.ini"), Settings{});
  ASSERT_TRUE(SaveSettings(folder / "s.ini", LoadSettings(folder / "s.ini")).ok());
  EXPECT_EQ(ReadBytes(folder / "s.ini"), old);

  Settings s;
  s.Receiver2 = true;
  s.AutoSet2 = false;
  s.DecLang2 = true;
  s.DecInv2 = true;
  s.DecSens2 = true;
  s.CentF2 = 42;
  ASSERT_TRUE(SaveSettings(folder / "s.ini", s).ok());
  const std::string used = ReadBytes(folder / "s.ini");
  EXPECT_NE(used.find("CentF=80\r\nCentF2=42\r\n\r\n[Disp]"), std::string::npos) << used;
  EXPECT_NE(used.find("DecSens=0\r\nReceiver2=1\r\nAutoSet2=0\r\nDecLang2=1\r\nDecInv2=1\r\n"
                      "DecSens2=1\r\n"),
            std::string::npos)
      << used;
  EXPECT_EQ(LoadSettings(folder / "s.ini"), s);
  // Switched back to the defaults, the keys stay with default values instead of going stale.
  ASSERT_TRUE(SaveSettings(folder / "s.ini", Settings{}).ok());
  const std::string reset = ReadBytes(folder / "s.ini");
  EXPECT_NE(reset.find("Receiver2=0\r\nAutoSet2=1\r\nDecLang2=0\r\nDecInv2=0\r\n"),
            std::string::npos)
      << reset;
  EXPECT_EQ(LoadSettings(folder / "s.ini"), Settings{});
}

// The second receiver's frequency follows the first's until one is chosen; a file that used the
// watch and the second receiver before the key existed writes back byte for byte.
TEST(SettingsSave, SecondReceiversFrequencyIsWrittenOnlyOnceChosen) {
  TempFolder folder;
  Settings s;
  s.NavFreq = "490";
  s.Receiver2 = true;
  ASSERT_TRUE(SaveSettings(folder / "s.ini", s).ok());
  const std::string old = ReadBytes(folder / "s.ini");
  EXPECT_EQ(LoadSettings(folder / "s.ini").SecondNavFreq(), "490");
  ASSERT_TRUE(SaveSettings(folder / "s.ini", LoadSettings(folder / "s.ini")).ok());
  EXPECT_EQ(ReadBytes(folder / "s.ini"), old);

  s.NavFreq2 = "518";
  ASSERT_TRUE(SaveSettings(folder / "s.ini", s).ok());
  const std::string used = ReadBytes(folder / "s.ini");
  EXPECT_NE(used.find("AlarmTypes=\r\nNavFreq2=518\r\n"), std::string::npos) << used;
  EXPECT_EQ(LoadSettings(folder / "s.ini").SecondNavFreq(), "518");
  s.NavFreq2.clear();  // following the first again: the key stays, empty
  ASSERT_TRUE(SaveSettings(folder / "s.ini", s).ok());
  EXPECT_EQ(LoadSettings(folder / "s.ini"), s);
  EXPECT_EQ(LoadSettings(folder / "s.ini").SecondNavFreq(), "490");
}

TEST(SettingsSave, ColoursWriteBackUnchanged) {
  TempFolder folder;
  const std::string before = "[Set]\r\nFontColor=0000FF\r\nBackColor=FF0000\r\n";
  const Settings s = LoadFrom(folder, before);
  ASSERT_TRUE(SaveSettings(folder / "s.ini", s).ok());
  const std::string after = ReadBytes(folder / "s.ini");
  EXPECT_NE(after.find("\r\nFontColor=0000FF\r\nBackColor=FF0000\r\n"), std::string::npos);
}

TEST(SettingsSave, KeepsUnknownLinesAndUpdatesKeysInPlace) {
  TempFolder folder;
  const std::string before =
      "; written by hand\n[Extra]\nfoo=bar\n\n[set]\ntimeout = 77\nMystery=\x83\x5C\n\n"
      "[Form]\nMainTop=3\n";
  Settings s = LoadFrom(folder, before);
  EXPECT_EQ(s.TimeOut, 77);
  s.TimeOut = 12;
  ASSERT_TRUE(SaveSettings(folder / "s.ini", s).ok());
  const std::string after = ReadBytes(folder / "s.ini");

  EXPECT_TRUE(after.starts_with("; written by hand\n[Extra]\nfoo=bar\n\n[set]\ntimeout = 12\n"))
      << after;
  EXPECT_NE(after.find("Mystery=\x83\x5C\n"), std::string::npos);
  EXPECT_NE(after.find("SortType=0\nDecSens=0\n\n[Form]\nMainTop=3\nMainLeft=0\n"),
            std::string::npos)
      << "new keys follow the last key of their section";
  EXPECT_EQ(after.find('\r'), std::string::npos) << "the file's LF style is kept";
  EXPECT_LT(after.find("[Form]"), after.find("[Wave]")) << "new sections go at the end";
  EXPECT_LT(after.find("[Wave]"), after.find("[Disp]"));
  EXPECT_EQ(LoadSettings(folder / "s.ini"), s);
}

// The window's language is read from the file but never written, so the file is the same
// whichever language the window speaks (a file from nothing has no such key, see above).
TEST(SettingsLanguage, KeyIsReadButTheFileKeepsItsOwnLine) {
  TempFolder folder;
  Settings s = LoadFrom(folder, "[disp]\r\nlanguage = en\r\nViewLangNum=1\r\n");
  EXPECT_EQ(s.Language, "en");
  EXPECT_EQ(s.ViewLangNum, 1);
  s.Language = "ja";
  ASSERT_TRUE(SaveSettings(folder / "s.ini", s).ok());
  const std::string after = ReadBytes(folder / "s.ini");
  EXPECT_TRUE(after.starts_with("[disp]\r\nlanguage = en\r\nViewLangNum=1\r\n")) << after;
  EXPECT_EQ(after.find("Language"), std::string::npos) << "no second language key";
  EXPECT_EQ(LoadFrom(folder, "[Set]\r\nLanguage=en\r\n").Language, "")
      << "only its own section counts";
}

TEST(SettingsSave, LineBreaksInTextValuesDoNotBreakTheFile) {
  TempFolder folder;
  Settings s;
  s.WaveInName = "Mic\r\nArray";
  s.FontName = "Sans\0Serif"s;
  ASSERT_TRUE(SaveSettings(folder / "s.ini", s).ok());
  const Settings back = LoadSettings(folder / "s.ini");
  EXPECT_EQ(back.WaveInName, "Mic  Array");
  EXPECT_EQ(back.FontName, "Sans");
  EXPECT_EQ(back.SortType, s.SortType);
}

TEST(SettingsSave, TextValuesWithOuterBlanksOrQuotesComeBackUnchanged) {
  TempFolder folder;
  for (const std::string& text :
       {"USB Audio "s, " Line In"s, "\tTab"s, "\"quoted\""s, "'Mono'"s, "a\"b"s, "\""s}) {
    Settings s;
    s.WaveInName = text;
    s.FontName = text;
    ASSERT_TRUE(SaveSettings(folder / "s.ini", s).ok());
    const Settings back = LoadSettings(folder / "s.ini");
    EXPECT_EQ(back.WaveInName, text);
    EXPECT_EQ(back.FontName, text);
  }
}

TEST(SettingsSaveFailure, ParentIsARegularFile) {
  TempFolder folder;
  WriteBytes(folder / "plain", "x");
  const ProfileWriteResult result = SaveSettings(folder / "plain" / "s.ini", Settings{});
  EXPECT_FALSE(result.ok());
  EXPECT_EQ(result.failedStep, ProfileWriteStep::CreateTemp);
  EXPECT_EQ(ReadBytes(folder / "plain"), "x");
}

TEST(SettingsSaveFailure, SettingsPathIsADirectory) {
  TempFolder folder;
  std::filesystem::create_directory(folder / "s.ini");
  const ProfileWriteResult result = SaveSettings(folder / "s.ini", Settings{});
  EXPECT_FALSE(result.ok());
  EXPECT_TRUE(std::filesystem::is_directory(folder / "s.ini"));
}

TEST(SettingsSaveFailure, OldFileStaysWholeWhenTheWriteFails) {
  TempFolder folder;
  const std::string old = "[Set]\r\nTimeOut=99\r\n";
  WriteBytes(folder / "s.ini", old);
  ProfileWriteResult result;
  {
    const FileSizeLimit limit(100);  // far less than the 30 keys need
    result = SaveSettings(folder / "s.ini", Unusual());
  }

  EXPECT_EQ(result.failedStep, ProfileWriteStep::WriteTemp);
  EXPECT_EQ(ReadBytes(folder / "s.ini"), old);
  EXPECT_EQ(LoadSettings(folder / "s.ini").TimeOut, 99);
}

TEST(SettingsStartup, RaisesOnlyTheThreeLimitsBelowOne) {
  Settings s;
  s.DeleteDay = 0;
  s.TimeOut = -5;
  s.ErrNum = INT_MIN;
  s.FontSize = -3;
  RaiseStartupMinimums(s);
  EXPECT_EQ(s.DeleteDay, 1);
  EXPECT_EQ(s.TimeOut, 1);
  EXPECT_EQ(s.ErrNum, 1);
  EXPECT_EQ(s.FontSize, -3);

  Settings large;
  large.DeleteDay = 1;
  large.TimeOut = 500;
  large.ErrNum = 2;
  Settings copy = large;
  RaiseStartupMinimums(copy);
  EXPECT_EQ(copy, large);
}

TEST(SettingsGeometry, MaximisedKeepsTheNormalGeometry) {
  Settings s;
  s.MainTop = 10;
  s.MainLeft = 20;
  s.MainWidth = 900;
  s.MainHeight = 650;
  RecordWindowGeometry(s, true, {0, 0, 1920, 1080});
  EXPECT_TRUE(s.MainMaxmum);
  EXPECT_EQ(s.MainWidth, 900);
  EXPECT_EQ(s.MainTop, 10);

  RecordWindowGeometry(s, false, {5, 6, 701, 502});
  EXPECT_FALSE(s.MainMaxmum);
  EXPECT_EQ(s.MainTop, 5);
  EXPECT_EQ(s.MainLeft, 6);
  EXPECT_EQ(s.MainWidth, 701);
  EXPECT_EQ(s.MainHeight, 502);
}

TEST(SettingsPaths, BesideTheExecutable) {
  EXPECT_EQ(SettingsPathFor("/opt/sea/seaherald"), "/opt/sea/seaherald.ini");
  EXPECT_EQ(SettingsPathFor("/opt/sea/SEAHERALD.exe"), "/opt/sea/SEAHERALD.ini");
  EXPECT_EQ(LogFolderFor("/opt/sea/seaherald"), "/opt/sea/log");
  EXPECT_EQ(SettingsPathFor("bin/seaherald"),
            std::filesystem::current_path() / "bin/seaherald.ini");
  EXPECT_EQ(LogFolderFor("seaherald"), std::filesystem::current_path() / "log");
}

TEST(SettingsMessage, CannotWriteNamesThePath) {
  EXPECT_EQ(Utf8FromShiftJis(CannotWriteMessage("/home/u/seaherald.ini")),
            "/home/u/seaherald.ini に書き込めません");
  EXPECT_EQ(Utf8FromShiftJis(CannotWriteMessage("/tmp/%s%n.ini")), "/tmp/%s%n.ini に書き込めません")
      << "the path is text, never a format";
}

TEST(SettingsMessage, FileSystemPathIsConvertedFromUtf8) {
  EXPECT_EQ(
      Utf8FromShiftJis(CannotWriteMessageFor(std::filesystem::path("/home/船長/seaherald.ini"))),
      "/home/船長/seaherald.ini に書き込めません");
  const std::string odd = Utf8FromShiftJis(
      CannotWriteMessageFor(std::filesystem::path("/tmp/\xFF\xC3(/a\U0001F6A2.ini")));
  EXPECT_NE(odd, "<not Shift-JIS>") << "unconvertible names still give a message";
  EXPECT_TRUE(odd.ends_with(".ini に書き込めません")) << odd;
}

}  // namespace
}  // namespace seaherald
