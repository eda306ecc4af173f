// Every caption, label and button text of every window fits its control, whatever the desktop's font
// size: the windows are laid out in twips for their own fonts, so the application font must not reach
// them. Measured the way the style draws each control: a label's contents, a button's contents rect, a
// group box's title, an edit's text line, a tab strip's tabs, a menu bar's items. And every text stays
// readable under a dark palette: a control that sets one of its colours must set the other.
#include <QAbstractItemView>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOption>
#include <QTabBar>
#include <QToolButton>
#include <QtTest>

#include "core/Alarm.h"
#include "core/Form3.h"
#include "core/Form4.h"
#include "core/Kana.h"
#include "editor/Form2.h"
#include "organizer/MemoPage.h"
#include "organizer/OrganizerTestKit.h"
#include "organizer/TodoPage.h"
#include "platform/Fonts.h"
#include "postal/Form7.h"

namespace {

QString Name(const QWidget* w) {
  QString n = w->objectName();
  return QString::fromLatin1(w->metaObject()->className()) + (n.isEmpty() ? QString() : QLatin1Char('/') + n);
}

QString Size(QSize s) {
  return QStringLiteral("%1x%2").arg(s.width()).arg(s.height());
}

// What one control needs for its text, against what it has; empty when the text fits.
class Measure {
 public:
  explicit Measure(QWidget* window) : window_(window) {}

  QStringList Problems() {
    for (QWidget* w : window_->findChildren<QWidget*>()) {
      if (w->isWindow() || !w->isVisibleTo(window_) || w->width() <= 0 || w->height() <= 0) continue;
      const QRect inWindow(w->mapTo(window_, QPoint(0, 0)), w->size());
      if (!inWindow.intersects(window_->rect())) continue;  // a page parked outside the window
      Check(w, inWindow);
    }
    return problems_;
  }

 private:
  QWidget* window_;
  QStringList problems_;

  void Report(const QWidget* w, const QString& text, const QString& what) {
    problems_ << QStringLiteral("%1 %2 \"%3\": %4").arg(Name(window_), Name(w), text, what);
  }
  void Fits(const QWidget* w, const QString& text, QSize need, QRect room) {
    if (need.width() > room.width() || need.height() > room.height())
      Report(w, text, QStringLiteral("needs %1 in %2").arg(Size(need), Size(room.size())));
  }

  // Controls that are parts of another (a spin box's edit, a scroll area's bars) are that control's
  // business; the rest must lie wholly inside the window and their parent.
  static bool IsPart(const QWidget* w) {
    for (const QObject* p = w->parent(); p && !static_cast<const QWidget*>(p)->isWindow(); p = p->parent())
      if (qobject_cast<const QAbstractSpinBox*>(p) || qobject_cast<const QAbstractScrollArea*>(p) ||
          qobject_cast<const QTabBar*>(p) || qobject_cast<const QMenuBar*>(p))
        return true;
    return false;
  }

