// The system clipboard as plain text.
#pragma once

#include <QString>

// Clears the clipboard, then puts `text` on it unchanged.
void SetClipboardText(const QString& text);
QString ClipboardText();
