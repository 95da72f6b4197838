// The watch in the window: a chosen NAVAREA names the stations in the status bar, the tree and
// the start-up schedule; a search-and-rescue message raises the banner until acknowledged and a
// desktop notification on a private session bus; the settings dialog shows the mandatory types
// fixed and applies a choice at once.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QEventLoop>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>
#include <QVariantMap>

#include "WindowFixture.h"
#include "app/AlarmOutputs.h"
#include "app/SecondReceiverGroup.h"
#include "app/StatusPanels.h"
#include "app/TForm3.h"
#include "app/TextTabs.h"
#include "app/WatchGroup.h"
#include "msglog/Catalogue.h"
#include "msglog/LogBrowser.h"
#include "msglog/MessageLog.h"
#include "tests/gui/FakeNotifications.h"

namespace seaherald::test {

namespace {

class WatchWindowTest : public WindowTest {
 protected:
  void Message(const std::string& header) {
    Window().Log().AddReceivedLine("ZCZC " + header, false);
    Window().Log().AddReceivedLine("MESSAGE " + header, false);
    Window().Log().AddReceivedLine("NNNN", false);
  }
  QString Panel(int panel) { return Window().Controls().StatusBar1->PanelText(panel); }
};

TEST_F(WatchWindowTest, ChosenAreaNamesStationsInStatusTreeAndSchedule) {
  WriteSettings("[Set]\nDecLang=1\n[Watch]\nNavArea=1\nNavFreq=518\n");
  WriteLog("GA12.txt", "2024/03/30 10:00:00", 0, {"ZCZC GA12", "NNNN"});
  TForm1& window = Window();
  EXPECT_TRUE(window.CurrentWatch().area.Chosen());
  const QString schedule = window.Controls().TabControl1->Memo1()->toPlainText();
  EXPECT_TRUE(schedule.contains(QStringLiteral("NAVAREA I, 518 kHz"))) << schedule.toStdString();
  EXPECT_TRUE(schedule.contains(QStringLiteral("G   Cullercoats"))) << schedule.toStdString();
  EXPECT_FALSE(schedule.contains(QStringLiteral("JST")));
  window.Log().AddReceivedLine("ZCZC GE01", false);
  EXPECT_EQ(Panel(2), QStringLiteral("Cullercoats"));
  // Each station of the area is a node of its own, in letter order.
  const LogTreeLayout& tree = window.Browser().TreeLayout();
  const int cullercoats = tree.BaseOfLetter(0, "G");
  EXPECT_EQ(TreeLabel(tree.BaseNodeIndex(0, 0)), QStringLiteral("B  Bodo (0)"));
  EXPECT_EQ(TreeLabel(tree.BaseNodeIndex(0, cullercoats)), QStringLiteral("G  Cullercoats (1)"));
  EXPECT_EQ(TreeLabel(tree.BaseNodeIndex(0, cullercoats + 1)), QStringLiteral("H  Bjuroklubb (0)"));
  EXPECT_EQ(TreeLabel(tree.BaseNodeIndex(0, tree.OtherBase(0))), QStringLiteral("その他の局 (0)"));
  EXPECT_EQ(TreeLabel(tree.BaseNodeIndex(1, 0)), QStringLiteral("那覇 (0)"))
      << "the Japanese service keeps its stations";
  EXPECT_EQ(window.Controls().TreeView1->topLevelItem(0)->childCount(), tree.BaseCount(0));
  ClickTreeNode(tree.TypeNodeIndex(0, cullercoats, 0));
  EXPECT_EQ(ListRowTexts(0).value(1), QStringLiteral("GA12"));
  EXPECT_EQ(window.Controls().ListView1->rowCount(), 1);
  // The station panel holds every name of the area.
  StatusPanels* status = window.Controls().StatusBar1;
  for (const NavtexStation& station : window.CurrentWatch().area.Stations()) {
    EXPECT_LE(status->fontMetrics().horizontalAdvance(QString::fromStdString(station.name)) + 4,
              status->PanelWidth(2))
        << station.name;
  }
}

// The shipped list holds no station of NAVAREA V yet: the window says so, and names no English
// message after the Japanese stations, whose letters mean nothing there.
TEST_F(WatchWindowTest, AreaWithoutStationsNamesNoJapaneseStation) {
  WriteSettings("[Set]\nDecLang=1\n[Watch]\nNavArea=5\n");
  TForm1& window = Window();
  EXPECT_TRUE(window.CurrentWatch().area.Chosen());
  window.Log().AddReceivedLine("ZCZC GE01", false);
  EXPECT_EQ(Panel(2), QStringLiteral("その他"));
  EXPECT_EQ(window.Browser().TreeLayout().BaseCount(0), 1) << "one node for every station";
}

TEST_F(WatchWindowTest, SearchAndRescueRaisesBannerAndNotificationUntilAcknowledged) {
  const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
  ASSERT_FALSE(daemon.isEmpty()) << "dbus-daemon is needed (scripts/deps installs it)";
  QProcess bus;
  bus.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"),
                     QStringLiteral("--print-address=1")});
  ASSERT_TRUE(bus.waitForReadyRead(10000)) << "the private session bus did not start";
  const QString address = QString::fromUtf8(bus.readLine()).trimmed();
  qputenv("DBUS_SESSION_BUS_ADDRESS", address.toUtf8());
  // No sound server: the tone must not reach the sink that the live sound tests listen to
  // (alarm_tone_tests hears it on a server of its own).
  qputenv("PULSE_SERVER", "unix:/nonexistent/seaherald-no-server");
  QDBusConnection server = QDBusConnection::connectToBus(address, QStringLiteral("notifier"));
  FakeNotifications notifications;
  ASSERT_TRUE(notifications.ServeOn(server));

