#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace seaherald {

// Message markers, in the order they are searched. Of several markers in one line the last in
// this order wins, so an end marker outranks a start marker and a full-width form its
// single-byte form.
enum class Marker {
  kNone = 0,
  kStartSingle = 1,  // "ZCZC "
  kStartFull = 2,    // "ＺＣＺＣ　"
  kEndSingle = 3,    // "NNNN"
  kEndFull = 4,      // "ＮＮＮＮ"
};

struct MarkerMatch {
  Marker marker = Marker::kNone;
  std::size_t position = 0;  // 1-based byte position of the marker's first occurrence

  bool IsStart() const { return marker == Marker::kStartSingle || marker == Marker::kStartFull; }
  bool IsEnd() const { return marker == Marker::kEndSingle || marker == Marker::kEndFull; }
};

// Shift-JIS bytes of a marker.
std::string_view MarkerBytes(Marker marker);

// Looks for every marker at every byte position of `line`; the last marker in table order that
// occurs wins, with the position of its first occurrence.
MarkerMatch FindMarker(std::string_view line);

// English header: exactly four bytes, two letters "A"-"Z" then two digits "0"-"9".
bool IsValidEnglishHeader(std::string_view header);

// Japanese header: exactly five full-width characters (ten bytes), the first two letters
// "Ａ"-"Ｚ", the other three letters or digits "０"-"９". Real broadcasts carry two letters and
// a three-digit serial; three letters and two digits pass as well.
bool IsValidJapaneseHeader(std::string_view header);

// Bytes from the start of the marker to the start of the header in `english` or Japanese.
std::size_t HeaderOffset(bool english);

// The header that a start-marker line carries: the rest of the line after the marker position
// plus 5 bytes (English, `english` true) or plus 10 (Japanese), whichever marker form was
// found. Nothing when it fails the header test of that language.
std::optional<std::string> HeaderOfStartLine(std::string_view line, std::size_t markerPosition,
                                             bool english);

}  // namespace seaherald
