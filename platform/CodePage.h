#pragma once

#include <iconv.h>

#include <optional>
#include <string>
#include <string_view>

namespace seaherald {

// Converts between Shift-JIS (code page 932, the program's own text) and UTF-8 (file names,
// the GUI toolkit). A conversion either succeeds whole or gives nothing: bytes that are not
// valid in the source encoding, a truncated double-byte character, or a character the target
// cannot hold all fail it. Text made only of ASCII bytes is passed through without iconv.
//
// One object holds its iconv descriptors for its lifetime, so scans over many names pay the
// set-up once. Not thread-safe; each owner keeps its own.
class CodePageConverter {
 public:
  CodePageConverter();
  ~CodePageConverter();
  CodePageConverter(const CodePageConverter&) = delete;
  CodePageConverter& operator=(const CodePageConverter&) = delete;

  std::optional<std::string> Utf8FromCp932(std::string_view cp932) const;
  std::optional<std::string> Cp932FromUtf8(std::string_view utf8) const;

  // Like Cp932FromUtf8, but every character that does not convert becomes "?": for texts that
  // are only shown, such as a path in an error message.
  std::string Cp932FromUtf8Lossy(std::string_view utf8) const;

 private:
  iconv_t toUtf8_;
  iconv_t toCp932_;
};

// One-off conversions for callers that convert rarely.
std::optional<std::string> Utf8FromCp932(std::string_view cp932);
std::optional<std::string> Cp932FromUtf8(std::string_view utf8);

// Shift-JIS bytes of a UTF-8 text that is known to convert, such as a fixed Japanese literal.
// Throws std::logic_error when it does not, since that is a fault of the program.
std::string Cp932Text(std::string_view utf8);

}  // namespace seaherald
