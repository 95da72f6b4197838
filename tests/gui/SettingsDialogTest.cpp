#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QToolButton>
#include <QTreeWidget>

#include "WindowFixture.h"
#include "app/ColourPanel.h"
#include "app/LogBrowserWidgets.h"
#include "app/StatusPanels.h"
#include "app/TForm3.h"
#include "app/TextTabs.h"
#include "app/UpDownButtons.h"
#include "decoder/DecoderChannel.h"

namespace seaherald::test {
namespace {

class SettingsDialogTest : public WindowTest {
 protected:
  TForm3& Dialog() {
    if (dialog_ == nullptr) {
      dialog_ = new TForm3(Window(), choosers_, &Window());
      Window().SetSettingsDialog(dialog_);
    }
    return *dialog_;
  }
  template <typename Control>
  Control* Find(const char* name) {
    auto* control = Dialog().findChild<Control*>(QString::fromLatin1(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
  }
  bool Enabled(const char* name) { return Find<QWidget>(name)->isEnabled(); }
  bool Down(const char* name) { return Find<QToolButton>(name)->isChecked(); }
  QString LabelText(const char* name) { return Find<QLabel>(name)->text(); }

  TForm3* dialog_ = nullptr;
};

TEST_F(SettingsDialogTest, HasItsCaptionSizeAndControls) {
  TForm3& dialog = Dialog();
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("設定"));
  EXPECT_EQ(dialog.size(), QSize(500, 589));
  EXPECT_FALSE(dialog.isModal());
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(Find<QPushButton>("Button1")->text(), QStringLiteral("サウンドデバイス選択"));
  EXPECT_EQ(Find<QCheckBox>("CheckBox3")->text(),
            QStringLiteral("設定エラー数以上はログを保存しない"));
  EXPECT_EQ(Find<QWidget>("GroupBox3")->geometry(), QRect(255, 112, 241, 161));
  EXPECT_EQ(Find<QWidget>("UpDown4")->geometry(), QRect(175, 126, 20, 18));
  const std::pair<const char*, std::pair<int, int>> ranges[] = {
      {"UpDown1", {20, 100}}, {"UpDown2", {1, 300}}, {"UpDown3", {1, 365}}, {"UpDown4", {1, 100}}};
  for (const auto& [name, range] : ranges) {
    EXPECT_EQ(Find<UpDownButtons>(name)->Minimum(), range.first) << name;
    EXPECT_EQ(Find<UpDownButtons>(name)->Maximum(), range.second) << name;
  }
}

// The second receiver's group: off by default with its controls greyed, its own values shown and
// set without touching the first receiver's, and the window's line and tab following the switch.
TEST_F(SettingsDialogTest, SecondReceiverGroupSwitchesAndSetsItsOwnValues) {
  WriteSettings("[Wave]\nCentF2=65\n[Set]\nDecLang=1\nAutoSet2=0\nDecLang2=1\nDecInv2=1\n");
  TForm1& window = ShownWindow();
  const Settings& settings = window.SettingsRecord();
  const auto switchable = {"Centre2Arrows", "DecSens2Box", "English2Button", "Inverted2Button"};
  for (const char* name : switchable)
    EXPECT_FALSE(Enabled(name)) << name;
  EXPECT_EQ(LabelText("Centre2Value"), QStringLiteral("650"));
  EXPECT_TRUE(Down("English2Button") && Down("Inverted2Button"));

  Find<QCheckBox>("Receiver2Box")->click();
  for (const char* name : switchable)
    EXPECT_TRUE(Enabled(name)) << name;
  EXPECT_TRUE(window.Controls().StatusBar2->isVisible());
  EXPECT_EQ(window.Controls().TabControl1->Tabs()->count(), 3);
  Find<QToolButton>("Japanese2Button")->click();
  Find<UpDownButtons>("Centre2Arrows")->ClickUp();
  EXPECT_FALSE(settings.DecLang2);
  EXPECT_DOUBLE_EQ(window.SecondCenterFrequency(), 660.0);
  EXPECT_EQ(settings.CentF2, 66);
  EXPECT_TRUE(settings.DecLang && settings.CentF == 80);
  EXPECT_DOUBLE_EQ(window.CenterFrequency(), 800.0);

  Find<QCheckBox>("Receiver2Box")->click();
  EXPECT_FALSE(settings.Receiver2);
  EXPECT_FALSE(window.Controls().StatusBar2->isVisible());
  EXPECT_EQ(window.Controls().TabControl1->Tabs()->count(), 2);
}

TEST_F(SettingsDialogTest, CreationCopiesTheSettingsIn) {
  WriteSettings(
      "[Wave]\nCentF=65\n[Set]\nTimeOut=45\nDeleteDay=7\nAutoLogDelete=1\nErrSave=0\nErrNum=12\n"
      "FontColor=0000FF\nBackColor=00FF00\n");
  EXPECT_EQ(LabelText("Label9"), QStringLiteral("650"));
  EXPECT_EQ(LabelText("Label10"), QStringLiteral("45"));
  EXPECT_EQ(LabelText("Label11"), QStringLiteral("7"));
  EXPECT_EQ(LabelText("Label13"), QStringLiteral("12"));
  EXPECT_EQ(Find<UpDownButtons>("UpDown1")->Position(), 65);
  EXPECT_TRUE(Find<QCheckBox>("CheckBox1")->isChecked());
  EXPECT_TRUE(Find<QCheckBox>("CheckBox2")->isChecked());
  EXPECT_FALSE(Find<QCheckBox>("CheckBox3")->isChecked());
  EXPECT_EQ(Find<ColourPanel>("Panel1")->Colour(), 0x0000FFu);
  EXPECT_EQ(Find<ColourPanel>("Panel2")->Colour(), 0x00FF00u);
  EXPECT_TRUE(Enabled("UpDown3"));
  EXPECT_FALSE(Enabled("UpDown4"));
  EXPECT_FALSE(Enabled("Label12"));
}

TEST_F(SettingsDialogTest, AutomaticModeGreysOutLanguageAndPolarity) {
  WriteSettings("[Set]\nAutoSet=1\nDecLang=0\nDecInv=1\n");
  for (const char* name :
       {"SpeedButton1", "SpeedButton2", "SpeedButton3", "SpeedButton4", "Label3", "Label4"}) {
    EXPECT_FALSE(Enabled(name)) << name;
  }
  // The buttons stay as laid out while automatic.
  EXPECT_TRUE(Down("SpeedButton1"));
  EXPECT_TRUE(Down("SpeedButton3"));
  EXPECT_TRUE(Enabled("CheckBox1"));
  EXPECT_TRUE(Enabled("Button1"));
}

TEST_F(SettingsDialogTest, ManualModeShowsTheStoredLanguageAndPolarity) {
  WriteSettings("[Set]\nAutoSet=0\nDecLang=0\nDecInv=1\n");
  EXPECT_TRUE(Enabled("SpeedButton2"));
  EXPECT_TRUE(Down("SpeedButton2"));
  EXPECT_FALSE(Down("SpeedButton1"));
  EXPECT_TRUE(Down("SpeedButton4"));
  EXPECT_FALSE(Down("SpeedButton3"));
}

TEST_F(SettingsDialogTest, TurningAutomaticOffShowsWhatTheDecoderChose) {
  Dialog();
  Settings& settings = Window().SettingsRecord();
  settings.DecLang = false;  // as the decoder leaves them in automatic mode
  settings.DecInv = true;
  Find<QCheckBox>("CheckBox1")->click();
  EXPECT_FALSE(settings.AutoSet);
  EXPECT_TRUE(Down("SpeedButton2"));
  EXPECT_TRUE(Down("SpeedButton4"));
  EXPECT_TRUE(Enabled("SpeedButton1"));
  EXPECT_TRUE(Enabled("Label3"));
  Find<QCheckBox>("CheckBox1")->click();
  EXPECT_TRUE(settings.AutoSet);
  EXPECT_FALSE(Enabled("SpeedButton1"));
}

TEST_F(SettingsDialogTest, HighSensitivityBoxChoosesThePathFromTheNextBlock) {
  WriteSettings("[Set]\nDecSens=1\n");
  auto* box = Find<QCheckBox>("CheckBox4");
  EXPECT_EQ(box->text(), QStringLiteral("高感度受信"));
  EXPECT_TRUE(box->isChecked());
  // Added in free space: inside its group and clear of every other control there.
  QWidget* group = Find<QWidget>("GroupBox1");
  EXPECT_EQ(box->parentWidget(), group);
  EXPECT_TRUE(QRect(QPoint(0, 0), group->size()).contains(box->geometry()));
  for (QWidget* other : group->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (other == box) continue;
    EXPECT_FALSE(other->geometry().intersects(box->geometry()))
        << other->objectName().toStdString();
  }
  EXPECT_GE(box->geometry().width(), box->sizeHint().width()) << "the caption is not cut";

  const std::array<std::int16_t, BlockFrames * 2> silence{};
  const DecoderChannel& channel = Window().Blocks().GetDecoder().Channel(0);
  Window().ProcessWaveBlock(silence);
  EXPECT_TRUE(channel.SensitivePath());
  box->click();
  EXPECT_FALSE(Window().SettingsRecord().DecSens);
  EXPECT_TRUE(channel.SensitivePath()) << "nothing changes before the next block";
  Window().ProcessWaveBlock(silence);
  EXPECT_FALSE(channel.SensitivePath());
  box->click();
  Window().ProcessWaveBlock(silence);
  EXPECT_TRUE(channel.SensitivePath());
}

TEST_F(SettingsDialogTest, LanguageAndPolarityButtonsSetTheirValues) {
  WriteSettings("[Set]\nAutoSet=0\n");
  Settings& settings = Window().SettingsRecord();
  Find<QToolButton>("SpeedButton1")->click();
  EXPECT_TRUE(settings.DecLang);
  Find<QToolButton>("SpeedButton2")->click();
  EXPECT_FALSE(settings.DecLang);
  EXPECT_FALSE(Down("SpeedButton1"));
  Find<QToolButton>("SpeedButton4")->click();
  EXPECT_TRUE(settings.DecInv);
  settings.DecInv = false;
  Find<QToolButton>("SpeedButton4")->click();  // already down: sets the same value again
  EXPECT_TRUE(settings.DecInv);
  EXPECT_TRUE(Down("SpeedButton4"));
  Find<QToolButton>("SpeedButton3")->click();
  EXPECT_FALSE(settings.DecInv);
}

TEST_F(SettingsDialogTest, CentreFrequencyArrowsStepByTenHertzWithinRange) {
  WriteSettings("[Wave]\nCentF=99\n");
  auto* arrows = Find<UpDownButtons>("UpDown1");
  arrows->ClickUp();
  EXPECT_DOUBLE_EQ(Window().CenterFrequency(), 1000.0);
  EXPECT_EQ(Window().SettingsRecord().CentF, 100);
  arrows->ClickUp();
  EXPECT_DOUBLE_EQ(Window().CenterFrequency(), 1000.0);
  EXPECT_EQ(LabelText("Label9"), QStringLiteral("1000"));
  arrows->ClickDown();
  EXPECT_DOUBLE_EQ(Window().CenterFrequency(), 990.0);
  EXPECT_EQ(LabelText("Label9"), QStringLiteral("990"));
}

TEST_F(SettingsDialogTest, OutOfRangeStoredFrequencyShowsAsStoredAndStepsIntoRange) {
  WriteSettings("[Wave]\nCentF=5\n");
  EXPECT_EQ(LabelText("Label9"), QStringLiteral("50"));
  EXPECT_EQ(Window().SettingsRecord().CentF, 5);
  Find<UpDownButtons>("UpDown1")->ClickUp();
  EXPECT_EQ(Window().SettingsRecord().CentF, 21);
  EXPECT_DOUBLE_EQ(Window().CenterFrequency(), 210.0);
}

TEST_F(SettingsDialogTest, TimeOutDaysAndErrorCountArrows) {
  WriteSettings("[Set]\nTimeOut=300\nDeleteDay=1\nErrNum=10\nAutoLogDelete=1\n");
  Find<UpDownButtons>("UpDown2")->ClickUp();
  EXPECT_EQ(Window().SettingsRecord().TimeOut, 300);
  Find<UpDownButtons>("UpDown2")->ClickDown();
  EXPECT_EQ(Window().SettingsRecord().TimeOut, 299);
  EXPECT_EQ(LabelText("Label10"), QStringLiteral("299"));
  Find<UpDownButtons>("UpDown3")->ClickDown();
  EXPECT_EQ(Window().SettingsRecord().DeleteDay, 1);
  Find<UpDownButtons>("UpDown3")->ClickUp();
  EXPECT_EQ(LabelText("Label11"), QStringLiteral("2"));
  Find<UpDownButtons>("UpDown4")->ClickUp();
  EXPECT_EQ(Window().SettingsRecord().ErrNum, 11);
  EXPECT_EQ(LabelText("Label13"), QStringLiteral("11"));
}

TEST_F(SettingsDialogTest, LogCheckBoxesSwitchTheirControls) {
  Dialog();
  for (const char* name : {"Label7", "Label8", "Label11", "UpDown3"}) {
    EXPECT_FALSE(Enabled(name)) << name;
  }
  Find<QCheckBox>("CheckBox2")->click();
  EXPECT_TRUE(Window().SettingsRecord().AutoLogDelete);
  for (const char* name : {"Label7", "Label8", "Label11", "UpDown3"}) {
    EXPECT_TRUE(Enabled(name)) << name;
  }
  Find<QCheckBox>("CheckBox3")->click();
  EXPECT_FALSE(Window().SettingsRecord().ErrSave);
  for (const char* name : {"Label12", "Label13", "Label14", "UpDown4"}) {
    EXPECT_FALSE(Enabled(name)) << name;
  }
}

TEST_F(SettingsDialogTest, FontChoiceAppliesAtOnceAndCancelChangesNothing) {
  Dialog();
  QWidget* memo = Window().Controls().TabControl1->Memo1();
  Find<QToolButton>("SpeedButton5")->click();
  ASSERT_EQ(choosers_.fontOffered.size(), 1u);
  EXPECT_EQ(choosers_.fontOffered[0].face, Sjis("ＭＳ ゴシック"));
  EXPECT_EQ(choosers_.fontOffered[0].pointSize, 9);
  EXPECT_EQ(Window().SettingsRecord().FontSize, 9);
  EXPECT_EQ(memo->font().pointSize(), 9);

  choosers_.fontAnswer = FontChoice{"DejaVu Sans Mono", 14};
  Find<QToolButton>("SpeedButton5")->click();
  EXPECT_EQ(Window().SettingsRecord().FontName, "DejaVu Sans Mono");
  EXPECT_EQ(Window().SettingsRecord().FontSize, 14);
  EXPECT_EQ(memo->font().family(), QStringLiteral("DejaVu Sans Mono"));
  EXPECT_EQ(memo->font().pointSize(), 14);
}

TEST_F(SettingsDialogTest, ColourChoicesFillThePanelsAndTheViews) {
  Dialog();
  QWidget* tree = Window().Controls().TreeView1;
  auto* textPanel = Find<ColourPanel>("Panel1");
  emit textPanel->Clicked();
  EXPECT_EQ(Window().SettingsRecord().FontColor, 0x000000u);  // cancelled
  choosers_.colourAnswer = 0x0000FF;
  emit textPanel->Clicked();
  EXPECT_EQ(Window().SettingsRecord().FontColor, 0x0000FFu);
  EXPECT_EQ(textPanel->Colour(), 0x0000FFu);
  EXPECT_EQ(tree->palette().color(QPalette::Text), QColor(255, 0, 0));
  choosers_.colourAnswer = 0xFF0000;
  emit Find<ColourPanel>("Panel2")->Clicked();
  EXPECT_EQ(Window().SettingsRecord().BackColor, 0xFF0000u);
  EXPECT_EQ(tree->palette().color(QPalette::Base), QColor(0, 0, 255));
  EXPECT_EQ(choosers_.colourOffered, (std::vector<std::uint32_t>{0x000000, 0x000000, 0xFFFFFF}));
}

TEST_F(SettingsDialogTest, SettingsButtonShowsOneDialogCentredOnTheMainWindow) {
  WriteSettings("[Form]\nMainTop=50\nMainLeft=100\nMainWidth=800\nMainHeight=600\n");
  TForm1& window = ShownWindow();
  TForm3& dialog = Dialog();
  window.Controls().SpeedButton5->click();
  ASSERT_TRUE(dialog.isVisible());
  // Outer sizes, halves rounded toward zero.
  const QSize outer = dialog.frameGeometry().size();
  EXPECT_EQ(dialog.frameGeometry().topLeft(),
            QPoint(100 + 800 / 2 - outer.width() / 2, 50 + 600 / 2 - outer.height() / 2));
  window.Controls().SpeedButton5->click();
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(window.findChildren<TForm3*>().size(), 1);
  dialog.close();
  EXPECT_FALSE(dialog.isVisible());
  window.move(0, 0);
  window.Controls().SpeedButton5->click();
  EXPECT_EQ(dialog.frameGeometry().topLeft(),
            QPoint(800 / 2 - outer.width() / 2, 600 / 2 - outer.height() / 2));
  // At the default size the dialog is taller than the window: it stays on the screen, title
  // bar included, rather than centred above the screen's top edge.
  dialog.close();
  const QRect screen = window.screen()->availableGeometry();
  window.resize(700, 500);
  window.move(screen.topLeft());
  ASSERT_GT(outer.height(), window.frameGeometry().height());
  window.Controls().SpeedButton5->click();
  EXPECT_EQ(dialog.frameGeometry().top(), screen.top());
  const QRect owner = window.frameGeometry();
  EXPECT_EQ(dialog.frameGeometry().left(), owner.left() + owner.width() / 2 - outer.width() / 2);
}

TEST_F(SettingsDialogTest, DeviceButtonOpensTheInputDeviceDialog) {
  int opened = 0;
  Window().SetInputDeviceDialogOpener([&] { ++opened; });
  Find<QPushButton>("Button1")->click();
  EXPECT_EQ(opened, 1);
}

}  // namespace
}  // namespace seaherald::test
