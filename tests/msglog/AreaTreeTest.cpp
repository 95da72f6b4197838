// The log tree with a chosen NAVAREA: each of the area's stations is its own node under the
// English service, with its count, its list and its delete-all; without an area the tree is the
// catalogue's.
#include <gtest/gtest.h>

#include <variant>

#include "msglog/AreaStations.h"
#include "msglog/LogBrowser.h"
#include "msglog/LogTreeLayout.h"
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
    WriteBytes(NativePath(logPath_, sjisName), LogContent("2024/03/31 12:34:56", "000", "L\r\n"));
  }
  bool Exists(const std::string& sjisName) const {
    return std::filesystem::exists(NativePath(logPath_, sjisName));
  }
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
  EXPECT_EQ(StationLabel(Station("E")), "E  Niton (1)");
  EXPECT_EQ(StationLabel(Station("G")), "G  Cullercoats (3)");
  EXPECT_EQ(StationLabel(Station("H")), "H  Bjuroklubb (1)");
  EXPECT_EQ(StationLabel(Station("K")), "K  Niton (1)");
  EXPECT_EQ(StationLabel(19), "W  Valentia (0)");
  EXPECT_EQ(StationLabel(20), Sjis("その他の局 (2)"));
  EXPECT_EQ(Station("Z"), 20);
  EXPECT_EQ(view_.treeLabels[static_cast<std::size_t>(Layout().BaseNodeIndex(1, 0))],
            Sjis("那覇 (1)"))
      << "the Japanese service keeps its stations";
  EXPECT_EQ(view_.treeLabels.back(), Sjis("その他 (0)"));

  EXPECT_EQ(Listed(0, Station("G"), 0), (std::vector<std::string>{"GA01", "GA02"}));
  EXPECT_EQ(Listed(0, Station("G"), 3), std::vector<std::string>{"GD03"});
  EXPECT_EQ(Listed(0, Station("K"), 0), std::vector<std::string>{"KA06"});
  EXPECT_EQ(Listed(0, 20, 0), (std::vector<std::string>{"XA08", "ZA07"}));
  EXPECT_EQ(Listed(1, 0, 0), std::vector<std::string>{Sjis("ＧＡ１２３")});

  Listed(0, Station("G"), 0);
  browser_.DeleteAllOfSelection();
  EXPECT_EQ(dialogs_.questions.back(),
            Sjis("英文、基地局（G  Cullercoats）、Navigational warningsの全てのログを削除します\n"
                 "よろしいですか？"));
  EXPECT_FALSE(Exists("GA01.txt"));
  EXPECT_FALSE(Exists("GA02.txt"));
  for (const char* name : {"GD03.txt", "HA04.txt", "EA05.txt", "KA06.txt", "ZA07.txt", "XA08.txt"})
    EXPECT_TRUE(Exists(name)) << name;
  EXPECT_TRUE(Exists(Sjis("ＧＡ１２３.txt")));
  EXPECT_EQ(StationLabel(Station("G")), "G  Cullercoats (1)");
  EXPECT_TRUE(view_.rows.empty());
}

TEST_F(AreaTreeTest, ChangingTheAreaKeepsTheSelectedStationAndNoAreaKeepsTheCatalogueTree) {
  Store("GA01.txt");
  Store("QA02.txt");
  settings_.ViewLangNum = settings_.ViewBaseNum = settings_.ViewTypeNum = 0;  // Naha's A
  browser_.Start();
  const std::vector<std::string> catalogueTree = view_.treeLabels;
  ASSERT_EQ(catalogueTree.size(), 182u);
  EXPECT_EQ(catalogueTree[1], Sjis("那覇 (1)"));
  EXPECT_EQ(view_.selectedNode, 2);

  area_ = Area(1);
  browser_.LogFileCreated();  // as after filing: the tree takes the area's shape
  EXPECT_EQ(settings_.ViewBaseNum, Station("G")) << "the selection keeps its letter";
  EXPECT_EQ(view_.selectedNode, Layout().TypeNodeIndex(0, Station("G"), 0));
  ASSERT_EQ(view_.rows.size(), 1u);
  EXPECT_EQ(view_.rows[0].ColumnText(1), "GA01");
  EXPECT_EQ(StationLabel(Station("Q")), "Q  Malin Head (1)");

  area_ = AreaStations();
  browser_.RebuildLogTree();
  EXPECT_EQ(view_.treeShape, (std::vector<int>{6, 6}));
  EXPECT_EQ(view_.treeLabels, catalogueTree);
  EXPECT_EQ(settings_.ViewBaseNum, 0);
  EXPECT_EQ(view_.selectedNode, 2);
}

TEST(LogTreeLayout, EveryNodeIndexLeadsBackToItsNode) {
  const AreaStations northSea = Area(1);
  for (const LogTreeLayout& layout : {LogTreeLayout(), LogTreeLayout(&northSea)}) {
    for (int index = 0; index < layout.NodeCount(); ++index) {
      const std::optional<TreeNodePosition> node = layout.NodeAt(index);
      ASSERT_TRUE(node) << index;
      const int back = node->IsTypeLeaf() ? layout.TypeNodeIndex(node->lang, node->base, node->type)
                       : node->base >= 0  ? layout.BaseNodeIndex(node->lang, node->base)
                                          : layout.LangNodeIndex(node->lang);
      EXPECT_EQ(back, index);
      if (layout == LogTreeLayout()) {
        EXPECT_EQ(node, Catalogue::TreeNodeAt(index));
      }
    }
    EXPECT_FALSE(layout.NodeAt(layout.NodeCount()));
    EXPECT_FALSE(layout.NodeAt(-1));
  }
  EXPECT_EQ(LogTreeLayout(&northSea).NodeCount(), 1 + 21 * 15 + 91);
}

}  // namespace
}  // namespace seaherald
