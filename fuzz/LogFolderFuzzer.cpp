// The log-folder readers over a folder of arbitrary entries: tree counts, list rows for the
// selections clicked, the stored message shown, column sorting, deleting one or all, and the
// automatic deletion with a fixed clock, the Keep tag, the second receiver's tab, in any order,
// with entries vanishing or turning into folders behind the browser's back.
//
// Input: a start record, an entry count byte (at most kMaxEntries), the entries, then operation
// records until the input ends (at most kMaxOperations).
//   start: flags byte (bit 0 AutoLogDelete); ViewLangNum (-2 to 2), ViewBaseNum (-2 to 6),
//     ViewTypeNum (-2 to 14), SortType (-6 to 6) bytes; DeleteDay word (-2 to 400); today as
//     bytes for year (1990-2099), month and day (1-28).
//   entry: kind byte, then its name, then its content.
//     bits 0-2 the kind: 0 and 7 a file, 1 a folder, 2 a link to nothing, 3 a link to a file
//       outside the folder, 4 a pipe, 5 a file whose name bytes are taken as they are on disk
//       instead of as Shift-JIS, 6 a read-only file;
//     bit 3 the name is a header: bit 4 full-width (Japanese), then bytes for B1, B2 and three
//       more characters; otherwise the name is a short text of Shift-JIS bytes;
//     bit 5 a suffix byte picks ".TXT", ".Txt", no suffix or ".txt.bak" instead of ".txt";
//     bit 6 the content is a log file: a stamp from bytes (year 1890-2109, month 0-13, day
//       0-32, hour, minute, second), an error count word, then a short text as its body;
//       otherwise a short text as it is.
//   operation: a byte, kind = byte % kOperationKinds, then its arguments (see Operate).
//
// After every operation the tree counts add up, the list holds only logs of the selection in
// the order of SortType, the pane shows what the browser says it shows, and deletions removed
// exactly what they had to: never a read-only log, never a kept one automatically, and every
// copy of a header deleted one by one (".txt" and ".TXT" are one log).

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "app/Settings.h"
#include "fuzz/support/ByteStream.h"
#include "fuzz/support/Fakes.h"
#include "fuzz/support/FuzzCheck.h"
#include "fuzz/support/TempFolder.h"
#include "fuzz/support/Trace.h"
#include "msglog/Catalogue.h"
#include "msglog/LogBrowser.h"
#include "msglog/LogFolder.h"
#include "msglog/MessageList.h"
#include "platform/CodePage.h"

