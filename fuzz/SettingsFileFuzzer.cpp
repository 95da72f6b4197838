// The settings file: arbitrary bytes are read as a settings file, saved over themselves and read
// again. Every value must come back as it was read, and every line of the original must still
// stand in the saved file in its order, byte for byte; only the values of the program's own keys
// may change, and whole lines may be added between lines. Then a device name of arbitrary bytes
// (line breaks and NUL included) is saved: it must stay on its line and leave every other value
// alone.
//
// Input: the whole input is the file.

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "app/Settings.h"
#include "app/SettingsFile.h"
#include "fuzz/support/FuzzCheck.h"
#include "fuzz/support/TempFolder.h"
#include "platform/ProfileFile.h"

namespace seaherald::fuzz {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::size_t kDeviceNameBytes = 300;

// Every key the program writes: the first receiver's, the watch's and the second receiver's.
constexpr std::array<std::string_view, 44> kKeyNames = {
    "MainTop",    "MainLeft",    "MainWidth",     "MainHeight",    "MainMaxmum",    "WaveInName",
    "WaveInId",   "CentF",       "ColorNum",      "ViewLangNum",   "ViewBaseNum",   "ViewTypeNum",
    "AutoSet",    "DecLang",     "DecInv",        "DeleteDay",     "AutoLogDelete", "TimeOut",
    "ErrNum",     "ErrSave",     "ColumnsWidth0", "ColumnsWidth1", "ColumnsWidth2", "ColumnsWidth3",
    "PanelWidth", "PanelHeight", "FontSize",      "FontName",      "FontColor",     "BackColor",
    "SortType",   "DecSens",     "NavArea",       "NavFreq",       "Stations",      "Types",
    "AlarmTypes", "CentF2",      "Receiver2",     "AutoSet2",      "DecLang2",      "DecInv2",
    "DecSens2",   "NavFreq2"};

struct TextLine {
  std::string_view text;
  std::string_view end;
};

// Lines as the INI layer keeps them: ended by CR LF, LF or CR.
std::vector<TextLine> SplitLines(std::string_view bytes) {
  std::vector<TextLine> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t stop = bytes.find_first_of("\r\n", start);
    if (stop == std::string_view::npos) {
      lines.push_back({bytes.substr(start), {}});
      break;
    }
    const bool crlf = bytes[stop] == '\r' && stop + 1 < bytes.size() && bytes[stop + 1] == '\n';
    const std::size_t endLength = crlf ? 2 : 1;
    lines.push_back({bytes.substr(start, stop - start), bytes.substr(stop, endLength)});
    start = stop + endLength;
  }
  return lines;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back()))
    text.remove_suffix(1);
  return text;
}

bool SameAsciiName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto fold = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
    if (fold(a[i]) != fold(b[i])) return false;
  }
  return true;
}

// Where the value of a line that may name one of the program's keys begins; npos for a line
// the program must leave alone. Generous on purpose: any section, any copy of the key.
std::size_t ValueStartOfOwnKey(std::string_view text, bool firstLine) {
  const std::size_t equals = text.find('=');
  if (equals == std::string_view::npos) return std::string_view::npos;
  std::string_view name = text.substr(0, equals);
  if (firstLine && name.starts_with(kUtf8Bom)) name.remove_prefix(kUtf8Bom.size());
  name = TrimBlanks(name.substr(0, name.find('\0')));
  bool own = false;
  for (const std::string_view key : kKeyNames)
    own = own || SameAsciiName(name, key);
  if (!own) return std::string_view::npos;
  std::size_t start = equals + 1;
  while (start < text.size() && IsBlank(text[start]))
    ++start;
  return start;
}

// Every byte of `before` stands in `after` in the same order, except the values of the program's
// own keys; whole lines may have been added between lines. (A line end is checked as bytes: an
// added line ended by CR before a blank line ended by LF reads back as one CR LF, and no byte is
// lost by that.)
void CheckBytesSurvive(std::string_view before, std::string_view after) {
  const std::vector<TextLine> old = SplitLines(before);
  std::size_t at = 0;
  for (std::size_t i = 0; i < old.size(); ++i) {
    const TextLine& line = old[i];
    const std::size_t valueStart = ValueStartOfOwnKey(line.text, i == 0);
    const std::string_view kept =
        valueStart == std::string_view::npos ? line.text : line.text.substr(0, valueStart);
    std::size_t next = std::string_view::npos;
    for (std::size_t candidate = at; candidate <= after.size() && next == std::string_view::npos;
         ++candidate) {
      const bool lineStart =
          candidate == at || after[candidate - 1] == '\r' || after[candidate - 1] == '\n';
      if (!lineStart || !after.substr(candidate).starts_with(kept)) continue;
      std::size_t end = candidate + kept.size();
      if (valueStart != std::string_view::npos)
        end = std::min(after.find_first_of("\r\n", end), after.size());
      if (after.substr(end).starts_with(line.end)) next = end + line.end.size();
    }
    FUZZ_CHECK(next != std::string_view::npos,
               "a line of the settings file was lost, moved or changed");
    at = next;
  }
}

