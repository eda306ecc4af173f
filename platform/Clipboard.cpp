// Plain-text clipboard: data-control where the compositor offers it, QClipboard elsewhere.
#include "platform/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

#include "platform/Log.h"
#include "platform/MsgBox.h"
#include "platform/WaylandClipboard.h"

bool SetClipboardText(const QString& text) {
  if (wlclip::DataControl* dc = wlclip::Session()) return dc->SetText(text.toUtf8());
  QClipboard* cb = QGuiApplication::clipboard();
  cb->clear();
  cb->setText(text);
  // A Wayland compositor ignores a selection set by a client without focus, and Qt does not know it.
  if (QGuiApplication::platformName() == QLatin1String("wayland") && !QGuiApplication::focusWindow())
    return false;
  return cb->text() == text;
}

QString ClipboardText() {
  if (wlclip::DataControl* dc = wlclip::Session()) return QString::fromUtf8(dc->Text());
  return QGuiApplication::clipboard()->text();
}

void CopyToClipboard(const QString& text) {
  if (SetClipboardText(text)) return;
  qCWarning(lcClipboard) << "copy did not land on the" << QGuiApplication::platformName() << "clipboard";
  MsgBox(QStringLiteral("クリップボードにコピーできませんでした"), MsgIcon::Error);
}
