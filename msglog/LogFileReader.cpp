#include "msglog/LogFileReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>

#include "msglog/LogFileFormat.h"

namespace seaherald {
namespace {

constexpr std::size_t kHeadLines = 7;
constexpr int kEndOfFile = -1;

// Owns an open file descriptor.
class InputFile {
 public:
  explicit InputFile(int descriptor) : descriptor_(descriptor) {}
  ~InputFile() {
    if (descriptor_ >= 0) ::close(descriptor_);
  }
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  bool IsOpen() const { return descriptor_ >= 0; }
  // Bytes read into `buffer`, 0 at the end of the file, -1 on a read error.
  ssize_t Read(char* buffer, std::size_t size) const {
    ssize_t got = 0;
    do {
      got = ::read(descriptor_, buffer, size);
    } while (got < 0 && errno == EINTR);
    return got;
  }

 private:
  int descriptor_;
};

// Only these say something about the file itself; every other error (no descriptors or memory
// left, an I/O error) may pass and must not count against the file.
ReadFailure FailureOf(int error) {
  switch (error) {
    case ENOENT:
    case EACCES:
    case EPERM:
    case ELOOP:
    case ENOTDIR:
    case ENAMETOOLONG:
    case EISDIR:
    case ENXIO:
    case ENODEV:
      return ReadFailure::kFile;
    default:
      return ReadFailure::kTransient;
  }
}

// Opens regular files only: a directory cannot be read as text and a pipe would block.
InputFile OpenForReading(const std::filesystem::path& path, ReadFailure& failure,
                         bool* missing = nullptr) {
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (descriptor < 0) {
    if (missing != nullptr) *missing = errno == ENOENT;
    failure = FailureOf(errno);
    return InputFile(-1);
  }
  struct stat status {};
  const bool statted = ::fstat(descriptor, &status) == 0;
  if (!statted || !S_ISREG(status.st_mode)) {
    failure = statted ? ReadFailure::kFile : FailureOf(errno);
    ::close(descriptor);
    return InputFile(-1);
  }
  return InputFile(descriptor);
}

// One byte more than the buffer holds, so that a cut can tell whether the last byte kept
// starts a double-byte character that the cut would split.
constexpr std::size_t kKeptLineBytes = kLineBufferBytes + 1;

struct BufferedLine {
  std::string text;  // first kKeptLineBytes bytes of the line, without its end
  bool ended = false;

  // The line as a 64-byte buffer holds it, line end kept as "\n" when it fits.
  std::string Buffer() const {
    if (text.size() >= kLineBufferBytes) return text.substr(0, kLineBufferBytes);
    return ended ? text + '\n' : text;
  }
};

// Reads lines in chunks, keeping only the first bytes of each line.
class LineReader {
 public:
  explicit LineReader(const InputFile& file) : file_(file) {}

  bool Next(BufferedLine& line) {
    line = {};
    int byte = Get();
    if (byte == kEndOfFile) return false;
    while (byte != kEndOfFile && byte != '\n' && byte != '\r') {
      if (line.text.size() < kKeptLineBytes) line.text.push_back(static_cast<char>(byte));
      byte = Get();
    }
    if (byte == '\r' && Peek() == '\n') Get();
    line.ended = byte != kEndOfFile;
    return true;
  }

  bool Failed() const { return failed_; }
  int Error() const { return error_; }

 private:
  int Peek() {
    if (position_ == length_ && !Refill()) return kEndOfFile;
    return static_cast<unsigned char>(chunk_[position_]);
  }
  int Get() {
    const int byte = Peek();
    if (byte != kEndOfFile) ++position_;
    return byte;
  }
  bool Refill() {
    position_ = 0;
    length_ = 0;
    const ssize_t got = file_.Read(chunk_.data(), chunk_.size());
    if (got < 0) {
      failed_ = true;
      error_ = errno;
    }
    if (got > 0) length_ = static_cast<std::size_t>(got);
    return length_ > 0;
  }

