#include "app/StartupText.h"

#include <QStringList>

namespace seaherald {

namespace {

// Station times at one hour: `first` for the first station, then `spacing` minutes apart.
QString ScheduleRow(int firstHour, int firstMinute, int spacing, bool last) {
  QStringList fields;
  for (int station = 0; station < 5; ++station) {
    const int minutes = firstHour * 60 + firstMinute + station * spacing;
    fields << QStringLiteral("%1%2")
                  .arg(minutes / 60, 2, 10, QChar('0'))
                  .arg(minutes % 60, 2, 10, QChar('0'));
  }
  QString row = QStringLiteral("\t") + fields.join(QChar('\t'));
  if (last) row += QStringLiteral(" JST");
  return row;
}

QStringList ServiceBlock(const QString& title, int firstHour, int spacing) {
  QStringList lines{QStringLiteral("    ") + title,
                    QStringLiteral("\t那覇\t門司\t横浜\t小樽\t釧路")};
  for (int slot = 0; slot < 6; ++slot) {
    lines << ScheduleRow(firstHour + 4 * slot, 0, spacing, slot == 5);
  }
  return lines;
}

}  // namespace

QString StartupText() {
  QStringList lines{QStringLiteral("SEAHERALD ver.1.0.1 build000"), QString(),
                    QStringLiteral("ナブテックス放送スケジュール")};
  lines << ServiceBlock(QStringLiteral("英文 (518kHz)"), 2, 10);
  lines << ServiceBlock(QStringLiteral("和文 (424kHz)"), 1, 17);
  return lines.join(QChar('\n'));
}

}  // namespace seaherald