namespace seaherald::fuzz {
namespace {

constexpr int kMaxEntries = 24;
constexpr int kMaxOperations = 64;
constexpr std::size_t kMaxNativeName = 255;
constexpr std::string_view kPaneEnd = "\r\n";

enum class EntryKind {
  File = 0,
  Folder = 1,
  DanglingLink = 2,
  LinkToFile = 3,
  Pipe = 4,
  RawName = 5,
  ReadOnlyFile = 6
};

constexpr std::uint8_t kHeaderName = 0x08;
constexpr std::uint8_t kJapaneseHeader = 0x10;
constexpr std::uint8_t kOtherSuffix = 0x20;
constexpr std::uint8_t kLogContent = 0x40;

constexpr std::string_view kEnglishB1 = "GHIJKXQ";
constexpr std::string_view kEnglishB2 = "ABCDEFGHJKLXYIZ ";
constexpr std::array<std::string_view, 4> kOtherSuffixes = {".TXT", ".Txt", "", ".txt.bak"};

enum class Operation {
  Rebuild,
  ClickNode,
  SelectRow,
  ClickColumn,
  ChangeTab,
  DeleteSelected,
  DeleteAll,
  AutoDelete,
  ReceivedText,
  ToggleAutoDelete,
  ChangeDeleteDay,
  RemoveBehindBack,
  ReplaceBehindBack,
  FileCreated,
  FileConsidered,
  ToggleKeep,
  SecondReceivedText,
  Count,
};
constexpr int kOperationKinds = static_cast<int>(Operation::Count);

// Full-width letter or digit: lead byte 0x82.
std::string FullWidth(std::uint8_t byte, bool mayBeDigit) {
  const bool digit = mayBeDigit && (byte & 0x80);
  const auto trail = static_cast<char>(digit ? 0x4F + byte % 10 : 0x60 + byte % 26);
  return std::string("\x82") + trail;
}

std::string HeaderName(ByteReader& input, bool japanese) {
  std::string name;
  if (japanese) {
    for (int i = 0; i < 5; ++i)
      name += FullWidth(input.Byte(), i >= 2);
    return name;
  }
  name += kEnglishB1[input.Byte() % kEnglishB1.size()];
  name += kEnglishB2[input.Byte() % kEnglishB2.size()];
  for (int i = 0; i < 2; ++i)
    name += static_cast<char>('0' + input.Byte() % 10);
  return name;
}

std::string LogContent(ByteReader& input) {
  const int year = input.IntInRange(1890, 2109);
  const int month = input.IntInRange(0, 13);
  const int day = input.IntInRange(0, 32);
  const int hour = input.IntInRange(0, 23);
  const int minute = input.IntInRange(0, 59);
  const int second = input.IntInRange(0, 59);
  const int errors = input.Word();
  char head[128];
  std::snprintf(head, sizeof head,
                "Last received %04d/%02d/%02d %02d:%02d:%02d\r\nDetected %03d error\r\n-\r\n", year,
                month, day, hour, minute, second, errors);
  return head + input.ShortText();
}

bool IsPlainNativeName(std::string_view name) {
  return !name.empty() && name.size() <= kMaxNativeName && name != "." && name != ".." &&
         name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

// Count at the end of a node label: "name (count)".
int CountOfLabel(const std::string& label) {
  const std::size_t open = label.rfind(" (");
  FUZZ_CHECK(open != std::string::npos && label.ends_with(')'), "a node label has no count");
  const std::string digits = label.substr(open + 2, label.size() - open - 3);
  FUZZ_CHECK(!digits.empty() && digits.find_first_not_of("0123456789") == std::string::npos,
             "a node count is not a plain number");
  return std::stoi(digits);
}

// The date a log's first line gives for the automatic deletion: characters 15-24 as
// "yyyy/mm/dd" naming a real day. Nothing for a line without one.
std::optional<std::chrono::sys_days> StampDate(const std::filesystem::path& path,
                                               bool& unreadable) {
  std::ifstream stream(path, std::ios::binary);
  unreadable = !stream;
  if (unreadable) return std::nullopt;
  std::string line(24, '\0');
  stream.read(line.data(), static_cast<std::streamsize>(line.size()));
  line.resize(static_cast<std::size_t>(stream.gcount()));
  line = line.substr(0, line.find_first_of("\r\n"));
  if (line.size() < 24) return std::nullopt;
  const std::string date = line.substr(14, 10);
  for (std::size_t i = 0; i < date.size(); ++i) {
    const bool slash = i == 4 || i == 7;
    if (slash ? date[i] != '/' : (date[i] < '0' || date[i] > '9')) return std::nullopt;
  }
  const std::chrono::year_month_day ymd{
      std::chrono::year{std::stoi(date.substr(0, 4))},
      std::chrono::month{static_cast<unsigned>(std::stoi(date.substr(5, 2)))},
      std::chrono::day{static_cast<unsigned>(std::stoi(date.substr(8, 2)))}};
  if (!ymd.ok()) return std::nullopt;
  return std::chrono::sys_days(ymd);
}

bool HasOnlyCrLfLineEnds(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')) return false;
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) return false;
  }
  return true;
}

std::set<std::string> ListedPaths(const LogFolder& folder) {
  std::set<std::string> paths;
  for (const LogEntry& entry : folder.ListLogFiles())
    paths.insert(entry.path);
  return paths;
}

// The owner's write bit gone: the user's wish that the log stays.
bool IsReadOnly(const std::string& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
         (status.st_mode & S_IWUSR) == 0;
}

// Whether a browser started now knows the Keep tags: a missing keep file is no tags, but one that
// is there and is no readable file (an entry may take its name) leaves them unknown.
bool KeepFileKnown(const std::filesystem::path& file) {
  std::error_code error;
  const std::filesystem::file_type type = std::filesystem::status(file, error).type();
  if (type == std::filesystem::file_type::not_found) return true;
  return type == std::filesystem::file_type::regular && std::ifstream(file).good();
}

class Harness {
 public:
  explicit Harness(ByteReader& input)
      : input_(input),
        logFolder_(temp_.Path() / "log"),
        browser_(settings_, clock_, logFolder_, view_, dialogs_) {
    std::filesystem::create_directory(logFolder_.Path());
    std::filesystem::create_directory(Outside());
    const std::uint8_t flags = input_.Byte();
    settings_.AutoLogDelete = flags & 0x01;
    settings_.ViewLangNum = input_.IntInRange(-2, 2);
    settings_.ViewBaseNum = input_.IntInRange(-2, 6);
    settings_.ViewTypeNum = input_.IntInRange(-2, 14);
    settings_.SortType = input_.IntInRange(-6, 6);
    settings_.DeleteDay = input_.IntInRange(-2, 400);
    clock_.now = {input_.IntInRange(1990, 2099),
                  input_.IntInRange(1, 12),
                  input_.IntInRange(1, 28),
                  12,
                  0,
                  0};
  }

