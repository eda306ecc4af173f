// Free memo page over MemoBook: a page move happens only once the page left behind is stored.
#include "organizer/MemoPage.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

#include "core/Module1.h"
#include "core/SaveFailure.h"
#include "organizer/CalendarPictures.h"
#include "organizer/OrganizerLayout.h"
#include "platform/Fonts.h"
#include "platform/MsgBox.h"
#include "platform/QtText.h"
#include "platform/Screen.h"
#include "platform/Sjis.h"
#include "platform/TextChars.h"

namespace L = organizer_layout;

namespace {
const QString kFile = Q(memo::kFileName);

// Faces of the six buttons: add, delete, previous, next, first, last.
QIcon Face(int index) {
  return QIcon(calendar_pictures::ButtonFace([index](QPainter& p) {
    const QColor ink(60, 70, 120);
    p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(ink);
    auto left = [&p](double x) {
      p.drawPolygon(QPolygonF({QPointF(x, 8), QPointF(x + 5, 3.5), QPointF(x + 5, 12.5)}));
    };
    auto right = [&p](double x) {
      p.drawPolygon(QPolygonF({QPointF(x + 5, 8), QPointF(x, 3.5), QPointF(x, 12.5)}));
    };
    switch (index) {
      case 0:
        p.drawLine(QPointF(8, 3), QPointF(8, 13));
        p.drawLine(QPointF(3, 8), QPointF(13, 8));
        break;
      case 1:
        p.setPen(QPen(QColor(170, 30, 30), 1.8, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(4, 4), QPointF(12, 12));
        p.drawLine(QPointF(12, 4), QPointF(4, 12));
        break;
      case 2:
        left(5);
        break;
      case 3:
        right(6);
        break;
      case 4:
        p.drawLine(QPointF(4, 3.5), QPointF(4, 12.5));
        left(6);
        break;
      default:
        right(5);
        p.drawLine(QPointF(12, 3.5), QPointF(12, 12.5));
        break;
    }
  }));
}
}  // namespace

MemoPage::MemoPage(QWidget* frame, AppContext& ctx) : QObject(frame), ctx_(ctx) {
  Picture4 = new QWidget(frame);
  Picture4->setObjectName(QStringLiteral("Picture4"));
  Picture4->setAutoFillBackground(true);
  Picture4->setEnabled(false);
  screen::PlaceTwips(Picture4, L::kPicture4.left, L::kPicture4HiddenTop, L::kPicture4.width,
                     L::kPicture4.height);

  Text5 = new QPlainTextEdit(Picture4);
  Text5->setObjectName(QStringLiteral("Text5"));
  Text5->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Text5->setTabChangesFocus(true);  // Tab goes on to the page buttons and the search
  screen::PlaceTwips(Text5, L::kText5.left, L::kText5.top, L::kText5.width, L::kText5.height);
  static const char* const kTips[] = {"新規追加",   "削除",         "前のページ",
                                      "次のページ", "最初のページ", "最後のページ"};
  for (int i = 0; i < 6; ++i) {
    auto* b = new QToolButton(Picture4);
    b->setObjectName(QStringLiteral("Command2_%1").arg(i));
    b->setIcon(Face(i));
    b->setToolTip(QString::fromUtf8(kTips[i]));
    b->setAccessibleName(b->toolTip());
    screen::PlaceTwips(b, 60 + i * 270, 1845, 255, 330);
    connect(b, &QToolButton::clicked, this, [this, i] { Command2_Click(i); });
    Command2[static_cast<std::size_t>(i)] = b;
  }
  Label6 = new QLabel(Picture4);
  Label6->setObjectName(QStringLiteral("Label6"));
  Label6->setAlignment(Qt::AlignCenter);
  screen::PlaceTwips(Label6, 1710, 1890, 870, 240);
  Label7 = new QLabel(Picture4);
  screen::PlaceTwips(Label7, 2610, 1890, 1260, 240);
  fonts::FitText(Label7, QStringLiteral("検索する文字列 ："), fonts::Form());
  Text6 = new QLineEdit(Picture4);
  Text6->setObjectName(QStringLiteral("Text6"));
  screen::PlaceTwips(Text6, 3870, 1845, 1470, 330);
  Command3 = new QPushButton(QStringLiteral("検索"), Picture4);
  Command3->setObjectName(QStringLiteral("Command3"));
  Command3->setToolTip(QStringLiteral("検索する文字列を含むページを検索します"));
  Command3->setEnabled(false);
  screen::PlaceTwips(Command3, 5400, 1845, 780, 330);

  connect(Command3, &QPushButton::clicked, this, &MemoPage::Command3_Click);
  connect(Text6, &QLineEdit::textChanged, this,
          [this](const QString& t) { Command3->setEnabled(!textchars::Trim(t.toStdString()).empty()); });
  connect(Text5, &QPlainTextEdit::textChanged, this, [this] {
    if (memo::TooLong(Stored()))
      MsgBox(QStringLiteral("入力できる文字数を超えています"), MsgIcon::Information);
  });
}

namespace {
const QString kWriteFailed = QStringLiteral("ファイルの書込みに失敗しました。");
}  // namespace

void MemoPage::WriteFailed(const StoreOutcome& o) {
  MsgBox(WithReason(kWriteFailed, o.write.error), MsgIcon::Error);
}

QString MemoPage::StoreFailure(int page, const std::string& text) {
  const auto record = memo::MakeRecord(text);
  if (!record)
    return QStringLiteral("メモに使えない文字があります：%1")
        .arg(QString::fromStdString(sjis::FirstUnencodable(text)));
  const StoreOutcome o = book_.WriteRecord(page, *record);
  if (o) return QString();
  if (o.kind == StoreOutcome::Kind::ChangedOnDisk)
    return QStringLiteral(
               "メモファイル(%1)のこのページは、ほかのプログラムで変更されています\n"
               "このページの内容をコピーしてから、メモを開き直してください")
        .arg(kFile);
  return WithReason(kWriteFailed, o.write.error);
}

bool MemoPage::Store(int page, const std::string& text) {
  const QString why = StoreFailure(page, text);
  if (why.isEmpty()) return true;
  MsgBox(why, MsgIcon::Error);
  Text5->setFocus();
  return false;
}

std::string MemoPage::Stored() const {
  return memo::StoredText(Text5->toPlainText().toStdString());
}

QString MemoPage::StoreIfChanged(bool& changed) {
  const std::string text = Stored();
  changed = open_ && memo::PageBuffer(text) != copy_;
  if (!changed) return {};
  QString why = StoreFailure(current_, text);
  if (why.isEmpty()) copy_ = memo::PageBuffer(text);
  return why;
}

bool MemoPage::SaveBeforeClose(bool shown) {
  if (!open_) return true;
  bool changed = false;
  const QString why = StoreIfChanged(changed);
  if (!why.isEmpty())
    return GiveUpChanges(
        QStringLiteral("メモを保存できませんでした"), why,
        QStringLiteral("このページの変更を保存せずに閉じますか？\n（いいえ：閉じずに戻ります）"));
  // A failed compaction leaves the file as it was, every page in it: told, but no reason to stay open.
  if (shown || changed) (void)CompactMemo();
  return true;
}

void MemoPage::OpenMemo() {
  if (open_ && book_.Count() > 0) {
    // A page that could not be stored stays on screen rather than being replaced by the file's.
    if (!SaveMemoPage()) return;
    (void)CompactMemo();
  }
  const std::string path = ctx_.DataPath(memo::kFileName);
  if (!book_.Open(path))
    MsgBox(
        QStringLiteral("メモファイル(%1)を正しく読み込めませんでした\nメモの変更は保存されません").arg(kFile),
        MsgIcon::Error);
  open_ = true;
  current_ = 1;
  searchFrom_ = 1;
  if (book_.Count() > 0) {
    ShowMemoPage();
    return;
  }
  copy_ = memo::PageBuffer(Stored());
  Command2_Click(0);
}

void MemoPage::ShowMemoPage() {
  if (!open_) return;
  const std::string page = book_.PageText(current_);
  const std::string shown = memo::ShownText(textchars::Trim(page));
  const QSignalBlocker quiet(Text5);  // a page shown is no typing: no length warning
  Text5->setPlainText(QString::fromStdString(shown));
  copy_ = memo::PageBuffer(Stored());
  fonts::FitText(Label6, QStringLiteral("%1/%2").arg(current_).arg(book_.Count()), fonts::Form());
  Command2[2]->setEnabled(current_ >= 2);
  Command2[4]->setEnabled(current_ >= 2);
  Command2[3]->setEnabled(current_ < book_.Count());
  Command2[5]->setEnabled(current_ < book_.Count());
  Text5->setFocus();
}

bool MemoPage::SaveMemoPage() {
  bool changed = false;
  const QString why = StoreIfChanged(changed);
  if (why.isEmpty()) return true;
  MsgBox(why, MsgIcon::Error);
  Text5->setFocus();
  return false;
}

bool MemoPage::CompactMemo() {
  if (!open_) return true;
  const StoreOutcome o = book_.Compact();
  if (o) return true;
  WriteFailed(o);
  return false;
}

void MemoPage::Command2_Click(int index) {
  if (!open_) return;
  switch (index) {
    case 0: {
      if (!SaveMemoPage()) return;
      const QSignalBlocker quiet(Text5);
      const QString kept = Text5->toPlainText();
      Text5->clear();
      if (!Store(book_.Count() + 1, std::string())) {
        // Nothing was appended: the page on screen keeps its text and number, so nothing empty is
        // stored over it at the next move.
        Text5->setPlainText(kept);
        return;
      }
      current_ = book_.Count();
      ShowMemoPage();
      return;
    }
    case 1:
      if (MsgBox(QStringLiteral("このページのデータを削除します"), MsgIcon::Question, MsgButtons::OkCancel) !=
          MsgResult::Ok)
        return;
      if (book_.Count() == 1) {
        Text5->clear();
        (void)SaveMemoPage();
        return;
      }
      if (const StoreOutcome o = book_.DeleteRecord(current_); !o) {
        WriteFailed(o);
        return;
      }
      if (book_.Count() < current_) current_ = book_.Count();
      ShowMemoPage();
      return;
    default:
      break;
  }
  if (!SaveMemoPage()) return;
  if (index == 2 && current_ >= 2) --current_;
  if (index == 3 && current_ != book_.Count()) ++current_;
  if (index == 4) current_ = 1;
  if (index == 5) current_ = book_.Count();
  ShowMemoPage();
}

void MemoPage::Command3_Click() {
  // The stored pages are searched; the page on screen is stored first so what is seen is what is found.
  if (!open_ || !SaveMemoPage()) return;
  const int found = book_.Find(Text6->text().toStdString(), searchFrom_);
  if (found > 0) {
    current_ = found;
    ShowMemoPage();
    if (found < book_.Count()) {
      searchFrom_ = found + 1;
      return;
    }
  }
  searchFrom_ = 1;
  MsgBox(QStringLiteral("検索が終了しました"), MsgIcon::Information);
}

bool MemoPage::UsesCalendar() const {
  return false;
}

void MemoPage::Enter() {
  ShowPanel(Picture4, L::kPicture4.top);
  shown_ = true;
  OpenMemo();
}

void MemoPage::Leave(bool) {
  HidePanel(Picture4, L::kPicture4HiddenTop);
  shown_ = false;
  if (SaveMemoPage()) (void)CompactMemo();
}

QString MemoPage::Title() const {
  return QStringLiteral("ﾌﾘｰﾒﾓ");
}

void MemoPage::Attach(PageHost&) {
  Picture4->raise();  // over the calendar and the schedule entry
}

bool MemoPage::Close() {
  return SaveBeforeClose(shown_);
}
