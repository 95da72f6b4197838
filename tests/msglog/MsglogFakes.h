#pragma once

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "msglog/Catalogue.h"
#include "msglog/DialogService.h"
#include "msglog/LogBrowserView.h"
#include "msglog/StatusView.h"
#include "platform/CodePage.h"
#include "platform/LocalClock.h"

namespace seaherald::testing {

// Shift-JIS bytes of a UTF-8 test literal.
inline std::string Sjis(std::string_view utf8) {
  return Cp932Text(utf8);
}

class FakeClock final : public LocalClock {
 public:
  LocalDateTime now{2024, 3, 31, 12, 34, 56};
  LocalDateTime Now() const override { return now; }
};

class FakeStatusView final : public StatusView {
 public:
  std::map<int, std::string> panels;
  int writes = 0;
  void SetStatusText(int panel, const std::string& sjis) override {
    panels[panel] = sjis;
    ++writes;
  }
};

// Records every dialog and answers confirmations with `answer`.
class FakeDialogs final : public DialogService {
 public:
  bool answer = true;
  int beeps = 0;
  std::vector<std::string> errors;
  std::vector<std::string> informations;
  std::vector<std::string> questions;
  // Order of calls: "beep", "error", "info", "confirm".
  std::vector<std::string> calls;

  void Beep() override {
    ++beeps;
    calls.push_back("beep");
  }
  void ShowError(const std::string& sjis) override {
    errors.push_back(sjis);
    calls.push_back("error");
  }
  void ShowInformation(const std::string& sjis) override {
    informations.push_back(sjis);
    calls.push_back("info");
  }
  bool Confirm(const std::string& sjis) override {
    questions.push_back(sjis);
    calls.push_back("confirm");
    return answer;
  }
};

// Holds what the browser last gave each widget; the test plays the user by setting `selected`.
class FakeBrowserView final : public LogBrowserView {
 public:
  std::vector<std::string> treeLabels;
  std::vector<int> treeShape = {kBaseCount, kBaseCount};
  int selectedNode = -1;
  std::vector<ListRow> rows;
  int selected = -1;
  std::string pane = "startup text";
  std::string label;
  int activeTab = 0;
  int listUpdates = 0;
  int paneUpdates = 0;

  void SetTreeLabels(const std::vector<std::string>& labels) override { treeLabels = labels; }
  void SetTreeShape(const std::vector<int>& stations) override {
    treeShape = stations;
    selectedNode = -1;
  }
  void SelectTreeNode(int index) override { selectedNode = index; }
  void SetListRows(const std::vector<ListRow>& newRows) override {
    rows = newRows;
    selected = -1;
    ++listUpdates;
  }
  int SelectedRow() const override { return selected; }
  void SelectRow(int row) override { selected = row; }
  void SetPaneText(const std::string& sjis) override {
    pane = sjis;
    ++paneUpdates;
  }
  void SetLabelText(const std::string& sjis) override { label = sjis; }
  void SetActiveTab(int tab) override { activeTab = tab; }

  // Index of the row whose header column is `header`, -1 when none.
  int RowOf(const std::string& header) const {
    for (std::size_t i = 0; i < rows.size(); ++i) {
      if (rows[i].ColumnText(1) == header) return static_cast<int>(i);
    }
    return -1;
  }
};

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "seaherald-msglog-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

inline void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// Native (UTF-8) path of a log file whose Shift-JIS name is `sjisName`.
inline std::filesystem::path NativePath(const std::filesystem::path& folder,
                                        std::string_view sjisName) {
  return folder / *Utf8FromCp932(sjisName);
}

// A log file as the message log writes it.
inline std::string LogContent(std::string_view stamp, std::string_view count,
                              std::string_view body) {
  return "Last received " + std::string(stamp) + "\r\nDetected " + std::string(count) +
         " error\r\n-\r\n" + std::string(body);
}

// Makes file writes of this process fail beyond `bytes` while it lives: a way to make a write
// fail that holds for root as well, who ignores permissions.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previousHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_{};
  void (*previousHandler_)(int) = nullptr;
};

// Leaves this process exactly `spare` free file descriptors while it lives (EMFILE after them),
// as a process that has run out of descriptors meets them.
class DescriptorShortage {
 public:
  explicit DescriptorShortage(int spare) {
    ::getrlimit(RLIMIT_NOFILE, &saved_);
    rlimit limit = saved_;
    limit.rlim_cur = std::min<rlim_t>(saved_.rlim_cur, kLowLimit);
    ::setrlimit(RLIMIT_NOFILE, &limit);
    for (int fd = ::dup(STDERR_FILENO); fd >= 0; fd = ::dup(STDERR_FILENO))
      taken_.push_back(fd);
    for (int i = 0; i < spare && !taken_.empty(); ++i) {
      ::close(taken_.back());
      taken_.pop_back();
    }
  }
  ~DescriptorShortage() {
    for (const int fd : taken_)
      ::close(fd);
    ::setrlimit(RLIMIT_NOFILE, &saved_);
  }
  DescriptorShortage(const DescriptorShortage&) = delete;
  DescriptorShortage& operator=(const DescriptorShortage&) = delete;

 private:
  static constexpr rlim_t kLowLimit = 256;
  rlimit saved_{};
  std::vector<int> taken_;
};

}  // namespace seaherald::testing
