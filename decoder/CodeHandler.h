#pragma once

#include <array>

#include "decoder/CodeTables.h"
#include "decoder/DecodedLine.h"

namespace seaherald {

// Turns accepted character codes into text on the channel's line: the letters/figures shift of
// English mode and the JIS X 0208 pairs of Japanese mode.
class CodeHandler {
 public:
  // Japanese control values.
  static constexpr int JapaneseLineFeed = 10;
  static constexpr int JapaneseCarriageReturn = 13;
  static constexpr int JapanesePhasing1 = 4;
  static constexpr int JapanesePhasing2 = 25;

  explicit CodeHandler(DecodedLine& line) : line_(line) {}

  // Whether the code has an entry in the current shift; codes without one are invalid.
  bool HasEnglishEntry(int code) const { return !EnglishEntry(shift_, code).empty(); }
  // Requires HasEnglishEntry(code).
  void HandleEnglishCode(int code);
  void HandleJapaneseCode(int value);

  // Drops a waiting half of a JIS pair.
  void ResetJisPair() { jisCount_ = 0; }

  int ShiftState() const { return static_cast<int>(shift_); }
  int JisCount() const { return jisCount_; }
  const std::array<int, 2>& JisPair() const { return jisPair_; }

 private:
  DecodedLine& line_;
  Shift shift_ = Shift::Letters;  // kept through lost sync and line ends
  std::array<int, 2> jisPair_{};
  int jisCount_ = 0;
};

}  // namespace seaherald
