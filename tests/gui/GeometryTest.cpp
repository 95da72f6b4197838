#include <QApplication>
#include <QHeaderView>
#include <QSplitter>
#include <QTableWidget>
#include <QTest>

#include "WindowFixture.h"
#include "app/LogBrowserWidgets.h"
#include "app/SettingsFile.h"

namespace seaherald::test {
namespace {

class GeometryTest : public WindowTest {
 protected:
  Settings CloseAndReload() {
    window_->close();
    return LoadSettings(paths_.settingsFile);
  }
};

TEST_F(GeometryTest, StoredGeometryIsRestoredAndSavedBack) {
  WriteSettings("[Form]\nMainTop=40\nMainLeft=30\nMainWidth=800\nMainHeight=600\nMainMaxmum=0\n");
  TForm1& window = ShownWindow();
  EXPECT_EQ(window.frameGeometry(), QRect(30, 40, 800, 600));
  window.move(60, 70);
  window.resize(QSize(900, 650) - (window.frameGeometry().size() - window.size()));
  const Settings saved = CloseAndReload();
  EXPECT_EQ(saved.MainLeft, 60);
  EXPECT_EQ(saved.MainTop, 70);
  EXPECT_EQ(saved.MainWidth, 900);
  EXPECT_EQ(saved.MainHeight, 650);
  EXPECT_FALSE(saved.MainMaxmum);
}

TEST_F(GeometryTest, FirstCloseWritesDefaultsAndTheWindowPlace) {
  ShownWindow();
  const Settings saved = CloseAndReload();
  Settings expected;
  EXPECT_EQ(saved, expected);
  EXPECT_TRUE(std::filesystem::exists(paths_.settingsFile));
}

TEST_F(GeometryTest, MaximisedWindowKeepsItsNormalGeometry) {
  WriteSettings("[Form]\nMainTop=40\nMainLeft=30\nMainWidth=800\nMainHeight=600\nMainMaxmum=1\n");
  TForm1& window = ShownWindow();
  EXPECT_TRUE(window.isMaximized());
  const Settings saved = CloseAndReload();
  EXPECT_TRUE(saved.MainMaxmum);
  EXPECT_EQ(saved.MainLeft, 30);
  EXPECT_EQ(saved.MainTop, 40);
  EXPECT_EQ(saved.MainWidth, 800);
  EXPECT_EQ(saved.MainHeight, 600);
}

TEST_F(GeometryTest, ActivationInNormalStateRecordsTheGeometry) {
  TForm1& window = ShownWindow();
  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  window.move(10, 20);
  window.resize(QSize(720, 540) - (window.frameGeometry().size() - window.size()));
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  window.move(200, 200);  // changes made while another window is active are not recorded
  window.showMaximized();
  QCoreApplication::processEvents();
  const Settings saved = CloseAndReload();
  EXPECT_TRUE(saved.MainMaxmum);
  EXPECT_EQ(saved.MainLeft, 10);
  EXPECT_EQ(saved.MainTop, 20);
  EXPECT_EQ(saved.MainWidth, 720);
  EXPECT_EQ(saved.MainHeight, 540);
}

TEST_F(GeometryTest, ColumnWidthsAndPaneSizesAreSavedAsTheUserLeftThem) {
  TForm1& window = ShownWindow();
  const MainControls& c = window.Controls();
  c.ListView1->horizontalHeader()->resizeSection(2, 260);
  c.Splitter1->setSizes({310, c.Splitter1->width() - 310});
  c.Splitter2->setSizes({190, c.Splitter2->height() - 190});
  const Settings saved = CloseAndReload();
  EXPECT_EQ(saved.ColumnsWidth2, 260);
  EXPECT_EQ(saved.PanelWidth, 310);
  EXPECT_EQ(saved.PanelHeight, 190);
  EXPECT_EQ(saved.ColumnsWidth0, 120);
}

TEST_F(GeometryTest, PanesKeepTheirSizeWhenTheWindowGrows) {
  TForm1& window = ShownWindow();
  window.resize(1100, 800);
  EXPECT_EQ(window.Controls().Panel4->width(), 240);
  EXPECT_EQ(window.Controls().ListView1->height(), 160);
}

TEST_F(GeometryTest, ClosingDeletesOldLogsFirstWhenAutomaticDeletionIsOn) {
  WriteLog("GA01.txt", "2024/02/01 10:00:00", 0, {"x"});
  WriteLog("GA02.txt", "2024/03/30 10:00:00", 0, {"x"});
  ShownWindow();
  Window().SettingsRecord().AutoLogDelete = true;
  CloseAndReload();
  EXPECT_FALSE(LogExists("GA01.txt"));
  EXPECT_TRUE(LogExists("GA02.txt"));
}

TEST_F(GeometryTest, StartUpDeletesOldLogsWhenAutomaticDeletionIsOn) {
  WriteSettings("[Set]\nAutoLogDelete=1\nDeleteDay=30\n");
  WriteLog("GA01.txt", "2024/02/29 23:59:59", 0, {"x"});  // before 1 March: deleted
  WriteLog("GA02.txt", "2024/03/01 00:00:00", 0, {"x"});  // on the limit date: kept
  Window();
  EXPECT_FALSE(LogExists("GA01.txt"));
  EXPECT_TRUE(LogExists("GA02.txt"));
}

TEST_F(GeometryTest, UnwritableSettingsFileIsReportedWithItsPath) {
  ShownWindow();
  std::filesystem::create_directory(paths_.settingsFile);  // a folder where the file should go
  window_->close();
  ASSERT_EQ(dialogs_.errors.size(), 1u);
  EXPECT_EQ(dialogs_.errors[0], paths_.settingsFile.string() + Sjis(" に書き込めません"));
  EXPECT_EQ(dialogs_.beeps, 1);
}

}  // namespace
}  // namespace seaherald::test
