#include "platform/ProfileFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <new>
#include <system_error>

#include "platform/WriteAll.h"

namespace seaherald {

namespace {

constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view DefaultLineEnd = "\r\n";
constexpr mode_t NewFileMode = 0644;

bool IsLeadByte(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Length of the character at `pos`: two bytes for a Shift-JIS lead byte followed by anything.
std::size_t CharLength(std::string_view text, std::size_t pos) {
  return IsLeadByte(text[pos]) && pos + 1 < text.size() ? 2 : 1;
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

char FoldAscii(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Letter case is ignored for single-byte characters only, so trail bytes never fold.
bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t pos = 0; pos < a.size();) {
    const std::size_t length = CharLength(a, pos);
    if (length == 2) {
      if (a.substr(pos, 2) != b.substr(pos, 2)) return false;
    } else if (FoldAscii(a[pos]) != FoldAscii(b[pos])) {
      return false;
    }
    pos += length;
  }
  return true;
}

// Position of `wanted` as a whole character, so that trail bytes are never mistaken for it.
std::size_t FindCharacter(std::string_view text, char wanted) {
  for (std::size_t pos = 0; pos < text.size(); pos += CharLength(text, pos)) {
    if (text[pos] == wanted) return pos;
  }
  return std::string_view::npos;
}

std::string_view CutToLimit(std::string_view text, std::size_t limit) {
  std::size_t end = 0;
  while (end < text.size()) {
    const std::size_t next = end + CharLength(text, end);
    if (next > limit) break;
    end = next;
  }
  return text.substr(0, end);
}

std::string_view CutAtNul(std::string_view text) {
  return text.substr(0, text.find('\0'));
}

std::string_view StripQuotes(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

enum class LineKind { Other, Section, Key };

struct ParsedLine {
  LineKind kind = LineKind::Other;
  std::string_view name;
  std::size_t valueStart = 0;
};

ParsedLine ParseLine(std::string_view text, bool firstLine) {
  std::size_t offset = 0;
  if (firstLine && text.starts_with(Utf8Bom)) offset = Utf8Bom.size();
  while (offset < text.size() && IsBlank(text[offset]))
    ++offset;
  const std::string_view body = text.substr(offset);
  if (body.starts_with('[')) {
    const std::size_t close = FindCharacter(body.substr(1), ']');
    if (close == std::string_view::npos) return {};
    return {LineKind::Section, TrimBlanks(CutAtNul(body.substr(1, close))), 0};
  }
  const std::size_t equals = FindCharacter(body, '=');
  if (equals == std::string_view::npos) return {};
  const std::string_view name = TrimBlanks(CutAtNul(body.substr(0, equals)));
  if (name.empty()) return {};
  std::size_t valueStart = offset + equals + 1;  // blanks before the value stay on rewrite
  while (valueStart < text.size() && IsBlank(text[valueStart]))
    ++valueStart;
  return {LineKind::Key, name, valueStart};
}

bool HasNoLineBreakOrNul(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

bool IsValidName(std::string_view name) {
  return !name.empty() && HasNoLineBreakOrNul(name) && TrimBlanks(name).size() == name.size();
}

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  // Closes now so that a failing close (delayed write errors) can be reported.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

// The file a write lands in: a symbolic link is replaced by nothing, its target is.
std::filesystem::path ResolveTarget(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_symlink(std::filesystem::symlink_status(path, error))) return path;
  const std::filesystem::path resolved = std::filesystem::weakly_canonical(path, error);
  return error ? path : resolved;
}

void SyncFolder(const std::filesystem::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);  // best effort: the rename itself already happened
  ::close(fd);
}

ProfileWriteResult Failure(ProfileWriteStep step, int error) {
  return {step, error};
}

// Appending in place; GCC 12 warns falsely (-Wrestrict) about "literal" + std::string.
std::string Joined(std::initializer_list<std::string_view> parts) {
  std::string joined;
  for (const std::string_view part : parts)
    joined += part;
  return joined;
}

// Writes `bytes` over the existing file `target`. The space is reserved first, so that a full
// disk fails before anything of the old content is overwritten.
ProfileWriteResult RewriteInPlace(const std::filesystem::path& target, std::string_view bytes,
                                  int temporaryError) {
  FileDescriptor file(::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
  if (file.get() < 0) return Failure(ProfileWriteStep::CreateTemp, temporaryError);
  struct stat status {};
  if (::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
    return Failure(ProfileWriteStep::CreateTemp, temporaryError);
  }
  const off_t size = static_cast<off_t>(bytes.size());
  const int reserved = size > 0 ? ::posix_fallocate(file.get(), 0, size) : 0;
  if (reserved != 0 && reserved != EOPNOTSUPP && reserved != EINVAL) {
    return Failure(ProfileWriteStep::WriteTemp, reserved);
  }
  const bool written =
      WriteAll(file.get(), bytes) && ::ftruncate(file.get(), size) == 0 && ::fsync(file.get()) == 0;
  const int writeError = errno;
  if (!file.Close() || !written) return Failure(ProfileWriteStep::WriteTemp, writeError);
  return {};
}

}  // namespace

ProfileDocument::ProfileDocument(std::string_view bytes) {
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t stop = bytes.find_first_of("\r\n", start);
    if (stop == std::string_view::npos) {
      lines_.push_back({std::string(bytes.substr(start)), {}});
      break;
    }
    const bool crlf = bytes[stop] == '\r' && stop + 1 < bytes.size() && bytes[stop + 1] == '\n';
    const std::size_t endLength = crlf ? 2 : 1;
    lines_.push_back({std::string(bytes.substr(start, stop - start)),
                      std::string(bytes.substr(stop, endLength))});
    start = stop + endLength;
  }
}

std::optional<ProfileDocument::KeyPlace> ProfileDocument::FindKey(std::string_view section,
                                                                  std::string_view key) const {
  bool inSection = false;
  for (std::size_t index = 0; index < lines_.size(); ++index) {
    const ParsedLine parsed = ParseLine(lines_[index].text, index == 0);
    if (parsed.kind == LineKind::Section) {
      inSection = SameName(parsed.name, section);
    } else if (inSection && parsed.kind == LineKind::Key && SameName(parsed.name, key)) {
      return KeyPlace{index, parsed.valueStart};
    }
  }
  return std::nullopt;
}

std::optional<std::size_t> ProfileDocument::LastLineOfSection(std::string_view section) const {
  std::optional<std::size_t> last;
  for (std::size_t index = 0; index < lines_.size(); ++index) {
    const ParsedLine parsed = ParseLine(lines_[index].text, index == 0);
    if (parsed.kind == LineKind::Section) {
      if (last) return last;  // the first copy of the section has ended
      if (SameName(parsed.name, section)) last = index;
    } else if (last && parsed.kind == LineKind::Key) {
      last = index;
    }
  }
  return last;
}

std::optional<std::string> ProfileDocument::Get(std::string_view section,
                                                std::string_view key) const {
  const std::optional<KeyPlace> place = FindKey(section, key);
  if (!place) return std::nullopt;
  std::string_view value = std::string_view(lines_[place->line].text).substr(place->valueStart);
  value = StripQuotes(TrimBlanks(CutAtNul(value)));
  return std::string(CutToLimit(value, ProfileValueLimit));
}

std::string_view ProfileDocument::LineEndStyle() const {
  for (const Line& line : lines_) {
    if (!line.end.empty()) return line.end;
  }
  return DefaultLineEnd;
}

void ProfileDocument::EnsureLastLineEnded() {
  if (!lines_.empty() && lines_.back().end.empty()) lines_.back().end = LineEndStyle();
}

bool ProfileDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
  if (!IsValidProfileSectionName(section) || !IsValidProfileKeyName(key) ||
      !IsValidProfileValue(value)) {
    return false;
  }
  if (const std::optional<KeyPlace> place = FindKey(section, key)) {
    std::string& text = lines_[place->line].text;
    text.replace(place->valueStart, std::string::npos, value);
    return true;
  }
  const std::string end(LineEndStyle());
  std::string keyLine = Joined({key, "=", value});
  if (const std::optional<std::size_t> last = LastLineOfSection(section)) {
    if (lines_[*last].end.empty()) lines_[*last].end = end;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(*last) + 1,
                  Line{std::move(keyLine), end});
    return true;
  }
  EnsureLastLineEnded();
  if (!lines_.empty() && !TrimBlanks(lines_.back().text).empty()) lines_.push_back({{}, end});
  lines_.push_back({Joined({"[", section, "]"}), end});
  lines_.push_back({std::move(keyLine), end});
  return true;
}

