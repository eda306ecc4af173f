// Opening files and folders through Qt's desktop services, with what failed in the log.
#include "platform/Desktop.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include "platform/Log.h"

namespace desktop {
namespace {
std::function<bool(const QString&)>& TestOpener() {
  static std::function<bool(const QString&)> open;
  return open;
}
}  // namespace

void SetOpenerForTest(std::function<bool(const QString&)> open) {
  TestOpener() = std::move(open);
}

void Open(const QString& path, const std::function<void()>& failed) {
  if (TestOpener()) {
    if (!TestOpener()(path)) failed();
    return;
  }
  // xdg-open starts whatever is set up and says by its exit code when nothing is (Qt only tells
  // whether xdg-open itself started): asked without waiting, so the window thread never blocks.
  const QString xdgOpen = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
  if (!xdgOpen.isEmpty()) {
    auto* p = new QProcess;
    QObject::connect(p, &QProcess::finished, p, [p, failed, path](int code, QProcess::ExitStatus status) {
      if (status != QProcess::NormalExit || code != 0) {
        qCInfo(lcSession) << "xdg-open could not open" << path << "exit code" << code;
        failed();
      }
      p->deleteLater();
    });
    QObject::connect(p, &QProcess::errorOccurred, p, [p, failed](QProcess::ProcessError e) {
      if (e != QProcess::FailedToStart) return;
      failed();
      p->deleteLater();
    });
    p->start(xdgOpen, {path});
    return;
  }
  if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path))) failed();
}

}  // namespace desktop
