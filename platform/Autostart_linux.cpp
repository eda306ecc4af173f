// The login entry as an XDG autostart file, $XDG_CONFIG_HOME/autostart/dialnestplus.desktop.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>

#include "platform/Autostart.h"

namespace autostart {

namespace {
// An Exec argument quoted the way freedesktop desktop entries quote them.
QString Quoted(QString arg) {
  if (!arg.contains(QRegularExpression(QStringLiteral("[ \\t\\n\"'\\\\><~|&;$*?#()`=%]")))) return arg;
  arg.replace(QLatin1Char('\\'), QStringLiteral("\\\\\\\\"));
  arg.replace(QLatin1Char('"'), QStringLiteral("\\\\\""));
  arg.replace(QLatin1Char('`'), QStringLiteral("\\\\`"));
  arg.replace(QLatin1Char('$'), QStringLiteral("\\\\$"));
  arg.replace(QLatin1Char('%'), QStringLiteral("%%"));
  return QLatin1Char('"') + arg + QLatin1Char('"');
}
}  // namespace

QString Location() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/autostart/dialnestplus.desktop");
}

bool Enabled() {
  QFile f(Location());
  if (!f.open(QIODevice::ReadOnly)) return false;
  for (const QByteArray& line : f.readAll().split('\n'))
    if (line.trimmed() == "Hidden=true") return false;
  return true;
}

bool Set(bool on, QString* error) {
  const QString path = Location();
  if (!on) {
    if (!QFile::exists(path) || QFile::remove(path)) return true;
    if (error) *error = QStringLiteral("%1 could not be removed").arg(path);
    return false;
  }
  if (!QDir().mkpath(QFileInfo(path).path())) {
    if (error) *error = QStringLiteral("%1 could not be made").arg(QFileInfo(path).path());
    return false;
  }
  const QString entry = QStringLiteral(
                            "[Desktop Entry]\n"
                            "Type=Application\n"
                            "Name=Dialnest Plus\n"
                            "Comment=Phone books in the tray and an organiser\n"
                            "Comment[ja]=タスクトレイの電話帳とスケジュール帳\n"
                            "Exec=%1\n"
                            "Icon=dialnestplus\n"
                            "Terminal=false\n"
                            "X-GNOME-Autostart-enabled=true\n")
                            .arg(Quoted(QCoreApplication::applicationFilePath()));
  QSaveFile f(path);
  if (f.open(QIODevice::WriteOnly) && f.write(entry.toUtf8()) >= 0 && f.commit()) return true;
  if (error) *error = QStringLiteral("%1: %2").arg(path, f.errorString());
  return false;
}

}  // namespace autostart