std::string FileBytes(const std::filesystem::path& path) {
  std::ifstream stream(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream stream(path, std::ios::binary | std::ios::trunc);
  stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  FUZZ_CHECK(stream.good(), "the input could not be written to the temporary folder");
}

// Field by field, so that a report names the value that did not come back.
void CheckSameValues(const Settings& a, const Settings& b, bool sameDeviceName) {
  FUZZ_CHECK(a.MainTop == b.MainTop && a.MainLeft == b.MainLeft && a.MainWidth == b.MainWidth &&
                 a.MainHeight == b.MainHeight && a.MainMaxmum == b.MainMaxmum,
             "a window geometry value did not round-trip");
  FUZZ_CHECK(!sameDeviceName || a.WaveInName == b.WaveInName, "WaveInName did not round-trip");
  FUZZ_CHECK(a.CentF == b.CentF, "CentF did not round-trip");
  FUZZ_CHECK(a.ColorNum == b.ColorNum && a.ViewLangNum == b.ViewLangNum &&
                 a.ViewBaseNum == b.ViewBaseNum && a.ViewTypeNum == b.ViewTypeNum,
             "a Disp value did not round-trip");
  FUZZ_CHECK(a.AutoSet == b.AutoSet && a.DecLang == b.DecLang && a.DecInv == b.DecInv &&
                 a.AutoLogDelete == b.AutoLogDelete && a.ErrSave == b.ErrSave,
             "a switch did not round-trip");
  FUZZ_CHECK(a.DeleteDay == b.DeleteDay && a.TimeOut == b.TimeOut && a.ErrNum == b.ErrNum,
             "a limit did not round-trip");
  FUZZ_CHECK(a.ColumnsWidth0 == b.ColumnsWidth0 && a.ColumnsWidth1 == b.ColumnsWidth1 &&
                 a.ColumnsWidth2 == b.ColumnsWidth2 && a.ColumnsWidth3 == b.ColumnsWidth3 &&
                 a.PanelWidth == b.PanelWidth && a.PanelHeight == b.PanelHeight,
             "a size did not round-trip");
  FUZZ_CHECK(a.FontSize == b.FontSize, "FontSize did not round-trip");
  FUZZ_CHECK(a.FontName == b.FontName, "FontName did not round-trip");
  FUZZ_CHECK(a.FontColor == b.FontColor && a.BackColor == b.BackColor,
             "a colour did not round-trip");
  FUZZ_CHECK(a.SortType == b.SortType && a.DecSens == b.DecSens, "a Set value did not round-trip");
  FUZZ_CHECK(a.WaveInId == b.WaveInId, "WaveInId did not round-trip");
  FUZZ_CHECK(a.NavArea == b.NavArea && a.NavFreq == b.NavFreq && a.Stations == b.Stations &&
                 a.Types == b.Types && a.AlarmTypes == b.AlarmTypes,
             "a Watch value did not round-trip");
  FUZZ_CHECK(a.Receiver2 == b.Receiver2 && a.AutoSet2 == b.AutoSet2 && a.DecLang2 == b.DecLang2 &&
                 a.DecInv2 == b.DecInv2 && a.DecSens2 == b.DecSens2 && a.CentF2 == b.CentF2 &&
                 a.NavFreq2 == b.NavFreq2,
             "a second receiver's value did not round-trip");
  FUZZ_CHECK(a.Language == b.Language, "the window language did not survive");
}

void CheckOnlyTheFile(const std::filesystem::path& folder) {
  int entries = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
    ++entries;
  FUZZ_CHECK(entries == 1, "a save left something beside the settings file");
}

void Run(std::string_view input) {
  const TempFolder folder;
  const std::filesystem::path path = folder.Path() / "seaherald.ini";
  WriteBytes(path, input);

  const Settings read = LoadSettings(path);
  FUZZ_CHECK(SaveSettings(path, read).ok(), "saving into a healthy folder failed");
  const std::string saved = FileBytes(path);
  CheckBytesSurvive(input, saved);
  const Settings reread = LoadSettings(path);
  CheckSameValues(read, reread, true);

  FUZZ_CHECK(SaveSettings(path, reread).ok(), "saving again failed");
  FUZZ_CHECK(FileBytes(path) == saved, "saving the same values again changed the file");

  Settings renamed = reread;
  renamed.WaveInName = std::string(input.substr(0, kDeviceNameBytes));
  FUZZ_CHECK(SaveSettings(path, renamed).ok(), "saving a device name failed");
  CheckBytesSurvive(saved, FileBytes(path));
  const Settings withName = LoadSettings(path);
  CheckSameValues(reread, withName, false);
  FUZZ_CHECK(withName.WaveInName.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos,
             "a device name holds a line break or NUL");
  FUZZ_CHECK(withName.WaveInName.size() <= ProfileValueLimit, "a device name is over the limit");
  CheckOnlyTheFile(folder.Path());
}

}  // namespace
}  // namespace seaherald::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  seaherald::fuzz::Run({reinterpret_cast<const char*>(data), size});
  return 0;
}
