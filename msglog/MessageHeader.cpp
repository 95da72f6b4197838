#include "msglog/MessageHeader.h"

#include <array>

#include "decoder/MessageMarkers.h"

namespace seaherald {
namespace {

constexpr std::array<Marker, 4> kSearchOrder = {Marker::kStartSingle, Marker::kStartFull,
                                                Marker::kEndSingle, Marker::kEndFull};

constexpr std::size_t kEnglishHeaderBytes = 4;
constexpr std::size_t kJapaneseHeaderBytes = 10;
constexpr std::size_t kEnglishHeaderOffset = 5;
constexpr std::size_t kJapaneseHeaderOffset = 10;

// Full-width letters and digits share the lead byte 0x82.
constexpr unsigned char kFullWidthLead = 0x82;
constexpr unsigned char kFullWidthDigitZero = 0x4F;  // ０
constexpr unsigned char kFullWidthDigitNine = 0x58;  // ９
constexpr unsigned char kFullWidthLetterA = 0x60;    // Ａ
constexpr unsigned char kFullWidthLetterZ = 0x79;    // Ｚ

bool InRange(char c, char low, char high) {
  return c >= low && c <= high;
}

bool IsFullWidthLetter(std::string_view pair) {
  const auto lead = static_cast<unsigned char>(pair[0]);
  const auto trail = static_cast<unsigned char>(pair[1]);
  return lead == kFullWidthLead && trail >= kFullWidthLetterA && trail <= kFullWidthLetterZ;
}

bool IsFullWidthDigit(std::string_view pair) {
  const auto lead = static_cast<unsigned char>(pair[0]);
  const auto trail = static_cast<unsigned char>(pair[1]);
  return lead == kFullWidthLead && trail >= kFullWidthDigitZero && trail <= kFullWidthDigitNine;
}

}  // namespace

std::string_view MarkerBytes(Marker marker) {
  switch (marker) {
    case Marker::kStartSingle:
      return StartMarkerSingle;
    case Marker::kStartFull:
      return StartMarkerFull;
    case Marker::kEndSingle:
      return EndMarkerSingle;
    case Marker::kEndFull:
      return EndMarkerFull;
    case Marker::kNone:
      break;
  }
  return {};
}

MarkerMatch FindMarker(std::string_view line) {
  MarkerMatch match;
  for (const Marker marker : kSearchOrder) {
    const std::size_t found = line.find(MarkerBytes(marker));
    if (found != std::string_view::npos) match = {marker, found + 1};
  }
  return match;
}

bool IsValidEnglishHeader(std::string_view header) {
  return header.size() == kEnglishHeaderBytes && InRange(header[0], 'A', 'Z') &&
         InRange(header[1], 'A', 'Z') && InRange(header[2], '0', '9') &&
         InRange(header[3], '0', '9');
}

bool IsValidJapaneseHeader(std::string_view header) {
  if (header.size() != kJapaneseHeaderBytes) return false;
  for (std::size_t i = 0; i < kJapaneseHeaderBytes; i += 2) {
    const std::string_view character = header.substr(i, 2);
    const bool mustBeLetter = i < 4;
    if (!IsFullWidthLetter(character) && (mustBeLetter || !IsFullWidthDigit(character))) {
      return false;
    }
  }
  return true;
}

std::size_t HeaderOffset(bool english) {
  return english ? kEnglishHeaderOffset : kJapaneseHeaderOffset;
}

std::optional<std::string> HeaderOfStartLine(std::string_view line, std::size_t markerPosition,
                                             bool english) {
  const std::size_t offset = english ? kEnglishHeaderOffset : kJapaneseHeaderOffset;
  const std::size_t first = markerPosition - 1 + offset;
  const std::string_view header = first <= line.size() ? line.substr(first) : std::string_view{};
  const bool valid = english ? IsValidEnglishHeader(header) : IsValidJapaneseHeader(header);
  if (!valid) return std::nullopt;
  return std::string(header);
}

}  // namespace seaherald