std::string ProfileDocument::Bytes() const {
  std::string bytes;
  for (const Line& line : lines_) {
    bytes += line.text;
    bytes += line.end;
  }
  return bytes;
}

bool IsValidProfileSectionName(std::string_view name) {
  return IsValidName(name) && FindCharacter(name, ']') == std::string_view::npos;
}

bool IsValidProfileKeyName(std::string_view name) {
  return IsValidName(name) && FindCharacter(name, '=') == std::string_view::npos &&
         !name.starts_with('[');
}

bool IsValidProfileValue(std::string_view value) {
  return HasNoLineBreakOrNul(value);
}

std::string ProfileWriteResult::Describe() const {
  std::string text;
  switch (failedStep) {
    case ProfileWriteStep::None:
      return "written";
    case ProfileWriteStep::InvalidText:
      text = "a name or value cannot be stored in one line";
      break;
    case ProfileWriteStep::ReadExisting:
      text = "the existing file cannot be read";
      break;
    case ProfileWriteStep::CreateTemp:
      text = "cannot create a temporary file beside it";
      break;
    case ProfileWriteStep::WriteTemp:
      text = "cannot write the temporary file";
      break;
    case ProfileWriteStep::Replace:
      text = "cannot replace the file";
      break;
  }
  if (error != 0) text += std::string(": ") + std::strerror(error);
  return text;
}

