#include "msglog/BroadcastSchedule.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

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
  const bool localIsUtc = utcOffsetMinutes == 0;
  text += localIsUtc
              ? "Broadcast times in UTC, the local time here:\n"
              : "Broadcast times in UTC and in local time (" + Offset(utcOffsetMinutes) + "):\n";
  // The name has a line of its own and the times come under it, so that a long name neither
  // pushes the times out of their columns nor makes the lines too wide for a small window.
  for (const NavtexStation& s : area.Stations()) {
    const std::vector<int> utc = SlotMinutesUtc(s.letter);
    text += std::string(1, s.letter) + "   " + s.name + ", " + s.country + "\n";
    text += "    UTC    " + Times(utc) + "\n";
    if (localIsUtc) continue;
    std::vector<int> local;
    for (const int m : utc)
      local.push_back(((m + utcOffsetMinutes) % kMinutesPerDay + kMinutesPerDay) % kMinutesPerDay);
    text += "    Local  " + Times(local) + "\n";
  }
  return text;
}

}  // namespace seaherald
