// ToDo page: the list's items are the master while the page shows; the lines follow after every button
// action and on leaving the page, as the design has it (a tick alone reaches the lines on leaving).
#include "organizer/TodoPage.h"

#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QToolButton>

#include "core/Module1.h"
#include "core/SaveFailure.h"
#include "organizer/CalendarPictures.h"
#include "organizer/OrganizerLayout.h"
#include "platform/MsgBox.h"
#include "platform/QtText.h"
#include "platform/Screen.h"
#include "platform/Sjis.h"
#include "platform/TextChars.h"

namespace L = organizer_layout;

namespace {
std::string S(const QString& s) {
  return s.toStdString();
}
const QString kFile = Q(todo::kFileName);

// Faces of the five buttons: up, down, modify, add, delete.
QIcon Face(int index) {
  return QIcon(calendar_pictures::ButtonFace([index](QPainter& p) {
    const QColor ink(60, 70, 120);
    p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(ink);
    switch (index) {
      case 0:
        p.drawPolygon(QPolygonF({QPointF(8, 3), QPointF(13, 10), QPointF(3, 10)}));
        break;
      case 1:
        p.drawPolygon(QPolygonF({QPointF(8, 13), QPointF(13, 6), QPointF(3, 6)}));
        break;
      case 2:  // a pencil
        p.drawLine(QPointF(4, 12), QPointF(12, 4));
        p.drawLine(QPointF(3, 13), QPointF(5, 13));
        break;
      case 3:
        p.drawLine(QPointF(8, 3), QPointF(8, 13));
        p.drawLine(QPointF(3, 8), QPointF(13, 8));
        break;
      default:
        p.setPen(QPen(QColor(170, 30, 30), 1.8, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(4, 4), QPointF(12, 12));
        p.drawLine(QPointF(12, 4), QPointF(4, 12));
        break;
    }
  }));
}
}  // namespace

TodoPage::TodoPage(QWidget* frame, AppContext& ctx) : QObject(frame), ctx_(ctx) {
  book_.lines = {std::string()};
  Picture6 = new QWidget(frame);
  Picture6->setObjectName(QStringLiteral("Picture6"));
  Picture6->setAutoFillBackground(true);
  screen::PlaceTwips(Picture6, L::kPicture6.left, L::kPicture6HiddenTop, L::kPicture6.width,
                     L::kPicture6.height);
  Picture6->setEnabled(false);

  Label5 = new QLabel(QStringLiteral("ToDo："), Picture6);
  screen::PlaceTwips(Label5, 60, 45, 900, 210);
  items_ = new TodoItems(this);
  List1 = new QListView(Picture6);
  List1->setObjectName(QStringLiteral("List1"));
  List1->setModel(items_);
  List1->setSelectionMode(QAbstractItemView::SingleSelection);
  List1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  screen::PlaceTwips(List1, 60, 285, 3930, 1440);
  Text2 = new QLineEdit(Picture6);
  Text2->setObjectName(QStringLiteral("Text2"));
  Text2->setEnabled(false);
  screen::PlaceTwips(Text2, 60, 1815, 2580, 330);
  static const char* const kTips[] = {"上へ移動", "下へ移動", "修正", "新規追加", "削除"};
  for (int i = 0; i < 5; ++i) {
    auto* b = new QToolButton(Picture6);
    b->setObjectName(QStringLiteral("Command5_%1").arg(i));
    b->setIcon(Face(i));
    b->setToolTip(QString::fromUtf8(kTips[i]));
    b->setAccessibleName(b->toolTip());
    b->setEnabled(false);
    screen::PlaceTwips(b, 2685 + i * 270, 1815, 255, 330);
    connect(b, &QToolButton::clicked, this, [this, i] { Command5_Click(i); });
    Command5[static_cast<std::size_t>(i)] = b;
  }
  connect(List1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& now) {
            if (!filling_ && now.isValid()) List1_Click();
          });
  // A click on the item that is already current chooses it again.
  connect(List1, &QListView::clicked, this, [this](const QModelIndex& at) {
    if (!filling_ && List1->currentIndex() == at) List1_Click();
  });
  connect(Text2, &QLineEdit::textChanged, this, &TodoPage::Text2_Change);
}

