#include "audio/InputDeviceSelection.h"

#include <gtest/gtest.h>

#include "audio/SoundSettingsCommand.h"
#include "platform/CodePage.h"
#include "tests/audio/AudioFakes.h"

namespace seaherald {
namespace {

using soundtest::FakeBackend;
using soundtest::RecordingDialogs;

const std::string Fallback = Cp932Text("標準の入力デバイスでサウンドデバイスをオープンします");
const std::string DefaultEntry = Cp932Text("標準の入力デバイス");

// Capture and notice as one fake, so that the order of their calls can be checked together.
struct Recorder final : CaptureControl, DeviceChangeNotice {
  std::vector<std::string> calls;
  bool running = false;
  bool OpenWaveIn(const std::optional<std::string>& id) override {
    calls.push_back("open:" + id.value_or("default"));
    running = true;
    return true;
  }
  bool CloseWaveIn() override {
    calls.push_back("close");
    running = false;
    return true;
  }
  bool CaptureRunning() const override { return running; }
  void ShowNotice() override { calls.push_back("show notice"); }
  void Settle() override { calls.push_back("settle"); }
  void CloseNotice() override { calls.push_back("close notice"); }
};

struct Rig {
  FakeBackend backend;
  RecordingDialogs dialogs;
  Recorder recorder;
  std::string waveInName = "Default input device";
  int deviceIndex = 0;
  InputDeviceSelection selection{waveInName, deviceIndex, backend, recorder, dialogs};

