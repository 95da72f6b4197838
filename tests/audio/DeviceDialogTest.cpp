// The input device dialog and the device-change notice as windows, over fake devices.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "audio/Unit8.h"
#include "audio/Unit9.h"
#include "platform/CodePage.h"
#include "tests/audio/AudioFakes.h"

namespace seaherald {
namespace {

using namespace std::chrono_literals;
using soundtest::FakeBackend;
using soundtest::RecordingDialogs;

struct FakeCapture final : CaptureControl {
  std::vector<std::string> calls;
  bool running = false;
  std::function<void()> onClose;
  bool OpenWaveIn(const std::optional<std::string>& id) override {
    calls.push_back("open:" + id.value_or("default"));
    running = true;
    return true;
  }
  bool CloseWaveIn() override {
    calls.push_back("close");
    if (onClose) onClose();
    running = false;
    return true;
  }
  bool CaptureRunning() const override { return running; }
};

struct DialogRig {
  FakeBackend backend;
  FakeCapture capture;
  RecordingDialogs dialogs;
  std::string waveInName;
  TForm9 notice{nullptr, 0ms};
  std::unique_ptr<TForm8> dialog;
  QWidget owner;

  explicit DialogRig(std::string storedName) : waveInName(std::move(storedName)) {
    backend.devices = {{"Line In", "line"}, {Cp932Text("マイク"), "mic"}};
    dialog = std::make_unique<TForm8>(backend, capture, waveInName, dialogs, notice);
    owner.setGeometry(100, 200, 500, 300);
  }
  // Shows the dialog modally over `owner` and runs `whileShown` inside its event loop.
  int ShowAnd(const std::function<void()>& whileShown) {
    QTimer::singleShot(0, dialog.get(), whileShown);
    return dialog->ShowModalOver(&owner);
  }
};

QStringList Items(const QComboBox& box) {
  QStringList items;
  for (int i = 0; i < box.count(); ++i)
    items << box.itemText(i);
  return items;
}

TEST(TForm8Window, LayoutCaptionsAndListAsTabled) {
  DialogRig rig("Default input device");
  TForm8& form = *rig.dialog;
  EXPECT_EQ(form.windowTitle(), QStringLiteral("入力デバイスの設定"));
  EXPECT_EQ(form.size(), QSize(331, 102));
  EXPECT_EQ(form.minimumSize(), form.maximumSize());
  EXPECT_EQ(form.GroupBox1->title(), QStringLiteral("入力デバイス"));
  EXPECT_EQ(form.GroupBox1->geometry(), QRect(8, 8, 313, 57));
  EXPECT_EQ(form.ComboBox1->parentWidget(), form.GroupBox1);
  EXPECT_EQ(form.ComboBox1->geometry(), QRect(8, 24, 297, 20));
  EXPECT_FALSE(form.ComboBox1->isEditable());
  EXPECT_EQ(form.Button3->text(), QStringLiteral("サウンド設定"));
  EXPECT_EQ(form.Button3->geometry(), QRect(8, 73, 146, 25));
  EXPECT_EQ(form.Button1->text(), QStringLiteral("OK"));
  EXPECT_EQ(form.Button1->geometry(), QRect(160, 73, 78, 25));
  EXPECT_TRUE(form.Button1->isDefault());
  EXPECT_EQ(form.Button2->text(), QStringLiteral("キャンセル"));
  EXPECT_EQ(form.Button2->geometry(), QRect(244, 73, 77, 25));
  EXPECT_EQ(Items(*form.ComboBox1),
            (QStringList{QStringLiteral("標準の入力デバイス"), QStringLiteral("Line In"),
                         QStringLiteral("マイク")}));
}

TEST(TForm9Window, CaptionSizeAndNotice) {
  TForm9 notice;
  EXPECT_EQ(notice.windowTitle(), QStringLiteral("録音デバイス変更"));
  EXPECT_EQ(notice.size(), QSize(230, 41));
  EXPECT_TRUE(notice.windowFlags().testFlag(Qt::Tool));
  EXPECT_EQ(notice.Label1->text(), QStringLiteral("デバイス変更中…"));
  EXPECT_EQ(notice.Label1->geometry(), QRect(0, 16, 233, 13));
  EXPECT_TRUE(notice.Label1->alignment().testFlag(Qt::AlignHCenter));
}

TEST(TForm8Window, CreationOpensTheStoredDeviceAndSelectsIt) {
  DialogRig rig(Cp932Text("マイク"));
  EXPECT_EQ(rig.capture.calls, (std::vector<std::string>{"open:mic"}));
  EXPECT_EQ(rig.dialog->DeviceIndex(), 2);
  EXPECT_EQ(rig.dialog->ComboBox1->currentIndex(), 2);
  EXPECT_TRUE(rig.dialogs.events.empty());
}

TEST(TForm8Window, ShowsCentredOverItsOwnerWithTheRunningDeviceChosen) {
  DialogRig rig("Line In");
  QPoint shownAt;
  int shownChoice = -1;
  const int result = rig.ShowAnd([&] {
    shownAt = rig.dialog->frameGeometry().topLeft();
    shownChoice = rig.dialog->ComboBox1->currentIndex();
    rig.dialog->Button2->click();
  });
  EXPECT_EQ(result, QDialog::Rejected);
  const QRect owner = rig.owner.frameGeometry();
  const QSize own = rig.dialog->frameGeometry().size();
  EXPECT_EQ(shownAt, QPoint(owner.left() + owner.width() / 2 - own.width() / 2,
                            owner.top() + owner.height() / 2 - own.height() / 2));
  EXPECT_EQ(shownChoice, 1);
}

TEST(TForm8Window, CancelChangesNothing) {
  DialogRig rig("Line In");
  rig.capture.calls.clear();
  rig.ShowAnd([&] {
    rig.dialog->ComboBox1->setCurrentIndex(2);
    rig.dialog->Button2->click();
  });
  EXPECT_TRUE(rig.capture.calls.empty());
  EXPECT_EQ(rig.waveInName, "Line In");
  EXPECT_EQ(rig.dialog->DeviceIndex(), 1);
}

TEST(TForm8Window, OkWithAnotherDeviceShowsTheNoticeOverTheDialogWhileTheCaptureChanges) {
  DialogRig rig("Default input device");
  rig.capture.calls.clear();
  bool noticeShown = false;
  QPoint noticeAt;
  QPoint expectedAt;
  rig.capture.onClose = [&] {
    noticeShown = rig.notice.isVisible();
    noticeAt = rig.notice.frameGeometry().topLeft();
    const QRect owner = rig.dialog->frameGeometry();
    const QSize own = rig.notice.frameGeometry().size();
    expectedAt = QPoint(owner.left() + owner.width() / 2 - own.width() / 2,
                        owner.top() + owner.height() / 2 - own.height() / 2);
  };
  const int result = rig.ShowAnd([&] {
    rig.dialog->ComboBox1->setCurrentIndex(1);
    rig.dialog->Button1->click();
  });
  EXPECT_EQ(result, QDialog::Accepted);
  EXPECT_EQ(rig.capture.calls, (std::vector<std::string>{"close", "open:line"}));
  EXPECT_TRUE(noticeShown);
  EXPECT_EQ(noticeAt, expectedAt);
  EXPECT_FALSE(rig.notice.isVisible());
  EXPECT_EQ(rig.waveInName, "Line In");
}

TEST(TForm8Window, ShowingAgainListsTheDevicesAfresh) {
  DialogRig rig("Line In");
  rig.backend.devices = {{"USB Audio", "usb"}, {"Line In", "line"}};
  QStringList shown;
  int shownChoice = -1;
  rig.ShowAnd([&] {
    shown = Items(*rig.dialog->ComboBox1);
    shownChoice = rig.dialog->ComboBox1->currentIndex();
    rig.dialog->Button2->click();
  });
  EXPECT_EQ(shown, (QStringList{QStringLiteral("標準の入力デバイス"), QStringLiteral("USB Audio"),
                                QStringLiteral("Line In")}));
  EXPECT_EQ(shownChoice, 2);
}

}  // namespace
}  // namespace seaherald

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