  const InputFile& file_;
  std::array<char, 4096> chunk_{};
  std::size_t position_ = 0;
  std::size_t length_ = 0;
  bool failed_ = false;
  int error_ = 0;
};

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

int DigitsValue(std::string_view digits) {
  int value = 0;
  for (const char c : digits)
    value = value * 10 + (c - '0');
  return value;
}

// Lines of `bytes` split at CR LF, LF or CR, each followed by CR LF.
std::string WithCrLfLineEnds(std::string_view bytes) {
  std::string joined;
  joined.reserve(bytes.size() + bytes.size() / 16 + 2);
  std::size_t at = 0;
  while (at < bytes.size()) {
    const std::size_t end = bytes.find_first_of("\r\n", at);
    if (end == std::string_view::npos) {
      joined.append(bytes.substr(at)).append("\r\n");
      break;
    }
    joined.append(bytes.substr(at, end - at)).append("\r\n");
    at = end + (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n' ? 2 : 1);
  }
  return joined;
}

}  // namespace

LogFileHeadRead TryReadLogFileHead(const std::filesystem::path& path) {
  LogFileHeadRead result;
  const InputFile file = OpenForReading(path, result.failure);
  if (!file.IsOpen()) return result;
  LineReader reader(file);
  LogFileHead head;
  BufferedLine line;
  for (std::size_t number = 1; number <= kHeadLines && reader.Next(line); ++number) {
    if (number == 1) head.line1 = line.Buffer();
    if (number == 2) head.line2 = line.Buffer();
    if (number >= 2) head.lastRead = line.text;
  }
  if (reader.Failed()) {
    result.failure = FailureOf(reader.Error());
    return result;
  }
  result.head = std::move(head);
  result.failure = ReadFailure::kNone;
  return result;
}

std::optional<LogFileHead> ReadLogFileHead(const std::filesystem::path& path) {
  return TryReadLogFileHead(path).head;
}

int StoredCountOf(const LogFileHead& head) {
  return ParseCount(CharRange(head.line2, kCountFirstChar, kCountLastChar));
}

std::optional<int> StoredCountOfFile(const std::filesystem::path& path) {
  const LogFileHeadRead read = TryReadLogFileHead(path);
  if (read.head) return StoredCountOf(*read.head);
  if (read.failure == ReadFailure::kFile) return kUnreadableCount;
  return std::nullopt;
}

std::string CaptionOf(const LogFileHead& head) {
  std::string_view line = head.line1;
  if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
  return std::string(CharRange(line, kStampFirstChar, kCaptionLastChar));
}

std::string ContentOf(const LogFileHead& head) {
  return std::string(CutAtCharBoundary(head.lastRead, kLineBufferBytes));
}

std::optional<std::chrono::year_month_day> DateOf(const LogFileHead& head) {
  const std::string_view date = CharRange(head.line1, kStampFirstChar, kDateLastChar);
  constexpr std::string_view kShape = "dddd/dd/dd";
  if (date.size() != kShape.size()) return std::nullopt;
  for (std::size_t i = 0; i < kShape.size(); ++i) {
    const bool fits = kShape[i] == 'd' ? IsDigit(date[i]) : date[i] == kShape[i];
    if (!fits) return std::nullopt;
  }
  const std::chrono::year_month_day ymd{
      std::chrono::year{DigitsValue(date.substr(0, 4))},
      std::chrono::month{static_cast<unsigned>(DigitsValue(date.substr(5, 2)))},
      std::chrono::day{static_cast<unsigned>(DigitsValue(date.substr(8, 2)))}};
  if (!ymd.ok()) return std::nullopt;
  return ymd;
}

std::optional<std::chrono::year_month_day> CleanUpDateOf(const LogFileHeadRead& read) {
  if (read.head) return DateOf(*read.head);
  if (read.failure == ReadFailure::kFile) return std::chrono::year{1901} / 1 / 1;
  return std::nullopt;
}

std::optional<std::string> ReadRegularFile(const std::filesystem::path& path, std::size_t limit,
                                           bool* missing) {
  if (missing != nullptr) *missing = false;
  ReadFailure ignored = ReadFailure::kNone;
  const InputFile file = OpenForReading(path, ignored, missing);
  if (!file.IsOpen()) return std::nullopt;
  std::string bytes;
  std::array<char, 16384> chunk;
  while (bytes.size() < limit) {
    const std::size_t wanted = std::min(chunk.size(), limit - bytes.size());
    const ssize_t got = file.Read(chunk.data(), wanted);
    if (got < 0) return std::nullopt;
    if (got == 0) break;
    bytes.append(chunk.data(), static_cast<std::size_t>(got));
  }
  return bytes;
}

std::optional<std::string> ReadStoredText(const std::filesystem::path& path) {
  const std::optional<std::string> bytes = ReadRegularFile(path, kStoredTextReadLimit);
  if (!bytes) return std::nullopt;
  const std::string joined = WithCrLfLineEnds(*bytes);
  if (joined.size() < kBodyFirstByte) return std::string();
  return joined.substr(kBodyFirstByte - 1);
}

}  // namespace seaherald
