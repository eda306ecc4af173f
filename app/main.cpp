// Dialnest Plus: the hidden main window and the event loop.
#include <QApplication>
#include <QCursor>
#include <QLocale>
#include <string>
#include <vector>

#include "core/AppContext.h"
#include "core/CommandLine.h"
#include "core/DataFiles.h"
#include "core/Form1.h"
#include "core/Module1.h"
#include "core/PhoneMenu.h"
#include "editor/Form2.h"
#include "find/QuickFind.h"
#include "organizer/FrmCal.h"
#include "platform/Console.h"
#include "platform/Instance.h"
#include "platform/Log.h"
#include "platform/ProgramFolder.h"
#include "platform/Session.h"
#include "platform/Translation.h"
#include "postal/Form7.h"

namespace {
// The request a second start hands to the copy that runs; "start" opens nothing there.
QString CommandOf(commandline::Action a) {
  switch (a) {
    case commandline::Action::Find:
      return QStringLiteral("find");
    case commandline::Action::Organizer:
      return QStringLiteral("organizer");
    default:
      return QStringLiteral("start");
  }
}
}  // namespace

int main(int argc, char** argv) {
  // Answered before anything starts: no display, no data folder, no second copy.
  const commandline::Request request = commandline::Parse(std::vector<std::string>(argv + 1, argv + argc));
  const bool japanese = QLocale::system().language() == QLocale::Japanese;
  switch (request.action) {
    case commandline::Action::Help:
      console::Write(commandline::HelpText(japanese));
      return 0;
    case commandline::Action::Version:
      console::Write(commandline::VersionText());
      return 0;
    case commandline::Action::Error:
      console::Write(commandline::UnknownOptionText(request.bad, japanese), console::Stream::Error);
      return 2;
    default:
      break;
  }
  logging::Install();
  // What the windows share for this run, over the data folder the system's rule gives.
  AppContext context(programfolder::DataFolder());
  Module1::UseContext(&context);

  // One copy per user and data folder: a later start hands its request over and ends, on screen or not.
  InstanceChannel channel(QString::fromStdString(context.AppDir()));
  if (!channel.TakeLock()) {
    QCoreApplication handing(argc, argv);
    if (channel.Hand(CommandOf(request.action))) return 0;
    console::Write(japanese ? "dialnestplus: 起動中のプログラムが応答しません\n"
                            : "dialnestplus: the running copy does not answer\n",
                   console::Stream::Error);
    return 1;
  }

  // The first phone book is read while the toolkit starts.
  PhoneMenu::Preload(context.DataPath(datafiles::PhoneBook(1)));
  // Chosen before Qt starts: the plugin cannot change later.
  const std::string plugin = session::PlatformPlugin(session::Environment::FromProcess());
  if (!plugin.empty()) qputenv("QT_QPA_PLATFORM", QByteArray::fromStdString(plugin));
  QApplication app(argc, argv);
  qCInfo(lcSession) << "platform plugin:" << QGuiApplication::platformName();
  qCInfo(lcStores) << "data folder:" << QString::fromStdString(context.AppDir());
  LoadToolkitTranslation(app);
  QApplication::setApplicationName(QStringLiteral("Dialnest Plus"));
  // The program lives in the tray: closing a dialog must never end it.
  QApplication::setQuitOnLastWindowClosed(false);

  Form1 form1(context);
  form1.SetBookWindowFactory(Form1::SubWindow::Editor, [&context] { return new Form2(context); });
  form1.SetWindowFactory(Form1::SubWindow::Postal, [&context] { return Form7::Open(context); });
  form1.SetBookWindowFactory(Form1::SubWindow::Organizer, [&context] { return new FrmCal(context); });
  form1.SetWindowFactory(Form1::SubWindow::Find, [&context] { return new QuickFind(context); });
  QObject::connect(&channel, &InstanceChannel::Received, &form1, [&form1](const QString& command) {
    qCInfo(lcSession) << "request from a second start:" << command;
    if (command == QStringLiteral("find")) form1.OpenQuickFind();
    if (command == QStringLiteral("organizer")) form1.OpenOrganizerAt(QCursor::pos());
  });
  channel.Listen();
  if (request.action == commandline::Action::Find) form1.OpenQuickFind();
  if (request.action == commandline::Action::Organizer) form1.OpenOrganizerAt(QCursor::pos());
  QObject::connect(&form1, &Form1::QuitRequested, &app, [] { QCoreApplication::exit(0); });
  return QApplication::exec();
}
