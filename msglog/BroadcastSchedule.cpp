#include "msglog/BroadcastSchedule.h"

#include <algorithm>
#include <cstdio>

namespace seaherald {
namespace {

constexpr int kMinutesPerDay = 24 * 60;
constexpr int kSlotMinutes = 10;
constexpr int kCycleMinutes = 4 * 60;

std::string Hhmm(int minutes) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d%02d", minutes / 60, minutes % 60);
  return text;
}

std::string Times(std::vector<int> minutes) {
  std::sort(minutes.begin(), minutes.end());
  std::string text;
  for (const int m : minutes)
    text.append(text.empty() ? "" : " ").append(Hhmm(m));
  return text;
}

std::string Padded(std::string text, std::size_t width) {
  text.resize(std::max(width, text.size()), ' ');
  return text;
}

std::string Offset(int minutes) {
  char text[16];
  const int magnitude = std::abs(minutes);
  std::snprintf(text, sizeof text, "UTC%c%02d:%02d", minutes < 0 ? '-' : '+', magnitude / 60,
                magnitude % 60);
  return text;
}

}  // namespace

std::vector<int> SlotMinutesUtc(char letter) {
  std::vector<int> slots;
  if (letter < 'A' || letter > 'X') return slots;
  for (int start = (letter - 'A') * kSlotMinutes; start < kMinutesPerDay; start += kCycleMinutes)
    slots.push_back(start);
  return slots;
}

std::string ScheduleText(const AreaStations& area, int utcOffsetMinutes) {
  const AreaChoice& choice = area.Choice();
  std::string text = "NAVAREA " + NavAreaNumeral(choice.navArea) + ", " + choice.kilohertz +
                     " kHz: " + std::to_string(area.Stations().size()) + " station(s)\n";
  std::size_t nameWidth = 7;
  std::size_t countryWidth = 7;
  for (const NavtexStation& s : area.Stations()) {
    nameWidth = std::max(nameWidth, s.name.size());
    countryWidth = std::max(countryWidth, s.country.size());
  }
  constexpr std::size_t kTimesWidth = 6 * 5 - 1;
  text += "B1  " + Padded("Station", nameWidth) + "  " + Padded("Country", countryWidth) + "  " +
          Padded("UTC", kTimesWidth) + "  Local (" + Offset(utcOffsetMinutes) + ")\n";
  for (const NavtexStation& s : area.Stations()) {
    const std::vector<int> utc = SlotMinutesUtc(s.letter);
    std::vector<int> local;
    for (const int m : utc)
      local.push_back(((m + utcOffsetMinutes) % kMinutesPerDay + kMinutesPerDay) % kMinutesPerDay);
    text += std::string(1, s.letter) + "   " + Padded(s.name, nameWidth) + "  " +
            Padded(s.country, countryWidth) + "  " + Times(utc) + "  " + Times(local) + "\n";
  }
  return text;
}

}  // namespace seaherald