  void Check(QWidget* w, QRect inWindow) {
    const QFontMetrics fm(w->font());
    // Plain frames and panels are lines and hosts; a design's edge line may run past the window.
    const bool control =
        w->metaObject() != &QFrame::staticMetaObject && w->metaObject() != &QWidget::staticMetaObject;
    if (control && !IsPart(w)) {
      if (!window_->rect().contains(inWindow))
        Report(w, QString(),
               QStringLiteral("at %1,%2 %3 cut by the window's edge (%4)")
                   .arg(inWindow.x())
                   .arg(inWindow.y())
                   .arg(Size(inWindow.size()), Size(window_->size())));
      else if (!w->parentWidget()->rect().contains(w->geometry()))
        Report(w, QString(), QStringLiteral("cut by its parent %1").arg(Name(w->parentWidget())));
    }
    if (auto* l = qobject_cast<QLabel*>(w)) {
      if (l->text().isEmpty()) return;
      const int m = l->margin();
      const QRect room = l->contentsRect().adjusted(m, m, -m, -m);
      int flags = int(l->alignment()) | (l->wordWrap() ? Qt::TextWordWrap : 0) |
                  (l->buddy() ? Qt::TextShowMnemonic : 0);
      const QRect drawn = fm.boundingRect(room, flags, l->text());
      if (!room.contains(drawn))
        Report(w, l->text(), QStringLiteral("needs %1 in %2").arg(Size(drawn.size()), Size(room.size())));
    } else if (auto* b = qobject_cast<QPushButton*>(w)) {
      QStyleOptionButton opt;
      opt.initFrom(b);
      opt.text = b->text();
      if (b->isDefault()) opt.features |= QStyleOptionButton::DefaultButton;
      if (b->autoDefault()) opt.features |= QStyleOptionButton::AutoDefaultButton;
      Fits(b, b->text(), fm.size(Qt::TextShowMnemonic, b->text()),
           b->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, b));
    } else if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w)) {
      auto* b = static_cast<QAbstractButton*>(w);
      const bool check = qobject_cast<QCheckBox*>(w) != nullptr;
      QStyleOptionButton opt;
      opt.initFrom(b);
      opt.text = b->text();
      const QRect box = b->style()->subElementRect(
          check ? QStyle::SE_CheckBoxIndicator : QStyle::SE_RadioButtonIndicator, &opt, b);
      if (!b->rect().contains(box)) Report(b, b->text(), QStringLiteral("box %1 cut").arg(Size(box.size())));
      if (!b->text().isEmpty())
        Fits(b, b->text(), fm.size(Qt::TextShowMnemonic, b->text()),
             b->style()->subElementRect(check ? QStyle::SE_CheckBoxContents : QStyle::SE_RadioButtonContents,
                                        &opt, b));
    } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
      QStyleOptionGroupBox opt;
      opt.initFrom(g);
      opt.text = g->title();
      opt.lineWidth = 1;
      opt.textAlignment = g->alignment();
      opt.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
      const QRect title = g->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, g);
      if (!g->rect().contains(title))
        Report(g, g->title(), QStringLiteral("title %1 cut").arg(Size(title.size())));
      for (QWidget* c : g->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (c->isVisibleTo(g) && c->geometry().intersects(title))
          Report(g, g->title(), QStringLiteral("title covered by %1").arg(Name(c)));
    } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
      // QLineEdit keeps one pixel above and below its line and two beside it.
      QStyleOptionFrame opt;
      opt.initFrom(e);
      opt.lineWidth = e->hasFrame() ? e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, e) : 0;
      const QRect room =
          e->style()->subElementRect(QStyle::SE_LineEditContents, &opt, e).marginsRemoved(e->textMargins());
      const bool whole = qobject_cast<QAbstractSpinBox*>(e->parentWidget()) != nullptr;  // never scrolls
      Fits(e, e->text(), QSize(whole ? fm.horizontalAdvance(e->text()) : 0, fm.height()),
           room.adjusted(2, 1, -2, -1));
    } else if (auto* t = qobject_cast<QPlainTextEdit*>(w)) {
      const int margin = int(t->document()->documentMargin());
      Fits(t, QString(), QSize(0, fm.height() + 2 * margin), t->viewport()->rect());
    } else if (auto* tabs = qobject_cast<QTabBar*>(w)) {
      for (int i = 0; i < tabs->count(); ++i)
        if (!tabs->rect().contains(tabs->tabRect(i)))
          Report(tabs, tabs->tabText(i), QStringLiteral("tab %1 cut").arg(Size(tabs->tabRect(i).size())));
    } else if (auto* bar = qobject_cast<QMenuBar*>(w)) {
      for (QAction* a : bar->actions()) {
        const QRect r = bar->actionGeometry(a);
        if (a->isVisible() && (r.isEmpty() || !bar->rect().contains(r)))
          Report(bar, a->text(), QStringLiteral("item off the bar"));
      }
    }
  }
};

