// The calendar surface: keeps its drawing between repaints; only DrawCalendar draws on it.
#pragma once

#include <QPixmap>
#include <QString>
#include <QWidget>
#include <string>
#include <vector>

class DayDecorations;

class CalendarSurface : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kWidth = 1980;   // twips: seven columns of 285 (and some)
  static constexpr int kHeight = 1530;  // six rows of 255

  explicit CalendarSurface(QWidget* parent = nullptr);

  // Redraws the month (month 0 and 13 wrap into the neighbouring years), each day with the pictures the
  // sources give for the month it draws.
  void DrawCalendar(int year, int month, const std::vector<const DayDecorations*>& sources);
  // Prints text with its top-left corner at (x, y) twips in the current colour.
  void PrintDay(int x, int y, const QString& text);

  const QPixmap& Canvas() const { return canvas_; }
  QString Caption() const { return caption_; }
  int FirstWday = 1;
  int MonthDays = 0;

 signals:
  void CaptionChanged(const QString& caption);

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  void PaintPicture(int index, int x, int y);
  QPoint Px(int x, int y) const;

  QPixmap canvas_;
  QColor foreColor_;
  QString caption_;
};
