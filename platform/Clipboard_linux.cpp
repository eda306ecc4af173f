// Plain-text clipboard: data-control where the compositor offers it, QClipboard elsewhere.
#include "platform/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

#include "platform/Log.h"
#include "platform/MsgBox.h"
#include "platform/WaylandClipboard.h"
#include "platform/X11Selection.h"

bool SetClipboardText(const QString& text) {
  if (wlclip::DataControl* dc = wlclip::Session()) return dc->SetText(text.toUtf8());
  QClipboard* cb = QGuiApplication::clipboard();
  cb->clear();
  cb->setText(text);
  // A Wayland compositor ignores a selection set by a client without focus, and Qt does not know it.
  if (QGuiApplication::platformName() == QLatin1String("wayland") && !QGuiApplication::focusWindow())
    return false;
  // On X11 Qt answers with the text it meant to set even when the server refused it the selection.
  if (x11selection::Available() && !x11selection::OwnedByUs()) return false;
  return cb->text() == text;
}

QString ClipboardText() {
  if (wlclip::DataControl* dc = wlclip::Session()) return QString::fromUtf8(dc->Text());
  return QGuiApplication::clipboard()->text();
}

namespace {
void TellCopyFailed() {
  qCWarning(lcClipboard) << "copy did not land on the" << QGuiApplication::platformName() << "clipboard";
  MsgBox(QStringLiteral("クリップボードにコピーできませんでした"), MsgIcon::Error);
}
}  // namespace

void CopyToClipboard(const QString& text) {
  if (wlclip::DataControl* dc = wlclip::Session()) {
    dc->SetTextThen(text.toUtf8(), [](bool landed) {
      if (!landed) TellCopyFailed();
    });
    return;
  }
  if (SetClipboardText(text)) return;
  if (x11selection::Available()) {
    // Refused for an old time stamp (a choice that came over D-Bus): once more with a fresh one.
    qCInfo(lcClipboard) << "X11 selection refused; trying again with a fresh server time";
    x11selection::RefreshTimeThen([text] {
      if (!SetClipboardText(text)) TellCopyFailed();
    });
    return;
  }
  TellCopyFailed();
}