  void Run() {
    const int entries = std::min<int>(input_.Byte(), kMaxEntries);
    for (int i = 0; i < entries; ++i)
      CreateEntry(i);
    browser_.Start();
    CheckTreeMatchesFolder();
    CheckList(true);
    for (int i = 0; i < kMaxOperations && !input_.Empty(); ++i) {
      Operate(static_cast<Operation>(input_.Byte() % kOperationKinds));
      CheckTreeAddsUp();
      CheckList(false);
    }
  }

 private:
  std::filesystem::path Outside() const { return temp_.Path() / "outside"; }

  void CreateEntry(int index) {
    const std::uint8_t kind = input_.Byte();
    std::string name;
    if (kind & kHeaderName) {
      name = HeaderName(input_, (kind & kJapaneseHeader) != 0);
    } else {
      name = input_.ShortText();
    }
    name += (kind & kOtherSuffix) ? kOtherSuffixes[input_.Byte() % kOtherSuffixes.size()] : ".txt";
    const std::string content = (kind & kLogContent) ? LogContent(input_) : input_.ShortText();

    const auto entryKind = static_cast<EntryKind>(kind & 0x07);
    std::optional<std::string> native =
        entryKind == EntryKind::RawName ? std::optional(name) : converter_.Utf8FromCp932(name);
    if (!native || !IsPlainNativeName(*native)) return;
    const std::filesystem::path path = logFolder_.Path() / *native;
    std::error_code error;
    if (std::filesystem::symlink_status(path, error).type() !=
        std::filesystem::file_type::not_found) {
      return;  // the same name twice
    }
    created_.push_back(path);
    switch (entryKind) {
      case EntryKind::Folder:
        std::filesystem::create_directory(path, error);
        break;
      case EntryKind::DanglingLink:
        std::filesystem::create_symlink(Outside() / "nothing", path, error);
        break;
      case EntryKind::LinkToFile: {
        const std::filesystem::path target = Outside() / std::to_string(index);
        WriteFile(target, content);
        std::filesystem::create_symlink(target, path, error);
        break;
      }
      case EntryKind::Pipe:
        ::mkfifo(path.c_str(), 0600);
        break;
      case EntryKind::ReadOnlyFile:
        WriteFile(path, content);
        ::chmod(path.c_str(), 0444);
        break;
      default:
        WriteFile(path, content);
        break;
    }
  }

  static void WriteFile(const std::filesystem::path& path, std::string_view content) {
    std::ofstream stream(path, std::ios::binary);
    stream.write(content.data(), static_cast<std::streamsize>(content.size()));
  }

