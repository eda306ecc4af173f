// The system clipboard as plain text.
#pragma once

#include <QString>

// Clears the clipboard, then puts `text` on it unchanged: over the data-control protocol on Wayland
// compositors that offer it (a tray menu gives the program no focus), else through Qt. False when the
// clipboard does not read back as `text`.
bool SetClipboardText(const QString& text);
QString ClipboardText();
// SetClipboardText, telling the user when the copy did not land.
void CopyToClipboard(const QString& text);
