#include "tests/soak/SeededLogs.h"

#include <random>
#include <stdexcept>
#include <string>

#include "msglog/LogFileFormat.h"
#include "tests/support/ShiftJisText.h"

namespace seaherald::soak {

void SeedOldLogs(SoakWindow& window, SoakSchedule& schedule, std::chrono::year_month_day startDay,
                 std::uint32_t seed) {
  using namespace std::chrono;
  using testsignal::Language;
  std::mt19937 random(seed ^ 0x5eed5eedu);
  for (int back = SeededDays - 1; back >= 0; --back) {
    const year_month_day date{sys_days{startDay} - days{back}};
    for (int i = 0; i < SeededLogsPerDay; ++i) {
      const Language language = i % 2 == 0 ? Language::English : Language::Japanese;
      const std::string header = RandomHeader(language, random);
      const int errors = std::uniform_int_distribution<int>(0, 6)(random);
      const LocalDateTime savedAt{static_cast<int>(date.year()),
                                  static_cast<int>(unsigned{date.month()}),
                                  static_cast<int>(unsigned{date.day()}),
                                  6 + i % 17,
                                  i,
                                  0};
      const std::string body = language == Language::English
                                   ? std::string("STORED EARLIER.\r\n")
                                   : testsignal::Utf8ToShiftJis("受信済み\r\n");
      if (!window.Folder().WriteFile(header + ".txt", ComposeLogFile(savedAt, errors, body))) {
        throw std::runtime_error("cannot write the seeded logs");
      }
      window.Ledger().AddSeededLog(header, sys_days{date}, errors);
      if (back <= 1 && i % 5 == 0) schedule.RememberHeader(language, header);
    }
  }
}

}  // namespace seaherald::soak