// WCAG's contrast ratio of two colours (1 to 21).
double Contrast(const QColor& a, const QColor& b) {
  auto luminance = [](const QColor& c) {
    auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
  };
  const double la = luminance(a), lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The colour a control's text is drawn on when it fills no background of its own: the nearest filled
// sibling stacked below it that covers it (a band behind labels), else the nearest filled ancestor.
QColor BackgroundOf(const QWidget* w) {
  for (const QWidget* c = w; c; c = c->parentWidget()) {
    if (c != w && (c->autoFillBackground() || c->isWindow())) return c->palette().color(c->backgroundRole());
    if (c->isWindow()) return c->palette().color(c->backgroundRole());
    const QObjectList& siblings = c->parentWidget()->children();
    for (qsizetype i = siblings.indexOf(const_cast<QWidget*>(c)) - 1; i >= 0; --i) {
      auto* below = qobject_cast<QWidget*>(siblings[i]);
      if (below && below->isVisible() && below->autoFillBackground() &&
          below->geometry().contains(c->geometry()))
        return below->palette().color(below->backgroundRole());
    }
  }
  return {};
}

// Texts drawn on too little contrast, under the palette now set.
QStringList Unreadable(QWidget* window) {
  QStringList out;
  for (QWidget* w : window->findChildren<QWidget*>()) {
    if (w->isWindow() || !w->isVisibleTo(window)) continue;
    QString text;
    QColor fg, bg;
    const QPalette::ColorGroup g = w->isEnabled() ? QPalette::Active : QPalette::Disabled;
    const QPalette& p = w->palette();
    if (auto* l = qobject_cast<QLabel*>(w)) {
      text = l->text();
      fg = p.color(g, l->foregroundRole());
      bg = l->autoFillBackground() ? p.color(g, l->backgroundRole()) : BackgroundOf(l);
    } else if (qobject_cast<QPushButton*>(w)) {
      text = static_cast<QPushButton*>(w)->text();
      fg = p.color(g, QPalette::ButtonText);
      bg = p.color(g, QPalette::Button);
    } else if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w) || qobject_cast<QGroupBox*>(w)) {
      auto* b = qobject_cast<QAbstractButton*>(w);
      text = b ? b->text() : static_cast<QGroupBox*>(w)->title();
      fg = p.color(g, QPalette::WindowText);
      bg = BackgroundOf(w);
    } else if (qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w) ||
               qobject_cast<QAbstractItemView*>(w)) {
      text = QStringLiteral("(text)");
      fg = p.color(g, QPalette::Text);
      bg = p.color(g, QPalette::Base);
    }
    if (text.isEmpty()) continue;
    // A disabled text may be as faint as the palette's own disabled text, no fainter.
    const QPalette& app = QApplication::palette();
    const double faint = std::min(Contrast(app.color(QPalette::Disabled, QPalette::WindowText),
                                           app.color(QPalette::Disabled, QPalette::Window)),
                                  Contrast(app.color(QPalette::Disabled, QPalette::Text),
                                           app.color(QPalette::Disabled, QPalette::Base)));
    const double ratio = Contrast(fg, bg), least = w->isEnabled() ? 3.0 : std::min(2.0, 0.9 * faint);
    if (ratio < least)
      out << QStringLiteral("%1 %2 \"%3\": %4 on %5, contrast %6")
                 .arg(Name(window), Name(w), text, fg.name(), bg.name())
                 .arg(ratio, 0, 'f', 2);
  }
  return out;
}

}  // namespace

class WindowTextTest : public OrganizerTestBase {
  Q_OBJECT
  QFont desktop_;

  QStringList Measured(QWidget* w) {
    w->show();
    if (!QTest::qWaitForWindowExposed(w)) return {Name(w) + QStringLiteral(" never shown")};
    return Measure(w).Problems();
  }

 private slots:
  void initTestCase() { desktop_ = QApplication::font(); }
  void init() { InitKit(); }
  void cleanup() {
    CleanupKit();
    QApplication::setFont(desktop_);
  }

  void theDesignFontsAreTheMetricCompatibleOnes() {
    // The layouts hold only with fonts of the design's metrics; the package depends on these.
    QCOMPARE(QFontInfo(fonts::Design(fonts::Face::PGothic, 9)).family(), QStringLiteral("IPAPGothic"));
    QCOMPARE(QFontInfo(fonts::Design(fonts::Face::Gothic, 9.75)).family(), QStringLiteral("IPAGothic"));
    QCOMPARE(QFontInfo(fonts::Design(fonts::Face::PMincho, 11)).family(), QStringLiteral("IPAPMincho"));
    QCOMPARE(QFontInfo(fonts::Form()).pixelSize(), 12);  // 9 points at 96 dots per inch
  }

