#include "app/ViewFonts.h"

#include <QStringList>

namespace seaherald {

void InstallFontSubstitutes() {
  const QStringList gothic{QStringLiteral("IPAGothic"), QStringLiteral("IPAexGothic"),
                           QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("monospace")};
  const QStringList proportional{QStringLiteral("IPAPGothic"), QStringLiteral("IPAexGothic"),
                                 QStringLiteral("Noto Sans CJK JP"), QStringLiteral("sans-serif")};
  QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"), gothic);
  QFont::insertSubstitutions(QStringLiteral("MS Gothic"), gothic);
  QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"), proportional);
  QFont::insertSubstitutions(QStringLiteral("MS PGothic"), proportional);
  QFont::insertSubstitutions(QStringLiteral("ＭＳ 明朝"),
                             {QStringLiteral("IPAMincho"), QStringLiteral("serif")});
  QFont::insertSubstitutions(QStringLiteral("Tahoma"),
                             {QStringLiteral("DejaVu Sans"), QStringLiteral("IPAPGothic")});
}

QFont ControlFont() {
  return PixelFont(QStringLiteral("Tahoma"), 11);
}

QFont PixelFont(const QString& face, int pixels) {
  QFont font(face);
  font.setPixelSize(pixels);
  return font;
}

}  // namespace seaherald
