#include "msglog/LogBrowser.h"

#include <algorithm>
#include <chrono>
#include <system_error>

#include "msglog/Catalogue.h"
#include "msglog/FolderLock.h"
#include "msglog/LogFileFormat.h"
#include "msglog/LogFileReader.h"
#include "platform/CodePage.h"

namespace seaherald {
namespace {

constexpr std::size_t kLogSuffixBytes = 4;  // ".txt"
constexpr std::string_view kPaneLineBreak = "\r\n";

std::string NodeLabel(const std::string& name, int count) {
  return name + " (" + std::to_string(count) + ")";
}

// Log files under each node, by depth-first index.
std::vector<int> CountLogs(const std::vector<LogEntry>& entries, const LogTreeLayout& layout) {
  std::vector<int> counts(static_cast<std::size_t>(layout.NodeCount()), 0);
  for (const LogEntry& entry : entries) {
    const int lang = Catalogue::LangOfFileName(entry.name);
    const int base = layout.BaseOfLetter(lang, Catalogue::LetterB1(lang, entry.name));
    const int type = Catalogue::TypeOfLetter(lang, Catalogue::LetterB2(lang, entry.name));
    for (const int node : {layout.LangNodeIndex(lang), layout.BaseNodeIndex(lang, base),
                           layout.TypeNodeIndex(lang, base, type)})
      ++counts[static_cast<std::size_t>(node)];
  }
  return counts;
}

// Station and type names in the user's language under both services.
std::vector<std::string> TreeLabelsOf(const std::vector<int>& counts, const UiText& text,
                                      const LogTreeLayout& layout) {
  std::vector<std::string> labels;
  labels.reserve(counts.size());
  const auto next = [&](const std::string& name) {
    labels.push_back(NodeLabel(name, counts[labels.size()]));
  };
  const int names = text.NameLang();
  for (int lang = 0; lang < kLangCount; ++lang) {
    next(text.Translate(Catalogue::LangName(lang)));
    for (int base = 0; base < layout.BaseCount(lang); ++base) {
      next(layout.BaseName(lang, base, names, text));
      for (int type = 0; type < kTypeCount; ++type)
        next(Catalogue::TypeName(names, type));
    }
  }
  return labels;
}

// The Japanese window names English logs by their English names; the English window names all
// logs so.
std::string DeleteAllQuestion(int lang, int base, int type, const UiText& text,
                              const LogTreeLayout& layout) {
  const int names = text.NameLang() == 0 ? 0 : lang;
  return Compose(
      text.Translate(Cp932Text("%1、基地局（%2）、%3の全てのログを削除します\nよろしいですか？")),
      {text.Translate(Catalogue::LangName(lang)), layout.BaseName(lang, base, names, text),
       Catalogue::TypeName(names, type)});
}

std::string DeleteOneQuestion(const std::string& header, const UiText& text) {
  return Compose(text.Translate(Cp932Text("%1を削除します。\nよろしいですか？")), {header});
}

// Anything under the name, a broken link included.
bool EntryExists(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

}  // namespace

LogBrowser::LogBrowser(Settings& settings, const LocalClock& clock, const LogFolder& folder,
                       LogBrowserView& view, DialogService& dialogs, const UiText& text)
    : settings_(settings),
      clock_(clock),
      folder_(folder),
      view_(view),
      dialogs_(dialogs),
      text_(text),
      keep_(folder.Path() / "keep.lst") {}

void LogBrowser::Start() {
  AdoptAreaLayout();
  view_.SelectTreeNode(InitialTreeNode());
  shownTab_ = kTabReceived;
  view_.SetActiveTab(kTabReceived);
  RebuildLogTree();
}

int LogBrowser::InitialTreeNode() const {
  if (!HasStoredSelection()) return 0;
  return layout_.TypeNodeIndex(settings_.ViewLangNum, settings_.ViewBaseNum, settings_.ViewTypeNum);
}

void LogBrowser::RebuildLogTree() {
  if (!untagWhenReadable_.empty()) UntagWhatWentUnread();
  FollowAreaLayout();
  treeLabels_ =
      TreeLabelsOf(CountLogs(OnePerHeader(folder_.ListLogFiles()), layout_), text_, layout_);
  view_.SetTreeLabels(treeLabels_);
  if (HasStoredSelection()) {
    RefreshMessageList(settings_.ViewLangNum, settings_.ViewBaseNum, settings_.ViewTypeNum);
  } else {
    listed_.clear();
    PublishRows();
  }
}

void LogBrowser::RefreshMessageList(int lang, int base, int type) {
  listed_.clear();
  if (layout_.IsTypeLeaf(lang, base, type)) {
    std::vector<LogEntry> entries = OnePerHeader(folder_.ListLogFiles());
    // Name order first, so that rows with equal sort keys stand in a stable order.
    std::sort(entries.begin(), entries.end(),
              [](const LogEntry& a, const LogEntry& b) { return a.name < b.name; });
    for (const LogEntry& entry : entries) {
      if (layout_.BelongsTo(entry.name, lang, base, type)) {
        listed_.push_back(ReadListedLog(entry));
      }
    }
    SortListed();
  }
  PublishRows();
}

LogBrowser::ListedLog LogBrowser::ReadListedLog(const LogEntry& entry) const {
  ListedLog listed;
  listed.header = entry.name.substr(0, entry.name.size() - kLogSuffixBytes);
  listed.row.kept = keep_.Kept(listed.header);
  listed.path = entry.path;
  const std::optional<LogFileHead> head = ReadLogFileHead(entry.path);
  if (!head) return listed;
  const int count = StoredCountOf(*head);
  listed.row.caption = CaptionOf(*head);
  listed.row.subItems = {listed.header, ContentOf(*head),
                         count == kUnreadableCount ? std::string("-") : std::to_string(count)};
  return listed;
}

void LogBrowser::TreeNodeClicked(int nodeIndex) {
  const std::optional<TreeNodePosition> node = layout_.NodeAt(nodeIndex);
  if (!node || !node->IsTypeLeaf()) return;
  settings_.ViewLangNum = node->lang;
  settings_.ViewBaseNum = node->base;
  settings_.ViewTypeNum = node->type;
  RefreshMessageList(node->lang, node->base, node->type);
}

void LogBrowser::ShowStoredMessage() {
  const ListedLog* selected = SelectedLog();
  if (selected == nullptr) return;
  shownTab_ = kTabStored;
  view_.SetActiveTab(kTabStored);
  storedLabel_ = Compose(text_.Translate(Cp932Text("電文番号：%1")), {selected->header});
  view_.SetLabelText(storedLabel_);
  // A file that has gone or cannot be read shows as an empty message under its header.
  storedText_ = ReadStoredText(selected->path).value_or(std::string());
  ShowPane(storedText_);
}

void LogBrowser::TabChanged(int activeTab) {
  if (activeTab == kTabReceived || activeTab == kTabReceived2) {
    shownTab_ = activeTab;
    ShowPane(activeTab == kTabReceived ? receivedText_ : receivedText2_);
    view_.SetLabelText("");
  } else if (activeTab == kTabStored) {
    shownTab_ = kTabStored;
    ShowPane(storedText_);
    view_.SetLabelText(storedLabel_);
  }
}

void LogBrowser::ColumnClicked(int column) {
  const std::optional<int> sortType = SortTypeAfterColumnClick(Rows(), column);
  if (!sortType) return;
  settings_.SortType = *sortType;
  const ListedLog* selected = SelectedLog();
  const std::filesystem::path selectedPath = selected ? selected->path : std::filesystem::path();
  SortListed();
  PublishRows();
  if (selected == nullptr) return;
  const auto stillListed = std::find_if(listed_.begin(), listed_.end(),
                                        [&](const ListedLog& l) { return l.path == selectedPath; });
  view_.SelectRow(static_cast<int>(stillListed - listed_.begin()));
}

void LogBrowser::DeleteSelectedMessage() {
  const ListedLog* selected = SelectedLog();
  if (selected == nullptr) return;
  const ListedLog log = *selected;
  if (!EntryExists(log.path)) {
    // Gone since the list was filled: show the folder as it is rather than a stale row.
    RebuildLogTree();
    return;
  }
  dialogs_.Beep();
  if (!dialogs_.Confirm(DeleteOneQuestion(log.header, text_))) return;
  // Every copy of the header, or an older one under another case of ".txt" would take its place.
  for (const LogEntry& copy : folder_.CopiesOf(log.header))
    folder_.RemoveFile(copy.path);
  UntagIfGone(log.header);
  RebuildLogTree();
  ClearStoredMessage();
}

void LogBrowser::DeleteAllOfSelection() {
  dialogs_.Beep();
  if (!HasStoredSelection()) {
    dialogs_.ShowError(text_.Translate(Cp932Text("削除するメッセージ種類が選択されていません")));
    return;
  }
  const int lang = settings_.ViewLangNum;
  const int base = settings_.ViewBaseNum;
  const int type = settings_.ViewTypeNum;
  if (!dialogs_.Confirm(DeleteAllQuestion(lang, base, type, text_, layout_))) return;
  if (folder_.Exists()) {
    for (const LogEntry& entry : folder_.ListLogFiles()) {
      if (!layout_.BelongsTo(entry.name, lang, base, type)) continue;
      folder_.RemoveFile(entry.path);
      UntagIfGone(std::string(HeaderOfLogName(entry.name)));
    }
    ClearStoredMessage();
  }
  RebuildLogTree();
}

void LogBrowser::AutoDeleteLogs() {
  using std::chrono::sys_days;
  if (!settings_.AutoLogDelete || !folder_.Exists()) return;
  const LocalDateTime now = clock_.Now();
  const std::chrono::year_month_day today{std::chrono::year{now.year},
                                          std::chrono::month{static_cast<unsigned>(now.month)},
                                          std::chrono::day{static_cast<unsigned>(now.day)}};
  if (!today.ok()) return;
  // A keep time below one day would reach files saved today.
  const int keepDays = std::max(settings_.DeleteDay, 1);
  const sys_days limit = sys_days(today) - std::chrono::days(keepDays);
  if (!KeepListReadable(false)) return;
  const auto due = [&](const LogEntry& entry) {
    if (keep_.Kept(HeaderOfLogName(entry.name))) return false;
    const std::optional<std::chrono::year_month_day> date =
        CleanUpDateOf(TryReadLogFileHead(entry.path));
    return date && sys_days(*date) < limit;
  };
  std::vector<LogEntry> old;
  for (LogEntry& entry : folder_.ListLogFiles()) {
    if (due(entry)) old.push_back(std::move(entry));
  }
  if (old.empty()) return;
  // Another process may have filed a fresh reception under an old log's name since it was read:
  // read again under the lock that filing takes, or the fresh one would go.
  const FolderLock lock(folder_.Path());
  bool deleted = false;
  for (const LogEntry& entry : old) {
    if (due(entry) && folder_.RemoveFile(entry.path)) deleted = true;
  }
  if (deleted) RebuildLogTree();
}

void LogBrowser::ToggleKeepSelected() {
  const ListedLog* selected = SelectedLog();
  if (selected == nullptr) return;
  const std::string header = selected->header;
  const int row = view_.SelectedRow();
  if (!KeepListReadable(true)) return;
  if (!keep_.Set(header, !keep_.Kept(header))) {
    dialogs_.Beep();
    dialogs_.ShowError(Compose(text_.Translate(Cp932Text("%1 に書き込めません")),
                               {folder_.DisplayPath(keep_.File())}));
    return;
  }
  for (ListedLog& listed : listed_)
    listed.row.kept = keep_.Kept(listed.header);
  PublishRows();
  view_.SelectRow(row);
}

// The clean-up tells it once while the keep file stays unreadable: it runs every half hour, and
// a dialog each time would only bury the first. A tag the user asks for is answered every time.
bool LogBrowser::KeepListReadable(bool asked) {
  if (keep_.Readable()) {
    keepUnreadableTold_ = false;
    UntagWhatWentUnread();
    return true;
  }
  if (asked || !keepUnreadableTold_) {
    keepUnreadableTold_ = true;
    dialogs_.Beep();
    dialogs_.ShowError(
        Compose(text_.Translate(Cp932Text(
                    "%1 を読み込めません。\n読み込めるまで、保存の印の変更と自動削除を行いません")),
                {folder_.DisplayPath(keep_.File())}));
  }
  return false;
}

// The tag belongs to the message deleted: serial numbers come round again, and the header's next
// message must not be kept unasked.
void LogBrowser::UntagIfGone(const std::string& header) {
  if (!folder_.CopiesOf(header).empty()) return;
  untagWhenReadable_.insert(header);
  UntagWhatWentUnread();
}

// A tag that cannot be seen or written now would come back with the file, on the header's next
// message if that has come meanwhile: it goes as soon as the file can be read and written.
void LogBrowser::UntagWhatWentUnread() {
  if (!keep_.Readable()) return;
  std::erase_if(untagWhenReadable_, [this](const std::string& header) {
    return !keep_.Kept(header) || keep_.Set(header, false);
  });
}

void LogBrowser::ReceivedTextChanged(const std::string& receivedText) {
  receivedText_ = receivedText;
  if (shownTab_ == kTabReceived) ShowPane(receivedText_);
}

void LogBrowser::SecondReceiverListener::ReceivedTextChanged(const std::string& receivedText) {
  browser_.receivedText2_ = receivedText;
  if (browser_.shownTab_ == kTabReceived2) browser_.ShowPane(browser_.receivedText2_);
}

void LogBrowser::LogFileCreated() {
  RebuildLogTree();
}

void LogBrowser::LogFileConsidered() {
  if (HasStoredSelection()) {
    RefreshMessageList(settings_.ViewLangNum, settings_.ViewBaseNum, settings_.ViewTypeNum);
  }
}

std::vector<ListRow> LogBrowser::Rows() const {
  std::vector<ListRow> rows;
  rows.reserve(listed_.size());
  for (const ListedLog& listed : listed_)
    rows.push_back(listed.row);
  return rows;
}

bool LogBrowser::HasStoredSelection() const {
  return layout_.IsTypeLeaf(settings_.ViewLangNum, settings_.ViewBaseNum, settings_.ViewTypeNum);
}

// The stored selection was made in the tree the chosen area had at the last run.
void LogBrowser::AdoptAreaLayout() {
  LogTreeLayout layout(area_);
  if (layout == layout_) return;
  layout_ = std::move(layout);
  view_.SetTreeShape(layout_.BaseCounts());
}

// Another area chosen while running: the stored selection keeps its station letter (or the
// node of other letters) and its type, so the list goes on showing the same station's messages
// where the new area has its letter.
void LogBrowser::FollowAreaLayout() {
  LogTreeLayout layout(area_);
  if (layout == layout_) return;
  if (HasStoredSelection() && settings_.ViewLangNum == 0) {
    const std::string letter = layout_.Letter(0, settings_.ViewBaseNum);
    settings_.ViewBaseNum = letter.empty() ? layout.OtherBase(0) : layout.BaseOfLetter(0, letter);
  }
  layout_ = std::move(layout);
  view_.SetTreeShape(layout_.BaseCounts());
  view_.SelectTreeNode(InitialTreeNode());
}

const LogBrowser::ListedLog* LogBrowser::SelectedLog() const {
  const int row = view_.SelectedRow();
  if (row < 0 || row >= static_cast<int>(listed_.size())) return nullptr;
  return &listed_[static_cast<std::size_t>(row)];
}

void LogBrowser::SortListed() {
  const int sortType = settings_.SortType;
  std::stable_sort(listed_.begin(), listed_.end(),
                   [sortType](const ListedLog& a, const ListedLog& b) {
                     return CompareRows(a.row, b.row, sortType) < 0;
                   });
}

void LogBrowser::PublishRows() {
  view_.SetListRows(Rows());
}

void LogBrowser::ClearStoredMessage() {
  storedLabel_.clear();
  storedText_.clear();
  view_.SetLabelText("");
  ShowPane(storedText_);
}

void LogBrowser::ShowPane(const std::string& text) {
  view_.SetPaneText(text + std::string(kPaneLineBreak));
}

}  // namespace seaherald