  void everyTextFitsItsControl_data() {
    QTest::addColumn<int>("points");
    for (int pt : {9, 10, 11, 12}) QTest::addRow("%d pt", pt) << pt;
  }
  void everyTextFitsItsControl() {
    QFETCH(int, points);
    QFont app(QStringLiteral("Noto Sans CJK JP"));
    app.setPointSize(points);
    QApplication::setFont(app);
    QStringList problems;

    // The alarm window with its longest message, a late one.
    main->Label1->setText(
        QString::fromStdString(alarmclock::Message(DateTime{2026, 12, 7, 23, 59, 0}, "22:58"))
            .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    problems << Measured(main.get());
    main->hide();

    {
      Form3 about;
      problems << Measured(&about);
    }
    {
      Form4 settings({settings::Switch("False"), settings::Switch("True"), QStringLiteral("Ctrl+Alt+F"), {}});
      problems << Measured(&settings);
    }
    {
      Form2 editor;
      problems << Measured(&editor);
      for (int k = 1; k <= kana::kLetterCount; ++k) {  // the letter label shows each letter in turn
        editor.ReadList(k);
        problems << Measure(&editor).Problems();
      }
    }
    {
      Form7 postal;
      problems << Measured(&postal);
      postal.Label1->setText(QStringLiteral("データ検索中...."));  // the widest of its states
      postal.Label2->setText(QStringLiteral("100％"));
      postal.Command1->setText(QStringLiteral("中断"));
      problems << Measure(&postal).Problems();
    }

    // The organiser: narrow, then the input window on each page, the ToDo page with a chosen item.
    dir->Write("ToDo.dat", Sj("026/12/30 memo\r\n"));
    dir->Write("freememo.dat", std::string(12345 * 1000, ' '));
    FrmCal* cal = Open();
    QVERIFY(cal);
    problems << Measure(cal).Problems();
    Release(cal->Picture2[1]);
    problems << Measure(cal).Problems();
    cal->ChgSM(1);
    cal->Todo->List1->setCurrentIndex(cal->Todo->Items().index(0));
    QCOMPARE(cal->View->Label2->text(), QStringLiteral("2026年12月30日"));
    problems << Measure(cal).Problems();
    cal->ChgSM(2);
    problems << Measure(cal).Problems();
    QTest::mouseClick(cal->Memo->Command2[5], Qt::LeftButton);  // the last page of a long memo
    QCOMPARE(cal->Memo->Label6->text(), QStringLiteral("12345/12345"));
    problems << Measure(cal).Problems();

    problems.removeDuplicates();
    if (!problems.isEmpty()) qWarning().noquote() << problems.join(QLatin1Char('\n'));
    QCOMPARE(problems.size(), 0);
  }
  void everyTextIsReadableUnderADarkPalette_data() {
    QTest::addColumn<bool>("dark");
    QTest::newRow("light") << false;
    QTest::newRow("dark") << true;
  }
  void everyTextIsReadableUnderADarkPalette() {
    QFETCH(bool, dark);
    const QPalette before = QApplication::palette();
    if (dark) {  // the colours of a common dark desktop theme
      QPalette p(QColor(49, 54, 59), QColor(42, 46, 50));
      for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::ToolTipText})
        p.setColor(role, QColor(239, 240, 241));
      for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, QColor(110, 116, 122));
      p.setColor(QPalette::Base, QColor(27, 30, 32));
      p.setColor(QPalette::Disabled, QPalette::Base, QColor(27, 30, 32));
      QApplication::setPalette(p);
    }
    QStringList problems;
    auto look = [&problems](QWidget* w) {
      w->show();
      problems << Unreadable(w);
    };
    main->Label1->setText(QStringLiteral("alarm"));
    look(main.get());
    main->hide();
    {
      Form3 about;
      look(&about);
    }
    {
      Form4 settings({settings::Switch("False"), settings::Switch("True"), QStringLiteral("Ctrl+Alt+F"), {}});
      look(&settings);
    }
    {
      Form2 editor;
      look(&editor);
      editor.ReadList(1);
      problems << Unreadable(&editor);
    }
    {
      Form7 postal;
      look(&postal);
    }
    dir->Write("ToDo.dat", Sj("026/12/30 memo\r\n"));
    FrmCal* cal = Open();
    QVERIFY(cal);
    problems << Unreadable(cal);
    for (int page : {0, 1, 2}) {
      cal->ChgSM(page);
      problems << Unreadable(cal);
    }
    QApplication::setPalette(before);
    problems.removeDuplicates();
    if (!problems.isEmpty()) qWarning().noquote() << problems.join(QLatin1Char('\n'));
    QCOMPARE(problems.size(), 0);
  }
};

QTEST_MAIN(WindowTextTest)
#include "WindowText_test.moc"
