#pragma once

#include <cstdint>
#include <string>

namespace seaherald {

// The user's settings, one field per settings-file key, named after the key. Text fields hold
// Shift-JIS bytes; colours are 0xBBGGRR values.
struct Settings {
  // [Form]
  int MainTop = 0;
  int MainLeft = 0;
  int MainWidth = 700;
  int MainHeight = 500;
  bool MainMaxmum = false;
  // [Wave]
  std::string WaveInName = "Default input device";
  // The sound server's own name of that device (unique where product names are not); empty for
  // the default input or when unknown.
  std::string WaveInId;
  int CentF = 80;
  // [Disp]
  int ColorNum = 1;
  int ViewLangNum = -1;
  int ViewBaseNum = -1;
  int ViewTypeNum = -1;
  // [Set]
  bool AutoSet = true;
  bool DecLang = false;  // true: English service, false: Japanese-language service
  bool DecInv = false;   // true: inverted polarity
  int DeleteDay = 30;
  bool AutoLogDelete = false;
  int TimeOut = 30;
  int ErrNum = 10;
  bool ErrSave = true;
  int ColumnsWidth0 = 120;
  int ColumnsWidth1 = 80;
  int ColumnsWidth2 = 200;
  int ColumnsWidth3 = 50;
  int PanelWidth = 240;
  int PanelHeight = 160;
  int FontSize = 9;
  std::string FontName = "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e";  // "ＭＳ ゴシック"
  std::uint32_t FontColor = 0x000000;
  std::uint32_t BackColor = 0xFFFFFF;
  int SortType = 0;
  bool DecSens = false;  // true: the high-sensitivity receive path
  // The second receiver, on the input's right channel, beside the first one's keys ([Set], and
  // CentF2 in [Wave]). Written only once used, so a file that never used it stays as it was.
  bool Receiver2 = false;  // on: the right channel is decoded too
  bool AutoSet2 = true;
  bool DecLang2 = false;
  bool DecInv2 = false;
  bool DecSens2 = false;
  int CentF2 = 80;
  // [Disp] Language: the window's language, "ja" or "en"; empty follows the locale. Only read,
  // never written, so the file does not change with the language.
  std::string Language;
  // [Watch], written only once it is used, so that a receiver that never chooses an area keeps
  // its settings file as it was. NavArea 0: none chosen (the catalogue names the stations).
  int NavArea = 0;
  std::string NavFreq = "518";  // "518", "490", "424" or "4209.5"
  std::string Stations;         // B1 letters taken; empty: every station
  std::string Types;            // B2 letters taken; empty: every type (A, B, D, L always)
  std::string AlarmTypes;       // types beyond D that raise the alarm
  // The second receiver's frequency, whose stations name its messages; empty: the same as NavFreq.
  // Written only once used, as the second receiver's other keys.
  std::string NavFreq2;

  // The frequency whose stations name the second receiver's messages.
  const std::string& SecondNavFreq() const { return NavFreq2.empty() ? NavFreq : NavFreq2; }

  bool operator==(const Settings&) const = default;
};

}  // namespace seaherald
