#pragma once

#include <filesystem>
#include <string_view>

namespace seaherald {

// A pseudo-terminal that looks like a NAVTEX receiver's serial port: a program that reads a
// serial port opens `link` (a symbolic link to the terminal's device, made here and removed at
// the end) and reads the printer text of each message. Text nobody read by the next message is
// dropped, so a reader that opens the port late does not get old messages; what a reader
// writes is ignored.
class PrinterPseudoTerminal {
 public:
  // Throws std::runtime_error when the terminal or the link cannot be made (a file that is not a
  // link is never replaced).
  explicit PrinterPseudoTerminal(std::filesystem::path link);
  PrinterPseudoTerminal(const PrinterPseudoTerminal&) = delete;
  PrinterPseudoTerminal& operator=(const PrinterPseudoTerminal&) = delete;
  ~PrinterPseudoTerminal();

  void Send(std::string_view text);

 private:
  std::filesystem::path link_;
  int controller_ = -1;
  // Held open so that the terminal outlives each reader that opens and closes it.
  int device_ = -1;
};

}  // namespace seaherald
