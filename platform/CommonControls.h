// The three common controls the organiser takes from the platform: a time picker shown as "HH:mm"
// (QTimeEdit), a vertical tab strip (QTabBar) and a multi-line tool tip for a control (QToolTip).
#pragma once

#include <QString>

class QTabBar;
class QTimeEdit;
class QWidget;

// The picker filling `host`, shown as `format` ("HH:mm"), with up-down arrows as narrow as the native
// control's, so "23:59" in the window's font shows whole in the designed width. QTimeEdit::time and
// setTime read and set it.
QTimeEdit* CreateTimePicker(QWidget* host, const QString& format);

// A vertical tab strip, left side, with the given tabs.
QTabBar* CreateVerticalTabs(QWidget* host, const QStringList& tabs);

namespace tooltip {
// A tip as tall as the screen of `tool` allows: the lines that fit, the last of them "…".
QString FitScreen(const QString& text, const QWidget* tool);
// Registers `text` (plain, CR LF or LF line breaks) as the control's tip; empty removes it. Shown on
// hover as multi-line text, never read as markup.
void SetTip(QWidget* tool, const QString& text);
// Hides a tip that shows (the tool's button-down does the same).
void Hide();
}  // namespace tooltip