  void Operate(Operation operation) {
    switch (operation) {
      case Operation::Rebuild:
        browser_.RebuildLogTree();
        CheckTreeMatchesFolder();
        CheckList(true);
        break;
      case Operation::ClickNode:
        ClickNode(input_.IntInRange(-1, kTreeNodeCount));
        break;
      case Operation::SelectRow:
        SelectRow(input_.IntInRange(-1, static_cast<int>(view_.rows.size())));
        break;
      case Operation::ClickColumn:
        ClickColumn(input_.IntInRange(0, kColumnCount - 1));
        break;
      case Operation::ChangeTab:
        ChangeTab(input_.IntInRange(0, 2));
        break;
      case Operation::DeleteSelected:
        DeleteSelected((input_.Byte() & 1) != 0);
        break;
      case Operation::DeleteAll:
        DeleteAll((input_.Byte() & 1) != 0);
        break;
      case Operation::AutoDelete:
        AutoDelete();
        break;
      case Operation::ReceivedText:
        ReceivedText(input_.ShortText());
        break;
      case Operation::ToggleAutoDelete:
        settings_.AutoLogDelete = !settings_.AutoLogDelete;
        break;
      case Operation::ChangeDeleteDay:
        settings_.DeleteDay = input_.IntInRange(-2, 400);
        break;
      case Operation::RemoveBehindBack:
        RemoveBehindBack(input_.Byte());
        break;
      case Operation::ReplaceBehindBack:
        ReplaceBehindBack(input_.Byte());
        break;
      case Operation::FileCreated:
        browser_.LogFileCreated();
        CheckTreeMatchesFolder();
        CheckList(true);
        break;
      case Operation::FileConsidered:
        browser_.LogFileConsidered();
        break;
      case Operation::ToggleKeep:
        ToggleKeep();
        break;
      case Operation::SecondReceivedText:
        SecondReceivedText(input_.ShortText());
        break;
      case Operation::Count:
        break;
    }
  }

  void ClickNode(int node) {
    const Settings before = settings_;
    browser_.TreeNodeClicked(node);
    const std::optional<TreeNodePosition> position = Catalogue::TreeNodeAt(node);
    if (!position || !position->IsTypeLeaf()) {
      FUZZ_CHECK(settings_ == before,
                 "a click on a language or station node changed the selection");
      return;
    }
    FUZZ_CHECK(Catalogue::TypeNodeIndex(settings_.ViewLangNum, settings_.ViewBaseNum,
                                        settings_.ViewTypeNum) == node,
               "a click on a type leaf did not store it as the selection");
    CheckList(true);
  }

  void SelectRow(int row) {
    view_.selectedRow = row < static_cast<int>(view_.rows.size()) ? row : -1;
    const std::string paneBefore = view_.pane;
    browser_.ShowStoredMessage();
    if (view_.selectedRow < 0) {
      FUZZ_CHECK(view_.pane == paneBefore, "showing without a selected row changed the pane");
      return;
    }
    FUZZ_CHECK(!browser_.ShowingReceived() && view_.activeTab == kTabStored,
               "a chosen row did not switch to the stored tab");
    FUZZ_CHECK(view_.pane == browser_.StoredText() + std::string(kPaneEnd),
               "the pane does not show the stored message");
    FUZZ_CHECK(view_.label == browser_.StoredLabel(), "the label does not name the message");
    const std::string& text = browser_.StoredText();
    Trace("stored message shown", text);
    // The body is taken from byte 59 on; a log whose header lines are one byte longer (an error
    // count of four digits) leaves there the LF of the third line's CR LF.
    const std::string_view body = text.starts_with('\n') ? std::string_view(text).substr(1) : text;
    FUZZ_CHECK(HasOnlyCrLfLineEnds(body) && (body.empty() || body.ends_with("\r\n")),
               "a stored message has line ends other than CR LF");
  }

  void ClickColumn(int column) {
    const int selected = view_.selectedRow;
    const std::optional<ListRow> selectedRow =
        selected >= 0 ? std::optional(view_.rows[static_cast<std::size_t>(selected)])
                      : std::nullopt;
    const std::size_t rowsBefore = view_.rows.size();
    const int sortBefore = settings_.SortType;
    browser_.ColumnClicked(column);
    FUZZ_CHECK(view_.rows.size() == rowsBefore, "sorting changed the number of rows");
    if (rowsBefore < 2) {
      FUZZ_CHECK(settings_.SortType == sortBefore, "a click on a short list changed the order");
      return;
    }
    FUZZ_CHECK(settings_.SortType == column + 1 || settings_.SortType == -(column + 1),
               "a column click did not sort by that column");
    if (selectedRow) {
      FUZZ_CHECK(view_.selectedRow >= 0 &&
                     view_.rows[static_cast<std::size_t>(view_.selectedRow)] == *selectedRow,
                 "the selected row was lost by sorting");
    }
  }

