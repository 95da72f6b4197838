#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace seaherald {

// Longest value a read returns, in bytes; longer values are cut (never inside a double-byte
// character).
inline constexpr std::size_t ProfileValueLimit = 2047;

// Larger files are not read at all: they are treated as unreadable.
inline constexpr std::uintmax_t ProfileFileSizeLimit = 64u * 1024u * 1024u;

// An INI text held as its original lines, so that updating one key leaves every other byte of the
// file as it was. Names and values are byte strings (Shift-JIS); section and key names compare
// without regard to ASCII letter case. A key found twice counts at its first place, in whichever
// copy of its section that is.
class ProfileDocument {
 public:
  ProfileDocument() = default;
  explicit ProfileDocument(std::string_view bytes);

  // The value as the profile functions return it: blanks around it removed, one pair of matching
  // surrounding quotes removed, cut at a NUL byte and at ProfileValueLimit bytes. Nothing when the
  // section or the key is missing.
  std::optional<std::string> Get(std::string_view section, std::string_view key) const;

  // Replaces the value of the key in place, or adds the key at the end of its section, or adds the
  // section at the end of the text. Fails (changing nothing) on names or values that cannot stand
  // in one line: see IsValidProfileName and IsValidProfileValue.
  bool Set(std::string_view section, std::string_view key, std::string_view value);

  std::string Bytes() const;

 private:
  struct Line {
    std::string text;  // without its line end
    std::string end;   // "\r\n", "\n", "\r" or empty for a last line without one
  };
  struct KeyPlace {
    std::size_t line;
    std::size_t valueStart;  // offset of the value, after '=' and any blanks
  };

  std::optional<KeyPlace> FindKey(std::string_view section, std::string_view key) const;
  std::optional<std::size_t> LastLineOfSection(std::string_view section) const;
  std::string_view LineEndStyle() const;
  void EnsureLastLineEnded();

  std::vector<Line> lines_;
};

// Names must be non-empty, without line breaks, NUL bytes or blanks at either end; a section name
// also without ']' and a key name also without '=' and not starting with '['.
bool IsValidProfileSectionName(std::string_view name);
bool IsValidProfileKeyName(std::string_view name);
// A value must hold no line break or NUL byte.
bool IsValidProfileValue(std::string_view value);

// Where an attempt to store a profile file failed.
enum class ProfileWriteStep {
  None,          // no failure
  InvalidText,   // a name or value that cannot be stored in one line
  ReadExisting,  // the present file exists but could not be read; it was left alone
  CreateTemp,    // no temporary file could be created beside the target
  WriteTemp,     // writing or flushing the temporary file failed
  Replace,       // the temporary file could not replace the target
};

struct ProfileWriteResult {
  ProfileWriteStep failedStep = ProfileWriteStep::None;
  int error = 0;  // errno of the failing call, 0 when none applies
  bool ok() const { return failedStep == ProfileWriteStep::None; }
  std::string Describe() const;  // English, for logs and tool output
};

struct ProfileLoadResult {
  ProfileDocument document;
  bool exists = false;    // something is at the path
  bool readable = false;  // it is a regular file that was read completely
};

// Reads the file at `path`. Missing, unreadable, oversized files and directories give an empty
// document. Never throws.
ProfileLoadResult LoadProfile(const std::filesystem::path& path);

// Writes the document to `path` through a temporary file in the same folder that then replaces the
// target, so that the target is either the old file or the new one, never a part of either. A
// symbolic link at `path` is followed and the file it names is replaced. The new file keeps the
// permission bits of the old one; an old file that the caller may not write is not replaced.
ProfileWriteResult SaveProfile(const std::filesystem::path& path, const ProfileDocument& document);

// Single-key access with the profile functions' semantics: a read of a missing file, section or
// key gives `fallback`; a write updates one key and keeps everything else in the file. A write
// never replaces an existing file that could not be read.
std::string ReadProfileString(const std::filesystem::path& path, std::string_view section,
                              std::string_view key, std::string_view fallback);
ProfileWriteResult WriteProfileString(const std::filesystem::path& path, std::string_view section,
                                      std::string_view key, std::string_view value);

}  // namespace seaherald
