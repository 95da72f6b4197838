// The log tree with a chosen NAVAREA: each of the area's stations is its own node under the
// English service, with its count, its list and its delete-all; without an area the tree is the
// catalogue's.
#include <gtest/gtest.h>

#include <variant>

#include "msglog/AreaStations.h"
#include "msglog/LogBrowser.h"
#include "msglog/StationList.h"
#include "tests/msglog/MsglogFakes.h"

namespace seaherald {
namespace {

using testing::FakeBrowserView;
using testing::FakeClock;
using testing::FakeDialogs;
using testing::LogContent;
using testing::NativePath;
using testing::Sjis;
using testing::TempFolder;
using testing::WriteBytes;

AreaStations Area(int navArea) {
  auto loaded = LoadStationList(SEAHERALD_STATION_LIST);
  if (auto* problem = std::get_if<std::string>(&loaded)) ADD_FAILURE() << *problem;
  const auto* list = std::get_if<StationList>(&loaded);
  return list ? AreaStations(*list, {navArea, "518"}) : AreaStations();
}

class AreaTreeTest : public ::testing::Test {
 protected:
  void SetUp() override { browser_.SetArea(&area_); }
  void Store(const std::string& sjisName) {
    std::filesystem::create_directories(logPath_);
    WriteBytes(Path(sjisName), LogContent("2024/03/31 12:34:56", "000", "L\r\n"));
  }
  std::filesystem::path Path(const std::string& sjisName) { return NativePath(logPath_, sjisName); }
  const LogTreeLayout& Layout() const { return browser_.TreeLayout(); }
  int Station(const std::string& letter) const { return Layout().BaseOfLetter(0, letter); }
  const std::string& StationLabel(int base) const {
    return view_.treeLabels.at(static_cast<std::size_t>(Layout().BaseNodeIndex(0, base)));
  }
  std::vector<std::string> Listed(int lang, int base, int type) {
    browser_.TreeNodeClicked(Layout().TypeNodeIndex(lang, base, type));
    std::vector<std::string> headers;
    for (const ListRow& row : view_.rows)
      headers.push_back(row.ColumnText(1));
    return headers;
  }

  TempFolder temp_;
  std::filesystem::path logPath_ = temp_.Path() / "log";
  Settings settings_;
  FakeClock clock_;
  FakeBrowserView view_;
  FakeDialogs dialogs_;
  LogFolder folder_{logPath_};
  AreaStations area_;
  LogBrowser browser_{settings_, clock_, folder_, view_, dialogs_};
};

TEST_F(AreaTreeTest, EachStationOfNavAreaOneCountsListsAndDeletesItsOwnMessages) {
  for (const char* name : {"GA01.txt", "GA02.txt", "GD03.txt", "HA04.txt", "EA05.txt", "KA06.txt",
                           "ZA07.txt", "XA08.txt"})
    Store(name);
  Store(Sjis("ＧＡ１２３.txt"));
  area_ = Area(1);
  browser_.Start();

  // Twenty letters on 518 kHz in NAVAREA I, and the node of every other letter.
  ASSERT_EQ(view_.treeShape, (std::vector<int>{21, 6}));
  ASSERT_EQ(view_.treeLabels.size(), 1u + 21 * 15 + 91);
  EXPECT_EQ(view_.treeLabels[0], Sjis("英文 (8)"));
  EXPECT_EQ(StationLabel(0), "B  Bodo (0)");
  EXPECT_EQ(StationLabel(Station("G")), "G  Cullercoats (3)");
  EXPECT_EQ(StationLabel(Station("K")), "K  Niton (1)");
  EXPECT_EQ(StationLabel(20), Sjis("その他の局 (2)"));
  EXPECT_EQ(view_.treeLabels[static_cast<std::size_t>(Layout().BaseNodeIndex(1, 0))],
            Sjis("那覇 (1)"))
      << "the Japanese service keeps its stations";

  EXPECT_EQ(Listed(0, Station("G"), 3), std::vector<std::string>{"GD03"});
  EXPECT_EQ(Listed(0, Station("E"), 0), std::vector<std::string>{"EA05"});
  EXPECT_EQ(Listed(0, 20, 0), (std::vector<std::string>{"XA08", "ZA07"}));
  EXPECT_EQ(Listed(1, 0, 0), std::vector<std::string>{Sjis("ＧＡ１２３")});

  EXPECT_EQ(Listed(0, Station("G"), 0), (std::vector<std::string>{"GA01", "GA02"}));
  browser_.DeleteAllOfSelection();
  EXPECT_EQ(dialogs_.questions.back(),
            Sjis("英文、基地局（G  Cullercoats）、Navigational warningsの全てのログを削除します\n"
                 "よろしいですか？"));
  for (const std::string name : {"GA01", "GA02", "GD03", "HA04", "KA06", "XA08", "ＧＡ１２３"})
    EXPECT_EQ(std::filesystem::exists(Path(Sjis(name + ".txt"))), !name.starts_with("GA")) << name;
  EXPECT_EQ(StationLabel(Station("G")), "G  Cullercoats (1)");
}

TEST_F(AreaTreeTest, ChangingTheAreaKeepsTheSelectedStationAndNoAreaKeepsTheCatalogueTree) {
  Store("GA01.txt");
  Store("QA02.txt");
  settings_.ViewLangNum = settings_.ViewBaseNum = settings_.ViewTypeNum = 0;  // Naha's A
  browser_.Start();
  const std::vector<std::string> catalogueTree = view_.treeLabels;
  ASSERT_EQ(catalogueTree.size(), 182u);

  area_ = Area(1);
  browser_.LogFileCreated();  // as after filing: the tree takes the area's shape
  EXPECT_EQ(settings_.ViewBaseNum, Station("G")) << "the selection keeps its letter";
  EXPECT_EQ(view_.selectedNode, Layout().TypeNodeIndex(0, Station("G"), 0));
  EXPECT_EQ(view_.rows.at(0).ColumnText(1), "GA01");

  area_ = AreaStations();
  browser_.RebuildLogTree();
  EXPECT_EQ(view_.treeShape, (std::vector<int>{6, 6}));
  EXPECT_EQ(view_.treeLabels, catalogueTree);
  EXPECT_EQ(view_.selectedNode, 2) << "back on Naha's A";
}

}  // namespace
}  // namespace seaherald
