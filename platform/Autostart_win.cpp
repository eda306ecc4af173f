// The login entry as a value of the user's Run key, the program's path in quotes.
#include <QCoreApplication>
#include <QDir>
#include <QSettings>

#include "platform/Autostart.h"

namespace autostart {

namespace {
const QString kRunKey =
    QStringLiteral("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run");
const QString kValue = QStringLiteral("Dialnest Plus");
}  // namespace

QString Location() {
  return kRunKey + QLatin1Char('\\') + kValue;
}

bool Enabled() {
  return !QSettings(kRunKey, QSettings::NativeFormat).value(kValue).toString().isEmpty();
}

bool Set(bool on, QString* error) {
  QSettings run(kRunKey, QSettings::NativeFormat);
  if (on)
    run.setValue(kValue, QLatin1Char('"') +
                             QDir::toNativeSeparators(QCoreApplication::applicationFilePath()) +
                             QLatin1Char('"'));
  else
    run.remove(kValue);
  run.sync();
  if (run.status() == QSettings::NoError && Enabled() == on) return true;
  if (error) *error = QStringLiteral("%1 could not be %2").arg(Location(), on ? "written" : "removed");
  return false;
}

}  // namespace autostart
