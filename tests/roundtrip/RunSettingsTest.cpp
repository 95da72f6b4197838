// The settings a decoding runs with: the receiver's defaults, a settings file, and the command
// line winning over both.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "app/Settings.h"
#include "tests/roundtrip/ToolRun.h"
#include "tools/BlockSource.h"
#include "tools/DecodeOptions.h"
#include "tools/RunSettings.h"

namespace seaherald::decodetool {
namespace {

DecodeOptions Options(std::vector<std::string_view> args) {
  args.push_back("in.wav");
  return std::get<DecodeOptions>(ParseDecodeOptions(args));
}

TEST(RunSettingsTest, NoFileAndNoOptionsGiveTheReceiverDefaults) {
  const RunSettings run = SettingsForRun(Options({}));
  EXPECT_EQ(run.settings, Settings{});
  EXPECT_EQ(run.centerHz, Settings{}.CentF * 10.0);
}

TEST(RunSettingsTest, CommandLineOptionsWinOverTheDefaults) {
  const RunSettings run =
      SettingsForRun(Options({"--center", "955", "--lang", "en", "--invert", "--manual", "--errnum",
                              "3", "--no-errsave", "--timeout", "7"}));
  EXPECT_EQ(run.centerHz, 955.0);
  EXPECT_TRUE(run.settings.DecLang);
  EXPECT_TRUE(run.settings.DecInv);
  EXPECT_FALSE(run.settings.AutoSet);
  EXPECT_EQ(run.settings.ErrNum, 3);
  EXPECT_FALSE(run.settings.ErrSave);
  EXPECT_EQ(run.settings.TimeOut, 7);
}

class SettingsFileTest : public testing::Test {
 protected:
  std::string Write(const std::string& content) {
    const auto path = dir_ / "receiver.ini";
    std::ofstream(path, std::ios::binary) << content;
    return path.string();
  }
  roundtrip::ScratchDirectory dir_;
};

TEST_F(SettingsFileTest, FileGivesTheReceiverSettingsAndTheCommandLineWins) {
  const std::string file = Write(
      "[Wave]\r\nCentF=100\r\n[Set]\r\nAutoSet=0\r\nDecLang=1\r\nDecInv=1\r\nTimeOut=0x0C\r\n"
      "ErrNum=4\r\nErrSave=0\r\nAutoLogDelete=1\r\nDeleteDay=1\r\n");
  const RunSettings fromFile = SettingsForRun(Options({"--settings", file}));
  EXPECT_EQ(fromFile.centerHz, 1000.0);
  EXPECT_FALSE(fromFile.settings.AutoSet);
  EXPECT_TRUE(fromFile.settings.DecLang);
  EXPECT_TRUE(fromFile.settings.DecInv);
  EXPECT_EQ(fromFile.settings.TimeOut, 12);
  EXPECT_EQ(fromFile.settings.ErrNum, 4);
  EXPECT_FALSE(fromFile.settings.ErrSave);
  // The tool only ever adds to a log folder.
  EXPECT_FALSE(fromFile.settings.AutoLogDelete);

  const RunSettings overridden = SettingsForRun(Options(
      {"--settings", file, "--center", "700", "--lang", "ja", "--errnum", "9", "--timeout", "3"}));
  EXPECT_EQ(overridden.centerHz, 700.0);
  EXPECT_FALSE(overridden.settings.DecLang);
  EXPECT_EQ(overridden.settings.ErrNum, 9);
  EXPECT_EQ(overridden.settings.TimeOut, 3);
  // What the command line does not name still comes from the file.
  EXPECT_TRUE(overridden.settings.DecInv);
  EXPECT_FALSE(overridden.settings.AutoSet);
  EXPECT_FALSE(overridden.settings.ErrSave);
}

TEST_F(SettingsFileTest, LimitsAreRaisedAsAtTheWindowsStartUp) {
  const RunSettings run =
      SettingsForRun(Options({"--settings", Write("[Set]\nTimeOut=-5\nErrNum=0\n")}));
  EXPECT_EQ(run.settings.TimeOut, 1);
  EXPECT_EQ(run.settings.ErrNum, 1);
}

TEST_F(SettingsFileTest, GarbageGivesTheDefaults) {
  const RunSettings run = SettingsForRun(
      Options({"--settings", Write(std::string("\x00\xFF[Set\nTimeOut=abc\n\x81", 20))}));
  EXPECT_EQ(run.settings, Settings{});
}

TEST_F(SettingsFileTest, CentreTheDecoderCannotTakeIsRefusedUnlessReplaced) {
  for (const char* centF : {"150", "0", "-8", "2147483647"}) {
    const std::string file = Write(std::string("[Wave]\nCentF=") + centF + "\n");
    try {
      SettingsForRun(Options({"--settings", file}));
      ADD_FAILURE() << "CentF " << centF << " accepted";
    } catch (const InputError& error) {
      EXPECT_NE(std::string(error.what()).find(std::string("CentF ") + centF), std::string::npos)
          << error.what();
      EXPECT_NE(std::string(error.what()).find("--center"), std::string::npos) << error.what();
    }
    EXPECT_EQ(SettingsForRun(Options({"--settings", file, "--center", "800"})).centerHz, 800.0);
  }
}

TEST_F(SettingsFileTest, WatchValuesTheToolCannotUseAreRefusedUnlessReplaced) {
  const std::vector<std::pair<std::string, std::string>> cases{
      {"NavArea=abc", "--navarea"},
      {"NavArea=22", "--navarea"},
      {"NavArea=1\nNavFreq=4209", "--frequency"},
      {"Stations=G1", "--stations"},
      {"Types=A;B", "--types"},
      {"AlarmTypes=*", "--alarm-types"}};
  for (const auto& [values, option] : cases) {
    const std::string file = Write("[Watch]\n" + values + "\n");
    try {
      SettingsForRun(Options({"--settings", file}));
      ADD_FAILURE() << values << " accepted";
    } catch (const InputError& error) {
      EXPECT_NE(std::string(error.what()).find("(or give " + option), std::string::npos)
          << error.what();
    }
    const std::string value = option == "--frequency" ? "518" : option == "--navarea" ? "1" : "G";
    EXPECT_NO_THROW(SettingsForRun(Options({"--settings", file, option, value}))) << values;
  }
  // The second receiver's frequency matters only while it runs and names stations.
  const std::string second = Write("[Watch]\nNavArea=1\nNavFreq2=491\n");
  EXPECT_NO_THROW(SettingsForRun(Options({"--settings", second})));
  EXPECT_THROW(SettingsForRun(Options({"--settings", second, "--channel", "both"})), InputError);
}

TEST_F(SettingsFileTest, SecondReceiverTakesTheFilesSecondKeysAndThePairsWin) {
  const std::string file = Write(
      "[Wave]\r\nCentF=100\r\nCentF2=60\r\n[Set]\r\nDecLang=1\r\nDecLang2=0\r\n"
      "DecInv2=1\r\nAutoSet2=0\r\nDecSens2=1\r\nReceiver2=1\r\n[Watch]\r\nNavFreq=518\r\n"
      "NavFreq2=490\r\n");
  // One channel: one receiver, whatever the file says of a second.
  EXPECT_FALSE(SettingsForRun(Options({"--settings", file})).settings.Receiver2);

  const RunSettings both = SettingsForRun(Options({"--settings", file, "--channel", "both"}));
  EXPECT_TRUE(both.settings.Receiver2);
  EXPECT_EQ(both.centerHz, 1000.0);
  EXPECT_EQ(both.centerHz2, 600.0);
  EXPECT_TRUE(both.settings.DecLang);
  EXPECT_FALSE(both.settings.DecLang2);
  EXPECT_TRUE(both.settings.DecInv2);
  EXPECT_FALSE(both.settings.AutoSet2);
  EXPECT_TRUE(both.settings.DecSens2);
  EXPECT_EQ(both.navFreq2, "490");
  EXPECT_EQ(SettingsForRun(Options({"--settings", file, "--channel", "both", "--frequency", "424"}))
                .navFreq2,
            "424")
      << "one value is both receivers'";

  const RunSettings pairs =
      SettingsForRun(Options({"--settings", file, "--channel", "both", "--center", "900,700",
                              "--lang", "ja,en", "--decoder", "sensitive,standard"}));
  EXPECT_EQ(pairs.centerHz, 900.0);
  EXPECT_EQ(pairs.centerHz2, 700.0);
  EXPECT_FALSE(pairs.settings.DecLang);
  EXPECT_TRUE(pairs.settings.DecLang2);
  EXPECT_TRUE(pairs.settings.DecSens);
  EXPECT_FALSE(pairs.settings.DecSens2);
  // A second centre the decoder cannot take matters only when the second receiver runs.
  const std::string bad = Write("[Wave]\r\nCentF2=200\r\n");
  EXPECT_NO_THROW(SettingsForRun(Options({"--settings", bad})));
  try {
    SettingsForRun(Options({"--settings", bad, "--channel", "both"}));
    ADD_FAILURE() << "CentF2 200 accepted";
  } catch (const InputError& error) {
    EXPECT_NE(std::string(error.what()).find("CentF2 200"), std::string::npos) << error.what();
  }
}

TEST_F(SettingsFileTest, MissingOrUnreadableFileIsAnError) {
  const std::string missing = (dir_ / "none.ini").string();
  EXPECT_THROW(SettingsForRun(Options({"--settings", missing})), InputError);
  std::filesystem::create_directory(dir_ / "folder.ini");
  EXPECT_THROW(SettingsForRun(Options({"--settings", (dir_ / "folder.ini").string()})), InputError);
}

}  // namespace
}  // namespace seaherald::decodetool
