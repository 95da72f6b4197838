#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace seaherald {

// Longest part of a line the readers keep: a 64-byte buffer holding text and terminator.
inline constexpr std::size_t kLineBufferBytes = 63;
// Stored messages are shown from at most this much of the file.
inline constexpr std::size_t kStoredTextReadLimit = 16u * 1024u * 1024u;

// The first lines of a log file as the list, the fewer-errors rule and the clean-up read them.
// Lines end at CR LF, LF or CR; each is kept as a 64-byte buffer would hold it.
struct LogFileHead {
  std::string line1;     // line 1: its first 63 bytes, with "\n" when the line end fits
  std::string line2;     // line 2 likewise; empty when the file has no second line
  std::string lastRead;  // text of the last line read of lines 2-7 (at most 64 bytes, no end)
};

// Why a log file could not be read.
enum class ReadFailure {
  kNone,
  kFile,       // about the file itself: gone, a dangling link, no permission, not a regular file
  kTransient,  // about nothing but this moment: no descriptors or memory left, an I/O error
};

struct LogFileHeadRead {
  std::optional<LogFileHead> head;  // set when the file was read
  ReadFailure failure = ReadFailure::kNone;
};

// Reads lines 1-7 of a file, or tells why that failed.
LogFileHeadRead TryReadLogFileHead(const std::filesystem::path& path);
// Lines 1-7 of a file; nothing when it cannot be opened or read, or is not a regular file.
std::optional<LogFileHead> ReadLogFileHead(const std::filesystem::path& path);

// Stored error count: characters 10-12 of line 2 by the number rule; 0 without a line 2.
int StoredCountOf(const LogFileHead& head);
// Stored error count of the file at `path`: 999 when the file itself cannot be read, nothing
// when reading failed for a reason that says nothing about the file (the count is unknown).
std::optional<int> StoredCountOfFile(const std::filesystem::path& path);

// List caption: characters 15-30 of line 1 (date and time without seconds), no line end.
std::string CaptionOf(const LogFileHead& head);
// "内容" column: the seventh line, or the last line read of lines 2-7, cut to 63 bytes on a
// character boundary.
std::string ContentOf(const LogFileHead& head);
// Date of saving: characters 15-24 of line 1 as "yyyy/mm/dd", digits at fixed places and a
// real calendar date; nothing otherwise.
std::optional<std::chrono::year_month_day> DateOf(const LogFileHead& head);

// The date the clean-up gives a log: the date of its stamp; 1901/01/01 when the file itself
// cannot be read; nothing, and the file stays, when line 1 holds no date (not a file of this
// program) or when reading failed for a reason that says nothing about the file.
std::optional<std::chrono::year_month_day> CleanUpDateOf(const LogFileHeadRead& read);

// The first `limit` bytes of a regular file. Nothing when it cannot be opened or read or is not
// a regular file (a pipe in its place is not waited on); `missing` then tells whether it is not
// there at all.
std::optional<std::string> ReadRegularFile(const std::filesystem::path& path, std::size_t limit,
                                           bool* missing = nullptr);

// The message body as the pane shows it: the file's lines, each ended by CR LF, from byte 59
// (after the three header lines). Nothing when the file cannot be read; at most the first
// kStoredTextReadLimit bytes of the file are used.
std::optional<std::string> ReadStoredText(const std::filesystem::path& path);

}  // namespace seaherald
