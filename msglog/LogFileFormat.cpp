#include "msglog/LogFileFormat.h"

#include <climits>
#include <cstdio>

namespace seaherald {
namespace {

bool IsLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool IsTrailByte(unsigned char byte) {
  return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

}  // namespace

std::string FormatStamp(const LocalDateTime& time) {
  char text[64];
  std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", time.year, time.month, time.day,
                time.hour, time.minute, time.second);
  return text;
}

std::string ComposeLogFile(const LocalDateTime& savedAt, int errorCount, std::string_view body) {
  char count[32];
  std::snprintf(count, sizeof count, "%03d", errorCount);
  std::string content;
  content.reserve(64 + body.size());
  content.append("Last received ").append(FormatStamp(savedAt)).append("\r\n");
  content.append("Detected ").append(count).append(" error\r\n");
  content.append("-\r\n");
  content.append(body);
  return content;
}

int ParseCount(std::string_view chars) {
  long long value = 0;
  bool negative = false;
  for (const char c : chars) {
    if (c >= '0' && c <= '9') {
      value = value * 10 + (c - '0');
      if (value > INT_MAX) value = INT_MAX;
    } else if (c == '-') {
      negative = true;
    } else {
      return 0;
    }
  }
  return static_cast<int>(negative ? -value : value);
}

std::string_view CharRange(std::string_view text, std::size_t first, std::size_t last) {
  if (first == 0 || first > text.size() || last < first) return {};
  return text.substr(first - 1, last - first + 1);
}

std::size_t ShiftJisCharLength(std::string_view text, std::size_t at) {
  const bool pair = at + 1 < text.size() && IsLeadByte(static_cast<unsigned char>(text[at])) &&
                    IsTrailByte(static_cast<unsigned char>(text[at + 1]));
  return pair ? 2 : 1;
}

std::string_view CutAtCharBoundary(std::string_view text, std::size_t limit) {
  if (text.size() <= limit) return text;
  std::size_t end = 0;
  while (end < text.size()) {
    const std::size_t next = end + ShiftJisCharLength(text, end);
    if (next > limit) break;
    end = next;
  }
  return text.substr(0, end);
}

}  // namespace seaherald
