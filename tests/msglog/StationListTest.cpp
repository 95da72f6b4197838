// The station list that ships with the program, its file format, and the names, selection and
// schedule built on it.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <numbers>
#include <sstream>
#include <tuple>
#include <variant>

#include "msglog/AreaStations.h"
#include "msglog/BroadcastSchedule.h"
#include "msglog/MessageSelection.h"
#include "msglog/StationList.h"
#include "tests/msglog/MsglogFakes.h"

namespace seaherald {
namespace {

using testing::Sjis;

StationList Shipped() {
  auto loaded = LoadStationList(SEAHERALD_STATION_LIST);
  if (auto* problem = std::get_if<std::string>(&loaded)) ADD_FAILURE() << *problem;
  return std::get_if<StationList>(&loaded) ? std::get<StationList>(loaded) : StationList{};
}

double DistanceKm(const NavtexStation& a, const NavtexStation& b) {
  constexpr double kEarthKm = 6371.0;
  const double r = std::numbers::pi / 180.0;
  const double h = std::pow(std::sin((b.latitude - a.latitude) * r / 2), 2) +
                   std::cos(a.latitude * r) * std::cos(b.latitude * r) *
                       std::pow(std::sin((b.longitude - a.longitude) * r / 2), 2);
  return 2 * kEarthKm * std::asin(std::sqrt(h));
}

// Latitude and longitude ranges that enclose each NAVAREA with a little room; a station outside
// its area's box is in the wrong area or has a sign wrong.
struct Box {
  double south, north, west, east;
};
const std::map<int, Box> kNavAreaBoxes{
    {1, {48, 80, -40, 35}},    {2, {-7, 48.6, -36, 0}},    {3, {29, 47.5, -6, 42}},
    {4, {7, 68, -100, -35}},   {5, {-36, 7, -56, -20}},    {6, {-61, -33, -70, -20}},
    {7, {-61, -5, 0, 56}},     {8, {-31, 31, 54, 96}},     {9, {10, 32, 32, 68}},
    {10, {-56, 0, 89, 171}},   {11, {-13, 51, 94, 180}},   {12, {0, 68, -180, -110}},
    {13, {40, 68, 126, 180}},  {15, {-61, -18, -81, -66}}, {16, {-19, 4, -83, -70}},
    {18, {60, 90, -170, -30}}, {19, {65, 90, -10, 40}},
};

TEST(StationList, ShippedListIsSourcedAndEveryPositionIsInItsNavArea) {
  const StationList list = Shipped();
  ASSERT_GT(list.stations.size(), 80u);
  std::map<std::string, int> used;
  for (const NavtexStation& s : list.stations) {
    ++used[s.source];
    const auto box = kNavAreaBoxes.find(s.navArea);
    ASSERT_NE(box, kNavAreaBoxes.end()) << s.name << ": no box for NAVAREA " << s.navArea;
    EXPECT_TRUE(s.latitude >= box->second.south && s.latitude <= box->second.north &&
                s.longitude >= box->second.west && s.longitude <= box->second.east)
        << s.name << " (" << s.latitude << ", " << s.longitude << ") outside NAVAREA "
        << NavAreaNumeral(s.navArea);
  }
  for (const StationSource& source : list.sources)
    EXPECT_GT(used[source.key], 0) << "source " << source.key << " names no station";
}

TEST(StationList, ShippedLettersAreUniqueWithinHearingPerAreaAndFrequency) {
  const StationList list = Shipped();
  // Two transmitters may share a letter only where no receiver hears both: NAVTEX reaches about
  // 400 nautical miles, so they must stand at least twice that apart.
  constexpr double kTwiceRangeKm = 2 * 400 * 1.852;
  for (std::size_t i = 0; i < list.stations.size(); ++i) {
    for (std::size_t j = i + 1; j < list.stations.size(); ++j) {
      const NavtexStation& a = list.stations[i];
      const NavtexStation& b = list.stations[j];
      if (std::tie(a.navArea, a.kilohertz, a.letter) != std::tie(b.navArea, b.kilohertz, b.letter))
        continue;
      EXPECT_GT(DistanceKm(a, b), kTwiceRangeKm)
          << a.name << " and " << b.name << " share " << a.letter << " within hearing";
    }
  }
}

TEST(StationList, FaultyLinesAreRejectedWithTheirNumber) {
  const std::string head = "@source S a list\n# comment\n\n";
  const std::string good = "1|518|G|Cullercoats|United Kingdom|55.07|-1.46|S\n";
  ASSERT_TRUE(std::holds_alternative<StationList>(ParseStationList(head + good)));
  const std::vector<std::pair<std::string, std::string>> cases{
      {"1|518|G|Cullercoats|United Kingdom|55.07|-1.46\n", "8 fields"},
      {"22|518|G|X|Y|0|0|S\n", "NAVAREA"},
      {"1|500|G|X|Y|0|0|S\n", "frequency"},
      {"1|518|Y|X|Y|0|0|S\n", "B1"},
      {"1|518|g|X|Y|0|0|S\n", "B1"},
      {"1|518|G|X|Y|91|0|S\n", "latitude"},
      {"1|518|G|X|Y|0|east|S\n", "longitude"},
      {"1|518|G|X|Y|nan|0|S\n", "latitude"},
      {"1|518|G|X|Y|0|-nan|S\n", "longitude"},
      {"1|518|G|Bod\xc3\xb8|Y|0|0|S\n", "ASCII"},
      {"1|518|G|X|Y|0|0|T\n", "source 'T'"},
  };
  for (const auto& [line, what] : cases) {
    const auto parsed = ParseStationList(head + good + line);
    const auto* problem = std::get_if<std::string>(&parsed);
    ASSERT_NE(problem, nullptr) << line;
    EXPECT_TRUE(problem->starts_with("line 5: ")) << *problem;
    EXPECT_NE(problem->find(what), std::string::npos) << *problem;
  }
  const auto missing = LoadStationList("/nonexistent/navtex-stations.txt");
  ASSERT_TRUE(std::holds_alternative<std::string>(missing));
  // A file saved with a byte order mark, and a folder given by mistake.
  EXPECT_TRUE(std::holds_alternative<StationList>(ParseStationList("\xEF\xBB\xBF" + head + good)));
  const auto folder = LoadStationList(std::filesystem::path(SEAHERALD_STATION_LIST).parent_path());
  ASSERT_TRUE(std::holds_alternative<std::string>(folder));
  EXPECT_NE(std::get<std::string>(folder).find("cannot read"), std::string::npos);
}

TEST(AreaStations, NamesEnglishMessagesFromTheChosenAreaOnly) {
  const StationList list = Shipped();
  const AreaStations none;
  EXPECT_EQ(none.NameOf(0, "G", 0), "Naha");
  const AreaStations northSea(list, {1, "518"});
  EXPECT_EQ(northSea.NameOf(0, "G", 0), "Cullercoats");
  EXPECT_EQ(northSea.NameOf(0, "G", 1), "Cullercoats") << "the list's name in either language";
  EXPECT_EQ(northSea.NameOf(0, "Z", 0), "Another");
  EXPECT_EQ(northSea.NameOf(0, "Z", 1), Sjis("その他"));
  EXPECT_EQ(northSea.NameOf(1, Sjis("Ｇ"), 1), Sjis("那覇"))
      << "the Japanese service keeps its names";
  const AreaStations national(list, {1, "490"});
  EXPECT_EQ(national.NameOf(0, "U", 0), "Cullercoats");
  EXPECT_EQ(national.NameOf(0, "G", 0), "Another");
  const AreaStations eastAsia(list, {11, "518"});
  EXPECT_EQ(eastAsia.NameOf(0, "V", 0), "Chukpyun / Guam");
  for (std::size_t i = 1; i < eastAsia.Stations().size(); ++i)
    EXPECT_LE(eastAsia.Stations()[i - 1].letter, eastAsia.Stations()[i].letter);
}

TEST(BroadcastSchedule, FourHourlySlotsAndAlignedColumns) {
  EXPECT_EQ(SlotMinutesUtc('A'), (std::vector<int>{0, 240, 480, 720, 960, 1200}));
  EXPECT_EQ(SlotMinutesUtc('G'), (std::vector<int>{60, 300, 540, 780, 1020, 1260}));
  EXPECT_EQ(SlotMinutesUtc('X').back(), 23 * 60 + 50);
  EXPECT_TRUE(SlotMinutesUtc('Y').empty());

  StationList list;
  list.stations = {{1, "518", 'G', "Cullercoats", "United Kingdom", 55, -1, "S"},
                   {1, "518", 'K', "Niton (for the French Channel coast)", "UK", 50, -1, "S"}};
  const AreaStations area(list, {1, "518"});
  const auto rows = [](const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
      lines.push_back(line);
    return lines;
  };

  const std::vector<std::string> east = rows(ScheduleText(area, 9 * 60));
  ASSERT_EQ(east.size(), 8u);
  EXPECT_EQ(east[0], "NAVAREA I, 518 kHz: 2 station(s)");
  EXPECT_NE(east[1].find("UTC+09:00"), std::string::npos);
  EXPECT_EQ(east[2], "G   Cullercoats, United Kingdom");
  EXPECT_EQ(east[5], "K   Niton (for the French Channel coast), UK");
  // The times keep one column whatever the names, in lines that fit the default window.
  const std::size_t column = east[3].find("0100 0500 0900 1300 1700 2100");
  EXPECT_NE(column, std::string::npos);
  EXPECT_EQ(east[6].find("0140 0540"), column);
  // 01:00 UTC is 10:00 at UTC+9; local times are listed from midnight.
  EXPECT_EQ(east[4].find("0200 0600 1000 1400 1800 2200"), column) << east[4];
  for (const std::string& line : {east[1], east[3], east[4], east[6], east[7]})
    EXPECT_LE(line.size(), 60u) << line;

  // West of Greenwich the slots cross midnight backwards; at UTC itself one row says it all.
  const std::vector<std::string> west = rows(ScheduleText(area, -(3 * 60 + 30)));
  ASSERT_EQ(west.size(), 8u);
  EXPECT_TRUE(west[1].ends_with("(UTC-03:30):"));
  EXPECT_EQ(west[4].substr(column), "0130 0530 0930 1330 1730 2130");
  const std::vector<std::string> utc = rows(ScheduleText(area, 0));
  ASSERT_EQ(utc.size(), 6u);
  EXPECT_EQ(utc[5].substr(column), "0140 0540 0940 1340 1740 2140");
}

TEST(MessageSelection, MandatoryTypesAndSerialZeroAreAlwaysTaken) {
  const MessageSelection all;
  EXPECT_TRUE(all.Takes("GE12"));
  const MessageSelection chosen{"GK", "E"};
  EXPECT_TRUE(chosen.Takes("GE12"));
  EXPECT_FALSE(chosen.Takes("GC12")) << "type not chosen";
  EXPECT_FALSE(chosen.Takes("OE12")) << "station not chosen";
  for (const char* mandatory : {"KA01", "KB01", "KD01", "KL01"})
    EXPECT_TRUE(chosen.Takes(mandatory));
  EXPECT_FALSE(chosen.Takes("OD01")) << "the station choice holds for every type";
  EXPECT_TRUE(chosen.Takes("GC00")) << "serial 00 whatever the types";
  EXPECT_FALSE(chosen.Takes("OC00")) << "but only from the stations chosen";
  EXPECT_FALSE(chosen.Takes(Sjis("ＧＣ１２３")));
  EXPECT_TRUE(chosen.Takes(Sjis("ＧＥ１２３")));
  EXPECT_TRUE(chosen.Takes(Sjis("ＧＣ０００")));

  EXPECT_TRUE(RaisesAlarm("GD05", ""));
  EXPECT_TRUE(RaisesAlarm(Sjis("ＧＤ００５"), ""));
  EXPECT_FALSE(RaisesAlarm("GB05", ""));
  EXPECT_TRUE(RaisesAlarm("GB05", "BL"));

  EXPECT_EQ(ParseLetterSet("g, e o"), "EGO");
  EXPECT_EQ(ParseLetterSet("EE"), "E");
  EXPECT_EQ(ParseLetterSet(""), "");
  EXPECT_FALSE(ParseLetterSet("G1"));
}

}  // namespace
}  // namespace seaherald
