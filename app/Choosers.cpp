#include "app/Choosers.h"

#include <QColorDialog>
#include <QFontDialog>
#include <QGroupBox>

#include "app/ColourPanel.h"
#include "app/QtText.h"

namespace seaherald {

std::optional<FontChoice> QtChoosers::ChooseFont(const FontChoice& current) {
  QFont font(ToQString(current.face));
  font.setPointSize(std::max(current.pointSize, 1));
  QFontDialog dialog(font, parent_);
  dialog.setOption(QFontDialog::DontUseNativeDialog);
  // Only face and size are offered: the effects (underline, strike-out) are not settings.
  for (QGroupBox* group : dialog.findChildren<QGroupBox*>())
    group->hide();
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QFont chosen = dialog.selectedFont();
  // A face chosen by pixel size has no point size; at 96 dots per inch 4 pixels are 3 points.
  const int points =
      chosen.pointSize() > 0 ? chosen.pointSize() : std::max(1, (chosen.pixelSize() * 3 + 2) / 4);
  return FontChoice{ToSjis(chosen.family()), points};
}

std::optional<std::uint32_t> QtChoosers::ChooseColour(std::uint32_t currentBgr) {
  const QColor chosen = QColorDialog::getColor(QColorFromBgr(currentBgr), parent_);
  if (!chosen.isValid()) return std::nullopt;
  return BgrFromQColor(chosen);
}

}  // namespace seaherald
