// Common controls over Qt widgets.
#include "platform/CommonControls.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QProxyStyle>
#include <QScreen>
#include <QStyleOptionSpinBox>
#include <QTabBar>
#include <QTextDocument>
#include <QTimeEdit>
#include <QToolTip>
#include <QWidget>

namespace {
// The application's style with the spin box arrows narrowed to `width` pixels; the edit field takes
// what they give up.
class NarrowUpDown : public QProxyStyle {
 public:
  explicit NarrowUpDown(int width) : width_(width) {}
  QRect subControlRect(ComplexControl cc, const QStyleOptionComplex* opt, SubControl sc,
                       const QWidget* w) const override {
    QRect r = QProxyStyle::subControlRect(cc, opt, sc, w);
    if (cc != CC_SpinBox) return r;
    const int give = QProxyStyle::subControlRect(cc, opt, SC_SpinBoxUp, w).width() - width_;
    if (give <= 0) return r;
    if (sc == SC_SpinBoxUp || sc == SC_SpinBoxDown) r.setLeft(r.left() + give);
    if (sc == SC_SpinBoxEditField) r.setRight(r.right() + give);
    return r;
  }

 private:
  int width_;
};
}  // namespace

QTimeEdit* CreateTimePicker(QWidget* host, const QString& format) {
  auto* edit = new QTimeEdit(host);
  edit->setDisplayFormat(format);
  auto* style = new NarrowUpDown(10);
  style->setParent(edit);
  edit->setStyle(style);
  edit->setGeometry(host->rect());
  return edit;
}

QTabBar* CreateVerticalTabs(QWidget* host, const QStringList& tabs) {
  auto* bar = new QTabBar(host);
  bar->setShape(QTabBar::RoundedWest);
  bar->setExpanding(false);
  bar->setDrawBase(false);
  bar->setUsesScrollButtons(false);
  // Compact tabs, so three fit the strip's height whatever the style's padding.
  bar->setStyleSheet(
      QStringLiteral("QTabBar::tab { padding: 6px 1px; border: 1px solid palette(mid); border-right: none;"
                     " background: palette(button); color: palette(button-text); }"
                     "QTabBar::tab:selected { background: palette(base); color: palette(text); }"));
  for (const QString& t : tabs) bar->addTab(t);
  return bar;
}

namespace tooltip {
QString FitScreen(const QString& text, const QWidget* tool) {
  const QScreen* screen = tool && tool->screen() ? tool->screen() : QGuiApplication::primaryScreen();
  if (!screen) return text;
  QString plain = text;
  plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  QStringList lines = plain.split(QLatin1Char('\n'));
  // The tip's frame and margins take a few pixels above and below the text.
  const int room = screen->availableGeometry().height() - 16;
  const int fit = std::max(1, room / std::max(1, QFontMetrics(QToolTip::font()).lineSpacing()));
  if (lines.size() <= fit) return text;
  lines.resize(fit - 1);
  lines << QStringLiteral("…");
  return lines.join(QLatin1Char('\n'));
}

void SetTip(QWidget* tool, const QString& text) {
  QString plain = text;
  plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  // As escaped markup, so a "<" typed in a schedule shows as itself.
  tool->setToolTip(plain.isEmpty() ? QString() : Qt::convertFromPlainText(plain, Qt::WhiteSpacePre));
}
void Hide() {
  QToolTip::hideText();
}
}  // namespace tooltip
