#include "app/StartupText.h"

#include <QDateTime>
#include <QStringList>

#include "app/QtText.h"
#include "app/Translation.h"
#include "msglog/BroadcastSchedule.h"
#include "msglog/Catalogue.h"

namespace seaherald {

namespace {

constexpr int NamedStations = 5;

// Station times at one hour: `first` for the first station, then `spacing` minutes apart.
QString ScheduleRow(int firstHour, int firstMinute, int spacing, bool last) {
  QStringList fields;
  for (int station = 0; station < NamedStations; ++station) {
    const int minutes = firstHour * 60 + firstMinute + station * spacing;
    fields << QStringLiteral("%1%2")
                  .arg(minutes / 60, 2, 10, QChar('0'))
                  .arg(minutes % 60, 2, 10, QChar('0'));
  }
  QString row = QStringLiteral("\t") + fields.join(QChar('\t'));
  if (last) row += QStringLiteral(" JST");
  return row;
}

QString StationRow(const Translation& text) {
  QStringList names;
  for (int base = 0; base < NamedStations; ++base) {
    names << ToQString(Catalogue::BaseName(text.NameLang(), base));
  }
  return QStringLiteral("\t") + names.join(QChar('\t'));
}

QStringList ServiceBlock(const Translation& text, const QString& title, int firstHour,
                         int spacing) {
  QStringList lines{QStringLiteral("    ") + title, StationRow(text)};
  for (int slot = 0; slot < 6; ++slot) {
    lines << ScheduleRow(firstHour + 4 * slot, 0, spacing, slot == 5);
  }
  return lines;
}

}  // namespace

QString StartupText(const Translation& text, const AreaStations& area,
                    const AreaStations& secondArea) {
  QStringList lines{QStringLiteral("SEAHERALD ver.1.0.1 build000"), QString(),
                    text.Tr("ナブテックス放送スケジュール")};
  if (area.Chosen()) {
    const int utcOffset = QDateTime::currentDateTime().offsetFromUtc() / 60;
    lines << QString::fromStdString(ScheduleText(area, utcOffset));
    if (secondArea.Chosen() && secondArea.Choice().kilohertz != area.Choice().kilohertz)
      lines << QString::fromStdString(ScheduleText(secondArea, utcOffset));
    return lines.join(QChar('\n'));
  }
  lines << ServiceBlock(text, text.Tr("英文 (518kHz)"), 2, 10);
  lines << ServiceBlock(text, text.Tr("和文 (424kHz)"), 1, 17);
  return lines.join(QChar('\n'));
}

}  // namespace seaherald