  WriteSettings("[Set]\nDecLang=1\n[Watch]\nNavArea=1\nAlarmTypes=B\n");
  TForm1& window = ShownWindow();
  Message("GA01");
  EXPECT_TRUE(window.Banner().isHidden()) << "a navigational warning is no alarm";
  Message("GD02");
  EXPECT_FALSE(window.Banner().isHidden());
  EXPECT_TRUE(window.Banner().Label()->text().contains(QStringLiteral("GD02")));
  EXPECT_TRUE(window.Banner().Label()->text().contains(QStringLiteral("Cullercoats")));
  ASSERT_TRUE(QTest::qWaitFor([&notifications] { return !notifications.calls.isEmpty(); }, 10000))
      << "no notification on the private session bus";
  ASSERT_EQ(notifications.calls.size(), 1);
  EXPECT_TRUE(notifications.calls[0].startsWith(QStringLiteral("SEAHERALD|")));
  EXPECT_TRUE(notifications.calls[0].contains(QStringLiteral("GD02")));
  EXPECT_EQ(notifications.lastHints.value(QStringLiteral("urgency")).toInt(), 2);

  Message("GD02");  // the same message again: filed over the first, no new alarm
  Message("GB03");  // a type the user added
  EXPECT_EQ(window.Alarm().Raised(), 2);
  // One the log folder cannot take (a folder stands where its file would go) is no repeat.
  std::filesystem::create_directories(paths_.logFolder / "GD05.txt" / "in-the-way");
  Message("GD05");
  EXPECT_EQ(window.Alarm().Raised(), 3);
  window.Banner().AcknowledgeButton()->click();
  EXPECT_TRUE(window.Banner().isHidden());
  Message("GC04");
  EXPECT_TRUE(window.Banner().isHidden()) << "the banner stays down until the next alarm";
  server.unregisterService(QStringLiteral("org.freedesktop.Notifications"));
  QDBusConnection::disconnectFromBus(QStringLiteral("notifier"));
  bus.kill();
  bus.waitForFinished();
}