ProfileLoadResult LoadProfile(const std::filesystem::path& path) {
  ProfileLoadResult result;
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  result.exists = std::filesystem::exists(status);
  if (!std::filesystem::is_regular_file(status)) return result;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error || size > ProfileFileSizeLimit) return result;
  try {
    std::ifstream stream(path, std::ios::binary);
    if (!stream) return result;
    const std::string bytes((std::istreambuf_iterator<char>(stream)),
                            std::istreambuf_iterator<char>());
    if (stream.bad()) return result;
    result.document = ProfileDocument(bytes);
    result.readable = true;
  } catch (const std::exception&) {
    result.document = ProfileDocument();
  }
  return result;
}

ProfileWriteResult SaveProfile(const std::filesystem::path& path, const ProfileDocument& document) {
  const std::filesystem::path target = ResolveTarget(path);
  std::filesystem::path folder = target.parent_path();
  if (folder.empty()) folder = ".";
  // A file the user may not write stays as it is: the rename below would go round its mode.
  if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0 && errno == EACCES) {
    return Failure(ProfileWriteStep::Replace, errno);
  }
  std::string temporaryName =
      (folder / Joined({".", target.filename().string(), ".XXXXXX"})).string();

  FileDescriptor file(::mkostemp(temporaryName.data(), O_CLOEXEC));
  if (file.get() < 0) {
    const int error = errno;
    // A writable file in a folder the user may not write (an installed copy): no temporary
    // file can stand beside it, so the file itself is rewritten.
    if (error == EACCES || error == EPERM) return RewriteInPlace(target, document.Bytes(), error);
    return Failure(ProfileWriteStep::CreateTemp, error);
  }

  struct stat existing {};
  const mode_t mode =
      ::stat(target.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : NewFileMode;
  ::fchmod(file.get(), mode);  // a failure here leaves a private file, which is still correct

  const bool written = WriteAll(file.get(), document.Bytes()) && ::fsync(file.get()) == 0;
  const int writeError = errno;
  if (!file.Close() || !written) {
    const int error = written ? errno : writeError;
    ::unlink(temporaryName.c_str());
    return Failure(ProfileWriteStep::WriteTemp, error);
  }
  if (::rename(temporaryName.c_str(), target.c_str()) != 0) {
    const int error = errno;
    ::unlink(temporaryName.c_str());
    return Failure(ProfileWriteStep::Replace, error);
  }
  SyncFolder(folder);
  return {};
}

std::string ReadProfileString(const std::filesystem::path& path, std::string_view section,
                              std::string_view key, std::string_view fallback) {
  const ProfileLoadResult loaded = LoadProfile(path);
  return loaded.document.Get(section, key).value_or(std::string(fallback));
}

ProfileWriteResult WriteProfileString(const std::filesystem::path& path, std::string_view section,
                                      std::string_view key, std::string_view value) {
  ProfileLoadResult loaded = LoadProfile(path);
  if (loaded.exists && !loaded.readable) return Failure(ProfileWriteStep::ReadExisting, 0);
  if (!loaded.document.Set(section, key, value)) return Failure(ProfileWriteStep::InvalidText, 0);
  return SaveProfile(path, loaded.document);
}

}  // namespace seaherald
