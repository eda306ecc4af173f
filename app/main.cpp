// Dialnest Plus: the hidden main window and the event loop.
#include <QApplication>
#include <algorithm>
#include <string_view>

#include "core/Form1.h"
#include "core/Module1.h"
#include "editor/Form2.h"
#include "find/QuickFind.h"
#include "organizer/FrmCal.h"
#include "platform/Instance.h"
#include "platform/Log.h"
#include "platform/Session.h"
#include "platform/Translation.h"
#include "postal/Form7.h"

int main(int argc, char** argv) {
  logging::Install();
  // The first phone book is read while the toolkit starts (not for `--find` handed to a running one).
  const bool find = std::find(argv + 1, argv + argc, std::string_view("--find")) != argv + argc;
  if (!find) Module1::PreloadPhoneBook(1);
  // Chosen before Qt starts: the plugin cannot change later.
  const std::string plugin = session::PlatformPlugin(session::Environment::FromProcess());
  if (!plugin.empty()) qputenv("QT_QPA_PLATFORM", QByteArray::fromStdString(plugin));
  QApplication app(argc, argv);
  qCInfo(lcSession) << "platform plugin:" << QGuiApplication::platformName();
  LoadToolkitTranslation(app);
  QApplication::setApplicationName(QStringLiteral("Dialnest Plus"));
  // The program lives in the tray: closing a dialog must never end it.
  QApplication::setQuitOnLastWindowClosed(false);

  // `--find` opens the quick-find window of the instance that runs (a key the desktop binds to it);
  // with none running, this one starts and opens it.
  InstanceChannel channel(QString::fromStdString(Module1::AppDir()));
  if (find && channel.Send(QStringLiteral("find"))) return 0;

  Form1 form1;
  form1.SetWindowFactory(Form1::SubWindow::Editor, [] { return new Form2; });
  form1.SetWindowFactory(Form1::SubWindow::Postal, [] { return new Form7; });
  form1.SetWindowFactory(Form1::SubWindow::Organizer, [] { return new FrmCal; });
  form1.SetWindowFactory(Form1::SubWindow::Find, [] { return new QuickFind; });
  QObject::connect(&channel, &InstanceChannel::Received, &form1, [&form1](const QString& command) {
    if (command == QStringLiteral("find")) form1.OpenQuickFind();
  });
  channel.Listen();
  if (find) form1.OpenQuickFind();
  QObject::connect(&form1, &Form1::QuitRequested, &app, [] { QCoreApplication::exit(0); });
  return QApplication::exec();
}
