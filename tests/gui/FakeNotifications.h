#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

namespace seaherald::test {

// The freedesktop notification service as far as the alarm uses it: it records every call.
class FakeNotifications final : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

 public:
  // Takes the service's name on `bus`; false when another holds it or the bus refuses.
  bool ServeOn(QDBusConnection& bus) {
    return bus.registerService(QStringLiteral("org.freedesktop.Notifications")) &&
           bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), this,
                              QDBusConnection::ExportScriptableSlots);
  }

  // "application|summary|body" of every call.
  QStringList calls;
  QVariantMap lastHints;

 public slots:
  Q_SCRIPTABLE uint Notify(const QString& app, uint, const QString&, const QString& summary,
                           const QString& body, const QStringList&, const QVariantMap& hints, int) {
    calls << app + QStringLiteral("|") + summary + QStringLiteral("|") + body;
    lastHints = hints;
    return static_cast<uint>(calls.size());
  }
};

}  // namespace seaherald::test
