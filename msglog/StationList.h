#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace seaherald {

// One NAVTEX transmitter as the station list file gives it. Texts are ASCII.
struct NavtexStation {
  int navArea = 0;        // 1 to 21
  std::string kilohertz;  // "518", "490", "424" or "4209.5"
  char letter = 'A';      // B1, 'A' to 'X'
  std::string name;
  std::string country;
  double latitude = 0;   // degrees, north positive
  double longitude = 0;  // degrees, east positive
  std::string source;    // key of one of the list's sources
};

// A published list the stations were taken from: its key and what it is.
struct StationSource {
  std::string key;
  std::string title;
};

struct StationList {
  std::vector<StationSource> sources;
  std::vector<NavtexStation> stations;
};

inline constexpr int kNavAreaCount = 21;

// Lines "NAVAREA|kHz|B1|name|country|latitude|longitude|source", "@source KEY title", "#"
// comments and blank lines. A faulty line makes the whole list fail with "line N: what is
// wrong", so that a bad edit is never half taken.
std::variant<StationList, std::string> ParseStationList(std::string_view text);

// Reads and parses the file; the error names the file.
std::variant<StationList, std::string> LoadStationList(const std::filesystem::path& file);

// The user's own copy ("navtex-stations.txt" in `userFolder`, the settings file's folder) when
// it exists, else the first of `installed` that exists; empty when there is none.
std::filesystem::path FindStationListFile(const std::filesystem::path& userFolder,
                                          const std::vector<std::filesystem::path>& installed);

// Where an installed station list may be: "../share/seaherald/navtex-stations.txt" from the
// executable's folder, then the source tree's "data" folder for programs run where they were built.
std::vector<std::filesystem::path> InstalledStationListFiles(
    const std::filesystem::path& executable);

// "1" to "21" as the Roman numeral NAVAREAs are known by ("I" to "XXI").
std::string NavAreaNumeral(int navArea);

}  // namespace seaherald
