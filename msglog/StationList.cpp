#include "msglog/StationList.h"

#include <array>
#include <charconv>
#include <cmath>
#include <fstream>
#include <iterator>
#include <sstream>

namespace seaherald {
namespace {

constexpr std::array<std::string_view, 4> kFrequencies{"518", "490", "424", "4209.5"};
constexpr std::size_t kFieldCount = 8;

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

std::vector<std::string_view> Split(std::string_view line, char separator) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  for (std::size_t bar = line.find(separator); bar != std::string_view::npos;
       bar = line.find(separator, start)) {
    fields.push_back(Trim(line.substr(start, bar - start)));
    start = bar + 1;
  }
  fields.push_back(Trim(line.substr(start)));
  return fields;
}

bool IsPrintableAscii(std::string_view text) {
  for (const char c : text) {
    if (c < 0x20 || c > 0x7E) return false;
  }
  return true;
}

template <typename Number>
bool ParseWhole(std::string_view text, Number& value) {
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  return !text.empty() && error == std::errc() && stop == end;
}

// Returns what is wrong with the fields, empty when the station was filled in.
std::string ParseStation(const std::vector<std::string_view>& f, NavtexStation& station) {
  if (f.size() != kFieldCount) {
    return "expected 8 fields separated by |, found " + std::to_string(f.size());
  }
  if (!ParseWhole(f[0], station.navArea) || station.navArea < 1 ||
      station.navArea > kNavAreaCount) {
    return "NAVAREA must be 1 to 21, not '" + std::string(f[0]) + "'";
  }
  bool known = false;
  for (const std::string_view khz : kFrequencies)
    known = known || f[1] == khz;
  if (!known) return "frequency must be 518, 490, 424 or 4209.5, not '" + std::string(f[1]) + "'";
  station.kilohertz = std::string(f[1]);
  if (f[2].size() != 1 || f[2][0] < 'A' || f[2][0] > 'X') {
    return "B1 must be one letter A to X, not '" + std::string(f[2]) + "'";
  }
  station.letter = f[2][0];
  for (std::size_t i : {3u, 4u, 7u}) {
    if (f[i].empty() || !IsPrintableAscii(f[i])) {
      return "name, country and source must be printable ASCII and not empty";
    }
  }
  station.name = std::string(f[3]);
  station.country = std::string(f[4]);
  // Written as "not within" so that "nan", which from_chars reads, is refused too.
  if (!ParseWhole(f[5], station.latitude) || !(std::abs(station.latitude) <= 90.0)) {
    return "latitude must be degrees from -90 to 90, not '" + std::string(f[5]) + "'";
  }
  if (!ParseWhole(f[6], station.longitude) || !(std::abs(station.longitude) <= 180.0)) {
    return "longitude must be degrees from -180 to 180, not '" + std::string(f[6]) + "'";
  }
  station.source = std::string(f[7]);
  return {};
}

bool HasSource(const StationList& list, std::string_view key) {
  for (const StationSource& source : list.sources) {
    if (source.key == key) return true;
  }
  return false;
}

}  // namespace

std::variant<StationList, std::string> ParseStationList(std::string_view text) {
  // Editors on some systems begin a UTF-8 file with a byte order mark.
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  StationList list;
  std::vector<std::size_t> stationLines;
  std::size_t lineNumber = 0;
  while (!text.empty()) {
    ++lineNumber;
    const std::size_t end = text.find('\n');
    const std::string_view line = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    const std::string where = "line " + std::to_string(lineNumber) + ": ";
    if (line.empty() || line[0] == '#') continue;
    if (line.starts_with("@source")) {
      const std::string_view rest = Trim(line.substr(7));
      const std::size_t space = rest.find(' ');
      if (space == std::string_view::npos || !IsPrintableAscii(rest)) {
        return where + "a source needs a key and a title in ASCII";
      }
      list.sources.push_back(
          {std::string(rest.substr(0, space)), std::string(Trim(rest.substr(space + 1)))});
      continue;
    }
    NavtexStation station;
    if (std::string problem = ParseStation(Split(line, '|'), station); !problem.empty()) {
      return where + problem;
    }
    list.stations.push_back(std::move(station));
    stationLines.push_back(lineNumber);
  }
  // Sources may follow the stations that name them, so they are checked at the end.
  for (std::size_t i = 0; i < list.stations.size(); ++i) {
    if (!HasSource(list, list.stations[i].source)) {
      return "line " + std::to_string(stationLines[i]) + ": source '" + list.stations[i].source +
             "' has no @source line";
    }
  }
  return list;
}

std::variant<StationList, std::string> LoadStationList(const std::filesystem::path& file) {
  const std::string cannotRead = "cannot read the station list '" + file.string() + "'";
  std::error_code error;
  // A folder opens as a stream but throws once read.
  if (std::filesystem::is_directory(file, error)) return cannotRead + ": it is a folder";
  std::ifstream in(file, std::ios::binary);
  if (!in) return cannotRead;
  std::string text;
  try {
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  } catch (const std::ios_base::failure&) {
    return cannotRead;
  }
  auto parsed = ParseStationList(text);
  if (auto* problem = std::get_if<std::string>(&parsed)) {
    return "station list '" + file.string() + "', " + *problem;
  }
  return parsed;
}

std::filesystem::path FindStationListFile(const std::filesystem::path& userFolder,
                                          const std::vector<std::filesystem::path>& installed) {
  std::error_code ignored;
  const auto own = userFolder / "navtex-stations.txt";
  if (!userFolder.empty() && std::filesystem::is_regular_file(own, ignored)) return own;
  for (const auto& candidate : installed) {
    if (std::filesystem::is_regular_file(candidate, ignored)) return candidate;
  }
  return {};
}

std::vector<std::filesystem::path> InstalledStationListFiles(
    const std::filesystem::path& executable) {
  const std::filesystem::path name = "navtex-stations.txt";
  return {executable.parent_path() / ".." / "share" / "seaherald" / name,
          std::filesystem::path(SEAHERALD_SOURCE_DATA) / name};
}

std::string NavAreaNumeral(int navArea) {
  static constexpr std::array<std::string_view, kNavAreaCount> kNumerals{
      "I",   "II",   "III", "IV", "V",   "VI",   "VII",   "VIII", "IX", "X",  "XI",
      "XII", "XIII", "XIV", "XV", "XVI", "XVII", "XVIII", "XIX",  "XX", "XXI"};
  if (navArea < 1 || navArea > kNavAreaCount) return std::to_string(navArea);
  return std::string(kNumerals[navArea - 1]);
}

}  // namespace seaherald