void TodoPage::LoadToDo() {
  if (todo::LoadToDo(ctx_.DataPath(todo::kFileName), book_)) return;
  MsgBox(
      QStringLiteral("ToDoファイル(%1)を正しく読み込めませんでした\nToDoの変更は保存されません").arg(kFile),
      MsgIcon::Error);
}

bool TodoPage::SaveToDo() {
  const std::string path = ctx_.DataPath(todo::kFileName);
  todo::SaveOutcome o = todo::SaveToDo(path, book_);
  if (o.kind == todo::SaveResult::ChangedOnDisk) {
    switch (AskAboutChangedFile(kFile)) {
      case ChangedFileChoice::Overwrite:
        o = todo::SaveToDo(path, book_, true);
        break;
      case ChangedFileChoice::TakeTheirs:
        return true;  // closing without writing leaves the other program's list
      case ChangedFileChoice::KeepBoth:
        return false;
    }
  }
  if (o.kind == todo::SaveResult::Saved) return true;
  const QString why = WhyNotSaved(o, QStringLiteral("ToDoファイル(%1)").arg(kFile),
                                  QStringLiteral("%1番目の項目に保存できない文字があります").arg(o.item));
  return GiveUpChanges(QStringLiteral("ToDoファイルを保存できませんでした"), why,
                       QStringLiteral("ToDoを保存せずに閉じますか？\n（いいえ：閉じずに戻ります）"));
}

void TodoPage::Fill() {
  filling_ = true;
  items_->Show(book_.lines);
  // No current item, through the view's own setter: the list taking the focus then leaves it so (a
  // refilled list otherwise makes its first row current on focus, and Text2 would get that item).
  List1->setCurrentIndex(QModelIndex());
  filling_ = false;
  Text2->clear();
  Text2->setEnabled(false);
}

void TodoPage::RebuildToDoLines() {
  // An empty list empties only the first line: the lines after it stay hidden, as they were read.
  if (items_->Count() == 0) {
    if (book_.lines.empty()) book_.lines.emplace_back();
    book_.lines[0].clear();
    return;
  }
  book_.lines = items_->Lines();
}

int TodoPage::CurrentRow() const {
  return List1->currentIndex().row();
}

void TodoPage::ResetControls(bool clearList) {
  for (QToolButton* b : Command5) b->setEnabled(false);
  filling_ = true;
  List1->setCurrentIndex(QModelIndex());
  if (clearList) items_->Clear();
  filling_ = false;
  Text2->clear();
  Text2->setEnabled(false);
}

void TodoPage::DayPicked(int year, int month, int day) {
  prefix_ = todo::Prefix(year, month, day);
  Text2->setEnabled(true);
  Text2->setFocus();
}

void TodoPage::List1_Click() {
  const int row = CurrentRow();
  if (!active_ || row < 0) return;
  const std::string& text = items_->At(row).text;
  Text2->setEnabled(true);
  Text2->setText(Q(todo::TextOf(text)));
  Text2->setFocus();
  const todo::ItemDate d = todo::DateOfItem(text);
  prefix_ = todo::Prefix(d.year, d.month, d.day);
  emit DateAsked(d.year, d.month, d.day);
  for (QToolButton* b : Command5) b->setEnabled(true);
}

void TodoPage::Text2_Change() {
  const std::string_view t = textchars::Trim(S(Text2->text()));
  if (!prefix_.empty() && !t.empty()) {
    if (CurrentRow() >= 0) Command5[2]->setEnabled(true);
    Command5[3]->setEnabled(true);
  } else if (t.empty()) {
    Command5[2]->setEnabled(false);
    Command5[3]->setEnabled(false);
  }
}

void TodoPage::SetCurrent(int row) {
  List1->setCurrentIndex(items_->index(row));
}

QString TodoPage::TypedText() const {
  // One item is one line of the file: a pasted line break becomes a blank.
  QString s = Text2->text();
  s.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(QLatin1Char('\r'), QLatin1Char(' '));
  s.replace(QLatin1Char('\n'), QLatin1Char(' '));
  return s;
}