  void ChangeTab(int tab) {
    browser_.TabChanged(tab);
    const std::string& shown = tab == kTabReceived    ? receivedText_
                               : tab == kTabReceived2 ? receivedText2_
                                                      : browser_.StoredText();
    FUZZ_CHECK(view_.pane == shown + std::string(kPaneEnd), "the tab shows the wrong text");
    FUZZ_CHECK(view_.label == (tab == kTabStored ? browser_.StoredLabel() : std::string()),
               "the label does not follow the tab");
    FUZZ_CHECK(browser_.ShowingReceived() == (tab == kTabReceived),
               "ShowingReceived does not follow the tab");
  }

  void ReceivedText(const std::string& text) {
    receivedText_ = text;
    const std::string paneBefore = view_.pane;
    browser_.ReceivedTextChanged(text);
    FUZZ_CHECK(
        view_.pane == (browser_.ShowingReceived() ? text + std::string(kPaneEnd) : paneBefore),
        "the received text did not reach the pane, or disturbed a stored message");
  }

  void DeleteSelected(bool answer) {
    dialogs_.answer = answer;
    const std::vector<LogEntry> before = logFolder_.ListLogFiles();
    const int selected = view_.selectedRow;
    // A row whose file did not open names no header; the header is then that of what went.
    std::optional<std::string> header;
    if (selected >= 0 && !view_.rows[static_cast<std::size_t>(selected)].subItems.empty())
      header = view_.rows[static_cast<std::size_t>(selected)].ColumnText(kColumnHeader);
    const int confirmations = dialogs_.confirmations;
    browser_.DeleteSelectedMessage();
    const std::set<std::string> after = ListedPaths(logFolder_);
    const bool asked = dialogs_.confirmations != confirmations;
    FUZZ_CHECK(selected >= 0 || !asked, "a deletion was asked without a selected row");
    std::size_t kept = 0;
    for (const LogEntry& entry : before) {
      if (after.contains(entry.path)) {
        ++kept;
      } else if (!header) {
        header = std::string(HeaderOfLogName(entry.name));
      }
    }
    FUZZ_CHECK(after.size() == kept, "deleting one log created a log");
    FUZZ_CHECK((asked && answer) || kept == before.size(), "a log was deleted without a yes");
    if (!header || !(asked && answer)) return;
    // Every copy of the header goes, whatever the case of its ".txt"; a chosen log that has
    // become a folder cannot.
    for (const LogEntry& entry : before) {
      const bool goes = HeaderOfLogName(entry.name) == *header && !IsReadOnly(entry.path);
      FUZZ_CHECK(after.contains(entry.path) != goes,
                 "deleting one log did not remove exactly every writable copy of its header");
    }
  }

  void DeleteAll(bool answer) {
    dialogs_.answer = answer;
    const std::vector<LogEntry> before = logFolder_.ListLogFiles();
    const bool selection = HasSelection();
    const int errors = dialogs_.errors;
    browser_.DeleteAllOfSelection();
    FUZZ_CHECK(selection || dialogs_.errors == errors + 1,
               "delete-all without a selection did not say so");
    const std::set<std::string> after = ListedPaths(logFolder_);
    for (const LogEntry& entry : before) {
      const bool selected = selection && answer && !IsReadOnly(entry.path) &&
                            Catalogue::BelongsTo(entry.name, settings_.ViewLangNum,
                                                 settings_.ViewBaseNum, settings_.ViewTypeNum);
      FUZZ_CHECK(after.contains(entry.path) != selected,
                 "delete-all kept a log of the selection or removed another");
    }
    // Only a deletion that went ahead recounts the tree.
    if (selection && answer) CheckTreeMatchesFolder();
  }

  void AutoDelete() {
    const std::vector<LogEntry> before = logFolder_.ListLogFiles();
    const std::chrono::sys_days today{std::chrono::year{clock_.now.year} /
                                      std::chrono::month{static_cast<unsigned>(clock_.now.month)} /
                                      std::chrono::day{static_cast<unsigned>(clock_.now.day)}};
    const std::chrono::sys_days limit = today - std::chrono::days(std::max(settings_.DeleteDay, 1));
    std::vector<bool> due;
    for (const LogEntry& entry : before) {
      bool unreadable = false;
      const std::optional<std::chrono::sys_days> date = StampDate(entry.path, unreadable);
      const bool spared =
          browser_.Kept(std::string(HeaderOfLogName(entry.name))) || IsReadOnly(entry.path);
      due.push_back(settings_.AutoLogDelete && !spared && (unreadable || (date && *date < limit)));
    }
    browser_.AutoDeleteLogs();
    const std::set<std::string> after = ListedPaths(logFolder_);
    for (std::size_t i = 0; i < before.size(); ++i) {
      FUZZ_CHECK(after.contains(before[i].path) != due[i],
                 "automatic deletion kept an old log or removed a young, undated, kept or "
                 "read-only one");
    }
  }

