// The program's start-up and shutdown as its entry wires them, on a sound backend of the test's
// own: a monitor output that cannot be opened ends the program after its one message (also with
// no sound server at all, when the capture would fail as well), and closing the window saves the
// settings before the capture and then the output are closed.
#include <gmock/gmock.h>

#include <QApplication>

#include <memory>

#include "app/Program.h"
#include "tests/audio/AudioFakes.h"
#include "tests/faults/FaultWindow.h"

namespace seaherald::faults {
namespace {

using ::testing::ElementsAre;

// The fake backend, with the closing of every stream it opened recorded in order.
class ClosingOrder final : public SoundBackend {
 public:
  std::vector<InputDeviceInfo> ListInputDevices() override { return fake.ListInputDevices(); }
  std::unique_ptr<InputStream> OpenInput(const std::optional<std::string>& deviceId,
                                         InputCallbacks callbacks) override {
    std::unique_ptr<InputStream> opened = fake.OpenInput(deviceId, std::move(callbacks));
    if (!opened) return nullptr;
    return std::make_unique<Logged<InputStream>>(std::move(opened), closed, "capture");
  }
  std::unique_ptr<OutputStream> OpenOutput(std::function<void()> failed) override {
    std::unique_ptr<OutputStream> opened = fake.OpenOutput(std::move(failed));
    if (!opened) return nullptr;
    return std::make_unique<LoggedOutput>(std::move(opened), closed);
  }

  soundtest::FakeBackend fake;
  std::vector<std::string> closed;

 private:
  template <typename Stream>
  struct Logged : Stream {
    Logged(std::unique_ptr<Stream> inner, std::vector<std::string>& log, const char* name)
        : inner_(std::move(inner)), log_(log), name_(name) {}
    ~Logged() override { log_.push_back(name_); }
    std::unique_ptr<Stream> inner_;
    std::vector<std::string>& log_;
    const char* name_;
  };
  struct LoggedOutput final : Logged<OutputStream> {
    LoggedOutput(std::unique_ptr<OutputStream> inner, std::vector<std::string>& log)
        : Logged(std::move(inner), log, "output") {}
    std::size_t Write(std::span<const std::byte> bytes) override { return inner_->Write(bytes); }
  };
};

class ProgramStartup : public FaultWindowTest {
 protected:
  std::unique_ptr<Program> Start() {
    return std::make_unique<Program>(paths_, backend_, FormServices{&dialogs_, nullptr, &clock_});
  }
  ClosingOrder backend_;
};

TEST_F(ProgramStartup, WithoutASoundServerTheOutputMessageIsTheOnlyOneAndTheProgramEnds) {
  backend_.fake.outputOpens = false;
  backend_.fake.inputOpens = false;
  WriteFileBytes(paths_.settingsFile,
                 "[Form]\r\nMainWidth=900\r\nMainHeight=700\r\n"
                 "[Set]\r\nColumnsWidth1=77\r\nPanelWidth=330\r\nPanelHeight=300\r\n");
  auto program = Start();
  EXPECT_FALSE(program->Started());
  EXPECT_EQ(dialogs_.events,
            (std::vector<std::string>{"beep", "error: 再生デバイスをオープンできません"}));
  EXPECT_TRUE(backend_.fake.inputs.empty()) << "nothing is built after the failed output";
  EXPECT_EQ(program->InputDeviceDialog(), nullptr);
  EXPECT_FALSE(program->Window().isVisible());
  // Ended through the ordinary close: the settings were saved, but a window never shown has no
  // layout to save, so the stored one stays.
  const std::string saved = FileBytes(paths_.settingsFile);
  for (const char* kept : {"MainWidth=900", "MainHeight=700", "ColumnsWidth1=77", "PanelWidth=330",
                           "PanelHeight=300"}) {
    EXPECT_NE(saved.find(kept), std::string::npos) << kept << " not in:\n" << saved;
  }
  EXPECT_NE(saved.find("DecLang="), std::string::npos) << saved;
  EXPECT_EQ(program->Run(*qApp), 0) << "the message loop must not run";
  EXPECT_FALSE(program->Window().isVisible());
}

TEST_F(ProgramStartup, ClosingSavesTheSettingsThenTheCaptureAndTheOutputClose) {
  auto program = Start();
  ASSERT_TRUE(program->Started());
  EXPECT_TRUE(dialogs_.events.empty());
  ASSERT_EQ(backend_.fake.inputs.size(), 1u);
  EXPECT_TRUE(program->Sound().CaptureRunning());
  program->Window().show();
  program->Window().close();
  EXPECT_NE(FileBytes(paths_.settingsFile).find("MainWidth="), std::string::npos);
  EXPECT_TRUE(backend_.closed.empty()) << "the sound stays until the window is destroyed";
  program.reset();
  EXPECT_THAT(backend_.closed, ElementsAre("capture", "output"));
}

}  // namespace
}  // namespace seaherald::faults