bool TodoPage::Refused(const QString& text) {
  const std::string bad = sjis::FirstUnencodable(S(text));
  if (bad.empty()) return false;
  MsgBox(QStringLiteral("ToDoに使えない文字があります：%1").arg(Q(bad)), MsgIcon::Error);
  Text2->setFocus();
  return true;
}

void TodoPage::Disable(std::initializer_list<int> which) {
  for (int i : which) Command5[static_cast<std::size_t>(i)]->setEnabled(false);
}

bool TodoPage::MoveItem(int c, bool up) {
  if (c < 0 || (up && c == 0) || (!up && c == items_->Count() - 1)) return false;
  filling_ = true;  // the list's own current-row changes are not the user's choice
  items_->Move(c, up);
  List1->setCurrentIndex(QModelIndex());
  filling_ = false;
  const int now = up ? c - 1 : c + 1;
  SetCurrent(now);
  Text2->setText(Q(todo::TextOf(items_->At(now).text)));
  return true;
}

bool TodoPage::ReplaceItem(int c, const QString& s) {
  if (c < 0) return true;
  if (Refused(s)) return false;
  items_->Replace(c, prefix_ + S(s));
  SetCurrent(-1);
  Disable({4, 0, 1});
  Text2->clear();
  Text2->setFocus();
  return true;
}

bool TodoPage::AddItem(const QString& s) {
  if (textchars::Trim(S(s)).empty()) return true;
  if (Refused(s)) return false;
  // Lines past the most the list reads would vanish at the next opening.
  if (static_cast<std::size_t>(items_->Count()) >= todo::kMaxLines) {
    MsgBox(QStringLiteral("ToDoはこれ以上追加できません（%1件まで）").arg(todo::kMaxLines), MsgIcon::Error);
    Text2->setFocus();
    return false;
  }
  items_->Add(prefix_ + S(s));
  SetCurrent(-1);
  Disable({0, 1, 3, 4});
  Text2->clear();
  Text2->setFocus();
  return true;
}

void TodoPage::DeleteItem(int c) {
  if (c < 0) return;
  filling_ = true;
  items_->Remove(c);
  List1->setCurrentIndex(QModelIndex());
  filling_ = false;
  Disable({4, 0, 1});
  Text2->clear();
  Text2->setEnabled(false);
}

void TodoPage::Command5_Click(int index) {
  const int c = CurrentRow();
  switch (index) {
    case 0:
    case 1:
      if (!MoveItem(c, index == 0)) return;
      break;
    case 2:
      if (!ReplaceItem(c, TypedText())) return;
      break;
    case 3:
      if (!AddItem(TypedText())) return;
      break;
    default:
      DeleteItem(c);
      break;
  }
  RebuildToDoLines();
  emit Changed();
}

bool TodoPage::UsesCalendar() const {
  return true;
}

void TodoPage::Enter() {
  Picture6->setEnabled(true);
  Fill();
  ShowPanel(Picture6, L::kPicture6.top);
  active_ = true;
}

void TodoPage::Leave(bool calendarNext) {
  if (active_) RebuildToDoLines();
  active_ = false;
  HidePanel(Picture6, L::kPicture6HiddenTop);
  ResetControls(!calendarNext);
}

void TodoPage::FocusEntry() {
  if (Text2->isEnabled()) Text2->setFocus();
}

QString TodoPage::Title() const {
  return QStringLiteral("ToDo");
}

void TodoPage::Attach(PageHost& host) {
  connect(this, &TodoPage::Changed, this, [&host] { host.Redraw(); });
  connect(this, &TodoPage::DateAsked, this,
          [&host](int year, int month, int day) { host.ShowDate(year, month, day); });
  Picture6->raise();  // over the calendar and the schedule entry
}

void TodoPage::Opened() {
  LoadToDo();
}

std::vector<QWidget*> TodoPage::PointerTargets() const {
  return {List1->viewport()};
}

bool TodoPage::Close() {
  if (active_) RebuildToDoLines();
  return SaveToDo();
}
