// Modal message box over QMessageBox, or the installed handler.
#include "platform/MsgBox.h"

#include <QMessageBox>

namespace {
MsgHandler& Handler() {
  static MsgHandler h;
  return h;
}
}  // namespace

void SetMsgBoxHandler(MsgHandler handler) {
  Handler() = std::move(handler);
}

MsgResult MsgBox(const QString& text, MsgIcon icon, MsgButtons buttons, const QString& title) {
  if (Handler()) return Handler()({text, title, icon, buttons});
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
      break;
  }
  box.setWindowFlag(Qt::WindowStaysOnTopHint);
  switch (box.exec()) {
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
