#include "decoder/CodeHandler.h"

#include <string_view>

#include "decoder/JisToShiftJis.h"

namespace seaherald {

void CodeHandler::HandleEnglishCode(int code) {
  switch (code) {
    case LettersShiftCode:
      shift_ = Shift::Letters;
      return;
    case FiguresShiftCode:
      shift_ = Shift::Figures;
      return;
    case PhasingCode1:
    case PhasingCode2:
    case CarriageReturnCode:
      return;
    case LineFeedCode:
      line_.EndLine(false);
      return;
    default:
      line_.Append(EnglishEntry(shift_, code));
  }
}

void CodeHandler::HandleJapaneseCode(int value) {
  jisPair_[jisCount_] = value;
  switch (value) {
    case JapaneseLineFeed:
      line_.EndLine(false);
      jisCount_ = 0;
      return;
    case JapaneseCarriageReturn:
      jisCount_ = 0;
      return;
    case JapanesePhasing1:
    case JapanesePhasing2:
      jisCount_ = 0;
      line_.ClearLine();
      return;
    default:
      break;
  }
  if (jisCount_ == 0) {
    jisCount_ = 1;
    return;
  }
  const std::array<std::uint8_t, 2> bytes = JisToShiftJis(jisPair_[0], jisPair_[1]);
  const char character[2] = {static_cast<char>(bytes[0]), static_cast<char>(bytes[1])};
  line_.Append(std::string_view(character, 2));
  jisCount_ = 0;
}

}  // namespace seaherald