  // The tag follows the header: every row of it shows it, and a restart finds it.
  void ToggleKeep() {
    const int selected = view_.selectedRow;
    if (selected < 0) return;
    const ListRow row = view_.rows[static_cast<std::size_t>(selected)];
    const int errors = dialogs_.errors;
    browser_.ToggleKeepSelected();
    if (row.subItems.empty()) return;
    const std::string header = row.ColumnText(kColumnHeader);
    Trace("keep turned", header);
    const bool stored = dialogs_.errors == errors;
    FUZZ_CHECK(browser_.Kept(header) == (stored ? !row.kept : row.kept),
               "Keep did not turn, or turned although it could not be stored");
    FUZZ_CHECK(view_.selectedRow == selected, "Keep lost the selected row");
    // The keep file holds a header a line: the name ".txt" or one with a line break (no header
    // of a message) cannot come back.
    if (header.empty() || header.find_first_of("\r\n") != std::string::npos) return;
    if (!KeepFileKnown(logFolder_.Path() / "keep.lst")) return;
    RecordingBrowserView otherView;
    const LogBrowser restarted(settings_, clock_, logFolder_, otherView, dialogs_);
    FUZZ_CHECK(restarted.Kept(header) == browser_.Kept(header), "a Keep tag did not survive");
  }

  void SecondReceivedText(const std::string& text) {
    receivedText2_ = text;
    const std::string paneBefore = view_.pane;
    browser_.SecondReceiver().ReceivedTextChanged(text);
    const bool shown = browser_.ShownTab() == kTabReceived2;
    FUZZ_CHECK(view_.pane == (shown ? text + std::string(kPaneEnd) : paneBefore),
               "the second receiver's text missed its tab, or disturbed another");
  }

  void RemoveBehindBack(std::uint8_t pick) {
    if (created_.empty()) return;
    std::error_code ignored;
    std::filesystem::remove_all(created_[pick % created_.size()], ignored);
  }

  // A log becomes a folder while the browser still lists it.
  void ReplaceBehindBack(std::uint8_t pick) {
    RemoveBehindBack(pick);
    if (created_.empty()) return;
    std::error_code ignored;
    std::filesystem::create_directory(created_[pick % created_.size()], ignored);
  }

  bool HasSelection() const {
    return settings_.ViewLangNum >= 0 && settings_.ViewLangNum < kLangCount &&
           settings_.ViewBaseNum >= 0 && settings_.ViewBaseNum < kBaseCount &&
           settings_.ViewTypeNum >= 0 && settings_.ViewTypeNum < kTypeCount;
  }

  std::vector<int> Counts() const {
    FUZZ_CHECK(view_.treeLabels.size() == static_cast<std::size_t>(kTreeNodeCount),
               "the tree does not have 182 labels");
    std::vector<int> counts;
    for (const std::string& label : view_.treeLabels)
      counts.push_back(CountOfLabel(label));
    return counts;
  }

  // Language = sum of its stations; station = sum of its types.
  void CheckTreeAddsUp() const {
    const std::vector<int> counts = Counts();
    for (int lang = 0; lang < kLangCount; ++lang) {
      int stations = 0;
      for (int base = 0; base < kBaseCount; ++base) {
        int types = 0;
        for (int type = 0; type < kTypeCount; ++type)
          types += counts[static_cast<std::size_t>(Catalogue::TypeNodeIndex(lang, base, type))];
        const int station = counts[static_cast<std::size_t>(Catalogue::BaseNodeIndex(lang, base))];
        FUZZ_CHECK(types == station, "the types of a station do not add up to its count");
        stations += station;
      }
      FUZZ_CHECK(stations == counts[static_cast<std::size_t>(Catalogue::LangNodeIndex(lang))],
                 "the stations of a language do not add up to its count");
    }
  }

