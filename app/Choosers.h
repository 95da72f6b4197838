#pragma once

#include <cstdint>
#include <optional>
#include <string>

class QWidget;

namespace seaherald {

struct FontChoice {
  std::string face;  // Shift-JIS
  int pointSize = 9;
};

// The font and colour choosers of the settings dialog. Nothing comes back when the user
// cancels. Tests answer them in place of the user.
class Choosers {
 public:
  virtual ~Choosers() = default;
  virtual std::optional<FontChoice> ChooseFont(const FontChoice& current) = 0;
  virtual std::optional<std::uint32_t> ChooseColour(std::uint32_t currentBgr) = 0;
};

// The toolkit's modal choosers: face and size only for fonts.
class QtChoosers final : public Choosers {
 public:
  explicit QtChoosers(QWidget* parent) : parent_(parent) {}
  std::optional<FontChoice> ChooseFont(const FontChoice& current) override;
  std::optional<std::uint32_t> ChooseColour(std::uint32_t currentBgr) override;

 private:
  QWidget* parent_;
};

}  // namespace seaherald
