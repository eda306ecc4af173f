// Modal message box over QMessageBox, or the installed handler.
#include "platform/MsgBox.h"

#include <QMessageBox>

#include "platform/Log.h"
#include "platform/TextFile.h"

namespace {
MsgHandler& Handler() {
  static MsgHandler h;
  return h;
}

// The boxes on screen now, innermost last: a box waits in a nested event loop, where the same command
// (a panel's repeated click, a timer) may ask for another.
QList<QMessageBox*>& OnScreen() {
  static QList<QMessageBox*> boxes;
  return boxes;
}
constexpr qsizetype kMostNested = 8;

// What a box that is not shown answers: the choice that changes nothing.
MsgResult Declined(MsgButtons buttons) {
  switch (buttons) {
    case MsgButtons::Ok:
      return MsgResult::Ok;
    case MsgButtons::YesNo:
      return MsgResult::No;
    default:
      return MsgResult::Cancel;
  }
}
}  // namespace

QString WithReason(const QString& message, int error) {
  const std::string reason = textfile::ReasonText(error);
  return reason.empty() ? message : message + QLatin1Char('\n') + QString::fromStdString(reason);
}

void SetMsgBoxHandler(MsgHandler handler) {
  Handler() = std::move(handler);
}

MsgResult MsgBox(const QString& text, MsgIcon icon, MsgButtons buttons, const QString& title) {
  if (icon == MsgIcon::Error || icon == MsgIcon::Warning)
    qCWarning(lcMessages).noquote() << text;
  else
    qCInfo(lcMessages).noquote() << text;
  if (Handler()) return Handler()({text, title, icon, buttons});
  // A message already on screen is not shown a second time, and boxes never pile up without bound.
  for (QMessageBox* shown : OnScreen())
    if (shown->text() == text && shown->windowTitle() == title) {
      shown->raise();
      shown->activateWindow();
      return Declined(buttons);
    }
  if (OnScreen().size() >= kMostNested) {
    qWarning("message not shown, %lld boxes already wait: %s", static_cast<long long>(OnScreen().size()),
             qUtf8Printable(text));
    return Declined(buttons);
  }
  QMessageBox box;
  box.setWindowTitle(title);
  box.setText(text);
  switch (icon) {
    case MsgIcon::None:
      box.setIcon(QMessageBox::NoIcon);
      break;
    case MsgIcon::Error:
      box.setIcon(QMessageBox::Critical);
      break;
    case MsgIcon::Warning:
      box.setIcon(QMessageBox::Warning);
      break;
    case MsgIcon::Information:
      box.setIcon(QMessageBox::Information);
      break;
    case MsgIcon::Question:
      box.setIcon(QMessageBox::Question);
      break;
  }
  switch (buttons) {
    case MsgButtons::Ok:
      box.setStandardButtons(QMessageBox::Ok);
      break;
    case MsgButtons::OkCancel:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      break;
    case MsgButtons::YesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      break;
    case MsgButtons::YesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      box.setDefaultButton(QMessageBox::Cancel);  // the three-way questions' safe answer: nothing yet
      break;
  }
  box.setWindowFlag(Qt::WindowStaysOnTopHint);
  OnScreen().append(&box);
  const int answer = box.exec();
  OnScreen().removeOne(&box);
  switch (answer) {
    case QMessageBox::Cancel:
      return MsgResult::Cancel;
    case QMessageBox::Yes:
      return MsgResult::Yes;
    case QMessageBox::No:
      return MsgResult::No;
    default:
      return MsgResult::Ok;
  }
}

ChangedFileChoice AskAboutChangedFile(const QString& file) {
  switch (MsgBox(QStringLiteral("%1 はこのウィンドウで開いた後に、ほかのプログラムで変更されています\n"
                                "このウィンドウの内容で上書きしますか？\n"
                                "（はい：上書きします　いいえ：ほかのプログラムの内容を読み込みます\n"
                                "　キャンセル：どちらも残して、編集を続けます）")
                     .arg(file),
                 MsgIcon::Warning, MsgButtons::YesNoCancel)) {
    case MsgResult::Yes:
      return ChangedFileChoice::Overwrite;
    case MsgResult::No:
      return ChangedFileChoice::TakeTheirs;
    default:
      return ChangedFileChoice::KeepBoth;
  }
}
