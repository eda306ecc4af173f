// Plain-text clipboard through QClipboard.
#include "platform/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

void SetClipboardText(const QString& text) {
  QClipboard* cb = QGuiApplication::clipboard();
  cb->clear();
  cb->setText(text);
}

QString ClipboardText() {
  return QGuiApplication::clipboard()->text();
}
