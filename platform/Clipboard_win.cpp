// Plain-text clipboard on Windows: Qt's OLE clipboard, read back to prove the copy landed.
#include <QClipboard>
#include <QGuiApplication>
#include <QTimer>

#include "platform/Clipboard.h"
#include "platform/Log.h"
#include "platform/MsgBox.h"

bool SetClipboardText(const QString& text) {
  QClipboard* cb = QGuiApplication::clipboard();
  cb->clear();
  cb->setText(text);
  return cb->text() == text;
}

QString ClipboardText() {
  return QGuiApplication::clipboard()->text();
}

void CopyToClipboard(const QString& text) {
  if (SetClipboardText(text)) return;
  // Another program may hold the clipboard open for a moment (a clipboard history, a remote desktop):
  // once more a little later before the user is told.
  qCInfo(lcClipboard) << "clipboard busy; trying again";
  QTimer::singleShot(150, qApp, [text] {
    if (SetClipboardText(text)) return;
    qCWarning(lcClipboard) << "copy did not land on the Windows clipboard";
    MsgBox(QStringLiteral("クリップボードにコピーできませんでした"), MsgIcon::Error);
  });
}