TEST_F(WatchWindowTest, DialogShowsMandatoryTypesFixedAndAppliesAChoiceAtOnce) {
  WriteSettings("[Set]\nDecLang=1\n");
  TForm1& window = Window();
  auto* dialog = new TForm3(window, choosers_, &window);
  window.SetSettingsDialog(dialog);
  auto* group = dialog->findChild<WatchGroup*>();
  ASSERT_NE(group, nullptr);
  for (QCheckBox* box : group->TypeBoxes()) {
    const bool mandatory = QStringLiteral("ABDL").contains(box->text());
    EXPECT_TRUE(box->isChecked()) << box->text().toStdString();
    EXPECT_EQ(box->isEnabled(), !mandatory) << box->text().toStdString();
  }
  group->TypeBoxes()[2]->click();  // C off
  EXPECT_EQ(window.SettingsRecord().Types, "ABDEFGHJKLXY");
  group->AreaBox()->setCurrentIndex(1);
  EXPECT_EQ(window.SettingsRecord().NavArea, 1);
  EXPECT_EQ(TreeLabel(window.Browser().TreeLayout().BaseNodeIndex(0, 4)),
            QStringLiteral("G  Cullercoats (0)"));
  Message("GC05");
  EXPECT_FALSE(LogExists("GC05.txt")) << "a type no longer taken";
  Message("GA06");
  EXPECT_TRUE(LogExists("GA06.txt"));
  group->AreaBox()->setCurrentIndex(0);
  EXPECT_EQ(TreeLabel(Catalogue::BaseNodeIndex(0, 0)), QStringLiteral("那覇 (1)"));
}

// Station I of NAVAREA I is Grimeton on 518 kHz and Niton on 490 kHz: the second receiver, on
// 490 kHz, names its messages from that frequency's stations in its status line and its alarm,
// until the dialog sets it back to the first receiver's frequency.
TEST_F(WatchWindowTest, SecondReceiverNamesStationsFromItsOwnFrequency) {
  WriteSettings(
      "[Set]\nDecLang=1\nReceiver2=1\nDecLang2=1\n[Watch]\nNavArea=1\nNavFreq=518\nNavFreq2=490\n");
  TForm1& window = ShownWindow();
  auto* dialog = new TForm3(window, choosers_, &window);
  window.SetSettingsDialog(dialog);
  QComboBox* frequency = dialog->findChild<SecondReceiverGroup*>()->FrequencyBox();
  EXPECT_EQ(frequency->currentText(), QStringLiteral("490 kHz"));
  EXPECT_TRUE(window.Controls().TabControl1->Memo1()->toPlainText().contains(
      QStringLiteral("NAVAREA I, 490 kHz")));
  StatusPanels* second = window.Controls().StatusBar2;
  window.Log().AddReceivedLine("ZCZC ID01", false);
  window.SecondLog().AddReceivedLine("ZCZC ID02", false);
  EXPECT_EQ(Panel(2), QStringLiteral("Grimeton"));
  EXPECT_EQ(second->PanelText(2), QStringLiteral("Niton"));
  for (const char* line : {"MAYDAY", "NNNN"})
    window.SecondLog().AddReceivedLine(line, false);
  EXPECT_TRUE(window.Banner().Label()->text().contains(QStringLiteral("Niton")))
      << window.Banner().Label()->text().toStdString();

  frequency->setCurrentIndex(0);  // the same as the first receiver
  EXPECT_EQ(window.SettingsRecord().NavFreq2, "");
  window.SecondLog().AddReceivedLine("ZCZC ID03", false);
  EXPECT_EQ(second->PanelText(2), QStringLiteral("Grimeton"));
  frequency->setCurrentIndex(2);
  EXPECT_EQ(window.SettingsRecord().NavFreq2, "490");
  // Switched on from the dialog, it names its own frequency's stations at once.
  QCheckBox* on = dialog->findChild<QCheckBox*>(QStringLiteral("Receiver2Box"));
  on->click();
  on->click();
  window.SecondLog().AddReceivedLine("ZCZC ID04", false);
  EXPECT_EQ(second->PanelText(2), QStringLiteral("Niton"));
}

TEST_F(WatchWindowTest, KeepOnTheListTagsTheSelectedMessage) {
  WriteLog("GA12.txt", "2024/03/30 10:00:00", 0, {"ZCZC GA12", "NNNN"});
  WriteSettings("[Disp]\nViewLangNum=0\nViewBaseNum=0\nViewTypeNum=0\n");
  TForm1& window = ShownWindow();
  QTableWidget* list = window.Controls().ListView1;
  auto* keep = list->findChild<QAction*>(QStringLiteral("KeepAction"));
  ASSERT_NE(keep, nullptr);
  EXPECT_TRUE(list->actions().contains(keep)) << "on the list's context menu";
  EXPECT_EQ(keep->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_K));
  ClickListRow(0);
  keep->trigger();
  EXPECT_TRUE(window.Browser().Kept("GA12"));
  EXPECT_TRUE(list->item(0, 1)->font().bold());
}

}  // namespace
}  // namespace seaherald::test