  // Every node counts exactly the logs that the folder holds under it.
  void CheckTreeMatchesFolder() const {
    CheckTreeAddsUp();
    const std::vector<int> counts = Counts();
    const std::vector<LogEntry> entries = OneEntryPerHeader(logFolder_.ListLogFiles());
    for (const LogEntry& entry : entries)
      Trace("log in the folder", entry.name);
    int total = 0;
    for (int lang = 0; lang < kLangCount; ++lang) {
      for (int base = 0; base < kBaseCount; ++base) {
        for (int type = 0; type < kTypeCount; ++type) {
          const int leaf = Catalogue::TypeNodeIndex(lang, base, type);
          const int expected = BelongingCount(entries, lang, base, type);
          FUZZ_CHECK(counts[static_cast<std::size_t>(leaf)] == expected,
                     "a type leaf does not count the logs of its station and type");
          total += expected;
        }
      }
    }
    FUZZ_CHECK(total == static_cast<int>(entries.size()), "a log is counted under no leaf");
  }

  // "GA12.txt" and "GA12.TXT" (copied from another system) are one log to the tree and the list.
  static std::vector<LogEntry> OneEntryPerHeader(const std::vector<LogEntry>& entries) {
    std::set<std::string> headers;
    std::vector<LogEntry> unique;
    for (const LogEntry& entry : entries) {
      if (headers.insert(entry.name.substr(0, entry.name.size() - 4)).second)
        unique.push_back(entry);
    }
    return unique;
  }

  static int BelongingCount(const std::vector<LogEntry>& entries, int lang, int base, int type) {
    return static_cast<int>(std::count_if(entries.begin(), entries.end(), [&](const LogEntry& e) {
      return Catalogue::BelongsTo(e.name, lang, base, type);
    }));
  }

  // The list the view shows is the browser's, sorted by SortType, of the selection only; right
  // after a refill it holds as many rows as the selected leaf counts.
  void CheckList(bool justFilled) const {
    const std::vector<ListRow> rows = browser_.Rows();
    FUZZ_CHECK(rows == view_.rows, "the view does not show the browser's rows");
    for (std::size_t i = 0; i + 1 < rows.size(); ++i) {
      FUZZ_CHECK(CompareRows(rows[i], rows[i + 1], settings_.SortType) <= 0,
                 "the list is not in the order of SortType");
    }
    for (const ListRow& row : rows) {
      FUZZ_CHECK(row.subItems.empty() || row.subItems.size() == 3,
                 "a row has a partial set of columns");
      FUZZ_CHECK(row.caption.size() <= 16, "a caption is longer than date and time");
      if (row.subItems.size() != 3) continue;
      FUZZ_CHECK(row.subItems[1].size() <= 63, "a content column is longer than its buffer");
      const std::string& errors = row.subItems[2];
      FUZZ_CHECK(errors == "-" || (!errors.empty() &&
                                   errors.find_first_not_of("-0123456789") == std::string::npos),
                 "the ERR column is neither a count nor -");
      FUZZ_CHECK(row.kept == browser_.Kept(row.subItems[0]), "a row does not show its Keep tag");
      if (HasSelection()) {
        FUZZ_CHECK(Catalogue::BelongsTo(row.subItems[0], settings_.ViewLangNum,
                                        settings_.ViewBaseNum, settings_.ViewTypeNum),
                   "a listed log does not belong to the selection");
      }
    }
    if (!justFilled) return;
    if (!HasSelection()) {
      FUZZ_CHECK(rows.empty(), "rows are listed without a selection");
      return;
    }
    const int belonging =
        BelongingCount(OneEntryPerHeader(logFolder_.ListLogFiles()), settings_.ViewLangNum,
                       settings_.ViewBaseNum, settings_.ViewTypeNum);
    Trace("rows listed", std::to_string(rows.size()));
    FUZZ_CHECK(static_cast<int>(rows.size()) == belonging,
               "the list does not hold every log of the selection");
  }

  ByteReader& input_;
  TempFolder temp_;
  LogFolder logFolder_;
  Settings settings_;
  FixedClock clock_;
  RecordingBrowserView view_;
  ScriptedDialogs dialogs_;
  LogBrowser browser_;
  CodePageConverter converter_;
  std::vector<std::filesystem::path> created_;
  std::string receivedText_;
  std::string receivedText2_;
};

}  // namespace
}  // namespace seaherald::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  seaherald::fuzz::ByteReader input({data, size});
  seaherald::fuzz::Harness harness(input);
  harness.Run();
  return 0;
}
