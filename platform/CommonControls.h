// The three common controls the organiser takes from the platform: a time picker shown as "HH:mm"
// (QTimeEdit), a vertical tab strip (QTabBar) and a multi-line tool tip for a control (QToolTip).
#pragma once

#include <QString>

class QTabBar;
class QTimeEdit;
class QWidget;

// The picker's date and time record: year, month, day of week, day, hour, minute, second, milliseconds.
struct SystemTime {
  int wYear = 0, wMonth = 0, wDayOfWeek = 0, wDay = 0, wHour = 0, wMinute = 0, wSecond = 0, wMilliseconds = 0;
};
inline constexpr int kGdtValid = 0;

// Thin wrappers with the picker messages' answers: 0 (GDT_VALID) from a get, true from a set.
int DtpGetTime(QTimeEdit* hwnd, SystemTime& time);
bool DtpSetTime(QTimeEdit* hwnd, int flag, const SystemTime& time);
bool DtpSetFormat(QTimeEdit* hwnd, const QString& format);
// The picker filling `host`, with up-down arrows as narrow as the native control's, so "23:59" in the
// window's font shows whole in the designed width.
QTimeEdit* CreateTimePicker(QWidget* host);

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
