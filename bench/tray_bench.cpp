// The tray's costs with a phone book of N entries (offscreen): start-up to a ready menu, a group switch,
// the biggest letter's menu made and shown, the organiser opened and closed, and beside them the floor
// (reading the file and splitting its lines, no menus). Usage: tray_bench <folder> <entries>
#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QTimer>
#include <cstdio>
#include <fstream>
#include <string>

#include "core/Form1.h"
#include "core/Module1.h"
#include "organizer/FrmCal.h"
#include "platform/MsgBox.h"
#include "platform/TextFile.h"

namespace {
double Ms(QElapsedTimer& t) {
  return static_cast<double>(t.nsecsElapsed()) / 1e6;
}
long ResidentKb() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  return 0;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  const std::string folder = std::string(argv[1]) + "/";
  const long total = std::stol(argv[2]);
  {
    std::ofstream out(folder + "Teldat1.tel", std::ios::binary);
    long n = 0;
    for (int k = 0; k < 44; ++k) {
      out << "[D@TA]\r\n";
      const long per = total / 44 + (k < total % 44 ? 1 : 0);
      for (long i = 0; i < per; ++i, ++n) out << "entry " << n << "\t03-" << i % 10000 << "\r\n";
    }
    std::ofstream(folder + "dnstplus.ini", std::ios::binary) << "[Data]\r\nDATA1=g\r\nClipen=True\r\n";
  }
  QApplication app(argc, argv);
  SetMsgBoxHandler([](const MsgRecord&) { return MsgResult::Ok; });
  AppContext context(folder);
  Module1::UseContext(&context);

  QElapsedTimer t;
  t.start();
  const textfile::Lines floor = textfile::ReadLines(folder + "Teldat1.tel");
  const double floorMs = Ms(t);

  t.restart();
  Form1 form1(context);
  const double startMs = Ms(t);
  const long rss = ResidentKb();
  form1.SetBookWindowFactory(Form1::SubWindow::Organizer, [&context] { return new FrmCal(context); });

  t.restart();
  form1.mnuC1_Click(1);
  const double switchMs = Ms(t);

  MenuArray& letter = form1.LetterItems(1);
  t.restart();
  letter.Menu()->popup(QPoint(0, 0));
  QApplication::processEvents();
  const double letterMs = Ms(t);
  letter.Menu()->hide();

  // The floor for the letter: a bare QMenu given the same number of items and shown.
  t.restart();
  QMenu bare;
  for (int i = 1; i <= letter.Count(); ++i)
    bare.addAction(QStringLiteral("entry %1\t03-%2").arg(i).arg(i % 10000));
  bare.popup(QPoint(0, 0));
  QApplication::processEvents();
  const double bareMs = Ms(t);
  bare.hide();

  t.restart();
  form1.TrayMessage(0x201, QPoint(700, 500));
  QApplication::processEvents();
  const double openMs = Ms(t);
  double closeMs = 0;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* f = qobject_cast<FrmCal*>(w)) {
      t.restart();
      f->CloseButton();
      QApplication::processEvents();
      closeMs = Ms(t);
    }
  std::printf(
      "entries %ld (%zu lines read): floor (read and split) %.1f ms; start-up to a ready menu %.1f ms, "
      "resident %ld MiB; group switch %.1f ms; a letter of %d entries shown %.1f ms (a bare QMenu of as "
      "many: "
      "%.1f ms); organiser open %.1f ms, close %.1f ms\n",
      total, floor.lines.size(), floorMs, startMs, rss / 1024, switchMs, letter.Count(), letterMs, bareMs,
      openMs, closeMs);
  return 0;
}