  explicit Rig(std::vector<InputDeviceInfo> devices) {
    backend.devices = std::move(devices);
    selection.ListInputDevices();
  }
  // Start-up: the stored name, resolved and opened.
  void StartWith(const std::string& name) {
    waveInName = name;
    selection.OpenSelectedDevice();
  }
};

const std::vector<InputDeviceInfo> ThreeDevices = {
    {"Line In", "line"}, {Cp932Text("マイク"), "mic"}, {"USB Audio", "usb"}};

TEST(InputDeviceList, DefaultEntryFirstThenDevicesInSystemOrder) {
  const InputDeviceList list(ThreeDevices);
  ASSERT_EQ(list.Count(), 4);
  EXPECT_EQ(list.ItemText(0), DefaultEntry);
  EXPECT_EQ(list.ItemText(2), Cp932Text("マイク"));
  EXPECT_EQ(list.DeviceId(0), std::nullopt);
  EXPECT_EQ(list.DeviceId(3), std::optional<std::string>("usb"));
  EXPECT_THROW(list.ItemText(4), std::out_of_range);
}

TEST(InputDeviceList, FindDeviceIndexMatchesWholeExactNames) {
  const InputDeviceList list(ThreeDevices);
  EXPECT_EQ(list.FindDeviceIndex(""), 0);
  EXPECT_EQ(list.FindDeviceIndex("Default input device"), 0);
  EXPECT_EQ(list.FindDeviceIndex(DefaultEntry), 0);
  EXPECT_EQ(list.FindDeviceIndex("USB Audio"), 3);
  EXPECT_EQ(list.FindDeviceIndex(Cp932Text("マイク")), 2);
  EXPECT_EQ(list.FindDeviceIndex("usb audio"), -1);
  EXPECT_EQ(list.FindDeviceIndex("USB"), -1);
  EXPECT_EQ(list.FindDeviceIndex("USB Audio "), -1);
}

TEST(OpenSelectedDevice, DefaultOrEmptyNameOpensTheDefaultWithoutMessage) {
  for (const std::string name : {"", "Default input device"}) {
    Rig rig(ThreeDevices);
    rig.StartWith(name);
    EXPECT_EQ(rig.deviceIndex, 0);
    EXPECT_EQ(rig.selection.SelectedPosition(), 0);
    EXPECT_EQ(rig.recorder.calls, (std::vector<std::string>{"open:default"}));
    EXPECT_TRUE(rig.dialogs.events.empty());
  }
}

TEST(OpenSelectedDevice, PresentNameOpensThatDevice) {
  Rig rig(ThreeDevices);
  rig.StartWith(Cp932Text("マイク"));
  EXPECT_EQ(rig.deviceIndex, 2);
  EXPECT_EQ(rig.selection.SelectedPosition(), 2);
  EXPECT_EQ(rig.recorder.calls, (std::vector<std::string>{"open:mic"}));
  EXPECT_TRUE(rig.dialogs.events.empty());
}

TEST(OpenSelectedDevice, MissingDeviceFallsBackToTheDefaultWithBeepAndNoticeButStaysChosen) {
  Rig rig(ThreeDevices);
  rig.StartWith("Unplugged Headset");
  EXPECT_EQ(rig.deviceIndex, 0);
  EXPECT_EQ(rig.waveInName, "Unplugged Headset");
  EXPECT_EQ(rig.dialogs.events, (std::vector<std::string>{"beep", "info:" + Fallback}));
  EXPECT_EQ(rig.recorder.calls, (std::vector<std::string>{"open:default"}));
}

TEST(OpenSelectedDevice, ADroppedOutDeviceNeverShiftsTheChoiceOntoItsNeighbour) {
  // The system lists "USB Audio" first today; the stored name still finds it by its own id.
  Rig rig({{"USB Audio", "usb"}, {"Line In", "line"}});
  rig.StartWith("Line In");
  EXPECT_EQ(rig.recorder.calls, (std::vector<std::string>{"open:line"}));
}

TEST(ConfirmChoice, SameRunningDeviceLeavesTheCaptureAlone) {
  Rig rig(ThreeDevices);
  rig.StartWith("USB Audio");
  rig.recorder.calls.clear();
  rig.selection.Confirm(3, rig.recorder);
  EXPECT_TRUE(rig.recorder.calls.empty());
  EXPECT_EQ(rig.waveInName, "USB Audio");
}

TEST(ConfirmChoice, OtherDeviceIsOpenedByNameBehindTheNotice) {
  Rig rig(ThreeDevices);
  rig.StartWith("Default input device");
  rig.recorder.calls.clear();
  rig.selection.Confirm(2, rig.recorder);
  EXPECT_EQ(rig.recorder.calls, (std::vector<std::string>{"show notice", "close", "settle",
                                                          "open:mic", "close notice"}));
  EXPECT_EQ(rig.deviceIndex, 2);
  EXPECT_EQ(rig.waveInName, Cp932Text("マイク"));
  EXPECT_TRUE(rig.dialogs.events.empty());
}

TEST(ConfirmChoice, ChoosingTheDefaultEntryStoresTheEnglishName) {
  Rig rig(ThreeDevices);
  rig.StartWith("Line In");
  rig.recorder.calls.clear();
  rig.selection.Confirm(0, rig.recorder);
  EXPECT_EQ(rig.waveInName, "Default input device");
  EXPECT_EQ(rig.deviceIndex, 0);
  EXPECT_EQ(rig.recorder.calls.back(), "close notice");
  EXPECT_EQ(rig.recorder.calls[rig.recorder.calls.size() - 2], "open:default");
}

// Two receivers, one identical dongle each: the system's id tells them apart, now and at the next
// start, whichever the system lists first then.
TEST(ConfirmChoice, TwoDevicesOfOneNameAreToldApartByTheirId) {
  Rig rig({{"USB Audio", "usb-a"}, {"USB Audio", "usb-b"}});
  rig.StartWith("Default input device");
  rig.recorder.calls.clear();
  rig.selection.Confirm(2, rig.recorder);
  EXPECT_EQ(rig.deviceIndex, 2);
  EXPECT_EQ(rig.recorder.calls[3], "open:usb-b");
  EXPECT_EQ(rig.selection.StoredId(), "usb-b");
  rig.recorder.calls.clear();
  rig.selection.Confirm(2, rig.recorder);  // the second is what runs now
  EXPECT_TRUE(rig.recorder.calls.empty());
  rig.selection.Confirm(1, rig.recorder);
  EXPECT_EQ(rig.recorder.calls[3], "open:usb-a");

  Rig next({{"USB Audio", "usb-b"}, {"USB Audio", "usb-a"}});
  next.selection.SetStoredId("usb-a");
  next.StartWith("USB Audio");
  EXPECT_EQ(next.recorder.calls, std::vector<std::string>{"open:usb-a"});
  EXPECT_EQ(next.deviceIndex, 2);
  // An id the system no longer knows: the name alone decides, as before ids were kept.
  Rig moved(std::vector<InputDeviceInfo>{{"USB Audio", "usb-c"}});
  moved.selection.SetStoredId("usb-a");
  moved.StartWith("USB Audio");
  EXPECT_EQ(moved.recorder.calls, std::vector<std::string>{"open:usb-c"});
}

TEST(ConfirmChoice, SameEntryReopensWhenTheCaptureIsNotRunning) {
  Rig rig(ThreeDevices);
  rig.StartWith("Line In");
  rig.recorder.running = false;  // the device or the server went away
  rig.recorder.calls.clear();
  rig.selection.Confirm(1, rig.recorder);
  EXPECT_EQ(rig.recorder.calls, (std::vector<std::string>{"show notice", "close", "settle",
                                                          "open:line", "close notice"}));
}

TEST(PrepareToShow, FreshListFollowsTheRunningDeviceToItsNewPosition) {
  Rig rig(ThreeDevices);
  rig.StartWith("USB Audio");
  rig.backend.devices = {{"USB Audio", "usb"}, {"Line In", "line"}};
  rig.selection.PrepareToShow();
  EXPECT_EQ(rig.selection.Devices().Count(), 3);
  EXPECT_EQ(rig.deviceIndex, 1);
  EXPECT_EQ(rig.selection.SelectedPosition(), 1);
  rig.recorder.calls.clear();
  rig.selection.Confirm(1, rig.recorder);
  EXPECT_TRUE(rig.recorder.calls.empty());
}

TEST(PrepareToShow, VanishedRunningDeviceShowsTheDefaultEntryAndOkSwitchesToIt) {
  Rig rig(ThreeDevices);
  rig.StartWith("USB Audio");
  rig.backend.devices = {{"Line In", "line"}};
  rig.selection.PrepareToShow();
  EXPECT_EQ(rig.selection.SelectedPosition(), 0);
  rig.recorder.calls.clear();
  rig.selection.Confirm(rig.selection.SelectedPosition(), rig.recorder);
  EXPECT_EQ(rig.waveInName, "Default input device");
  EXPECT_EQ(rig.recorder.calls[3], "open:default");
  EXPECT_TRUE(rig.dialogs.events.empty());
}

// The device at the vanished device's old position is another device: choosing it must open it.
TEST(PrepareToShow, ChoosingTheDeviceNowAtTheVanishedDevicesPositionOpensIt) {
  Rig rig(ThreeDevices);
  rig.StartWith("USB Audio");
  rig.backend.devices = {{"Line In", "line"}, {"Mic", "mic"}, {"Other", "other"}};
  rig.selection.PrepareToShow();
  rig.recorder.calls.clear();
  rig.selection.Confirm(3, rig.recorder);
  EXPECT_EQ(rig.waveInName, "Other");
  ASSERT_EQ(rig.recorder.calls.size(), 5u);
  EXPECT_EQ(rig.recorder.calls[3], "open:other");
}

// The capture went away with its server or device: retries open the stored device by name when
// it is back, never say a word, and keep the stored name while nothing is listed at all.
TEST(RetryLostCapture, ReopensByNameSilentlyAndKeepsTheNameWhileNothingIsListed) {
  Rig rig(ThreeDevices);
  rig.StartWith("USB Audio");
  EXPECT_FALSE(rig.selection.RetryLostCapture()) << "the capture is running";
  rig.recorder.running = false;  // the server died
  rig.backend.devices = {};
  rig.recorder.calls.clear();
  EXPECT_FALSE(rig.selection.RetryLostCapture());
  EXPECT_EQ(rig.waveInName, "USB Audio");
  EXPECT_TRUE(rig.recorder.calls.empty());

  rig.backend.devices = {{"USB Audio", "usb2"}, {"Line In", "line"}};  // back, in another order
  EXPECT_TRUE(rig.selection.RetryLostCapture());
  EXPECT_EQ(rig.recorder.calls, std::vector<std::string>{"open:usb2"});
  EXPECT_EQ(rig.deviceIndex, 1);
  EXPECT_EQ(rig.waveInName, "USB Audio");
  EXPECT_TRUE(rig.dialogs.events.empty());
}

// The server comes back before the chosen input (the usual order with a USB card): the default
// input stands in, and the chosen one is taken back as soon as it is listed.
TEST(RetryLostCapture, TheDefaultInputStandsInUntilTheStoredDeviceIsBack) {
  Rig rig(ThreeDevices);
  rig.StartWith("USB Audio");
  rig.recorder.running = false;
  rig.backend.devices = {{"Line In", "line"}};
  rig.recorder.calls.clear();
  EXPECT_TRUE(rig.selection.RetryLostCapture());
  EXPECT_EQ(rig.recorder.calls, std::vector<std::string>{"open:default"});
  EXPECT_EQ(rig.waveInName, "USB Audio");
  EXPECT_EQ(rig.deviceIndex, 0);
  EXPECT_FALSE(rig.selection.RetryLostCapture()) << "still missing: the stand-in runs on";
  rig.backend.devices = {{"Line In", "line"}, {"USB Audio", "usb"}};
  EXPECT_TRUE(rig.selection.RetryLostCapture());
  EXPECT_EQ(rig.recorder.calls, (std::vector<std::string>{"open:default", "open:usb"}));
  EXPECT_EQ(rig.deviceIndex, 2);
  EXPECT_FALSE(rig.selection.RetryLostCapture()) << "the stored device runs";
  EXPECT_EQ(rig.waveInName, "USB Audio");
  EXPECT_TRUE(rig.dialogs.events.empty());
}

TEST(SoundSettingsCommand, FirstInstalledProgramWinsAndNoneGivesNothing) {
  const auto installed = [](std::vector<std::string> names) {
    return [names](std::string_view name) -> std::optional<std::string> {
      for (const auto& n : names) {
        if (n == name) return "/usr/bin/" + n;
      }
      return std::nullopt;
    };
  };
  const auto gnome = FindSoundSettingsCommand(installed({"gnome-control-center", "kcmshell5"}));
  ASSERT_TRUE(gnome.has_value());
  EXPECT_EQ(gnome->program, "/usr/bin/gnome-control-center");
  EXPECT_EQ(gnome->arguments, (std::vector<std::string>{"sound"}));
  const auto mixer = FindSoundSettingsCommand(installed({"kcmshell5", "pavucontrol"}));
  ASSERT_TRUE(mixer.has_value());
  EXPECT_EQ(mixer->program, "/usr/bin/pavucontrol");
  EXPECT_FALSE(FindSoundSettingsCommand(installed({"xterm"})).has_value());
}

}  // namespace
}  // namespace seaherald
