// The ToDo page: the check-box list List1 over the ToDo items (TodoItems), the text box Text2 and the five
// buttons. It owns the ToDo book, loads it and saves it.
#pragma once

#include <QObject>

#include <array>
#include <initializer_list>
#include "core/AppContext.h"
#include "organizer/DayDecorations.h"
#include "organizer/OrganizerPage.h"
#include "organizer/TodoItems.h"
#include "organizer/TodoStore.h"

class QLabel;
class QLineEdit;
class QListView;
class QToolButton;
class QWidget;

class TodoPage : public QObject, public OrganizerPage {
  Q_OBJECT
 public:
  // `ctx`: the run's context, whose folder holds the file.
  TodoPage(QWidget* frame, AppContext& ctx);

  QString Title() const override;
  void Attach(PageHost& host) override;
  void Opened() override;
  const DayDecorations* Decorations() const override { return &days_; }
  std::vector<QWidget*> PointerTargets() const override;
  bool UsesCalendar() const override;
  void Enter() override;
  void Leave(bool calendarNext) override;
  [[nodiscard]] bool Close() override;
  void DayPicked(int year, int month, int day) override;
  void FocusEntry() override;

  const todo::TodoBook& Book() const { return book_; }
  // The items the list shows; the ToDo lines follow them after each button action and on leaving.
  TodoItems& Items() { return *items_; }
  int CurrentRow() const;
  const std::string& Prefix() const { return prefix_; }  // of the next added or modified item, "04/12/05 "
  bool Active() const { return active_; }                // the page shows

  // Reads "ToDo.dat" into the ToDo lines; says so when it could not be read completely.
  void LoadToDo();
  // Writes the ToDo lines; on failure the user chooses between keeping the window open (false) and
  // closing without saving (true).
  bool SaveToDo();

  void Fill();              // the page is shown: the list from the lines, no current item
  void RebuildToDoLines();  // the lines from the list's items
  // No current item, Text2 emptied and disabled, the buttons disabled; `clearList` also empties List1.
  void ResetControls(bool clearList);
  void List1_Click();
  void Text2_Change();
  void Command5_Click(int index);

  QWidget* Picture6 = nullptr;
  QLabel* Label5 = nullptr;  // "ToDo："
  QListView* List1 = nullptr;
  QLineEdit* Text2 = nullptr;
  std::array<QToolButton*, 5> Command5{};

 signals:
  void DateAsked(int year, int month, int day);  // an item was chosen: the calendar shows its date
  void Changed();                                // the lines changed: the grid redraws

 private:
  AppContext& ctx_;
  void SetCurrent(int row);
  // The commands of Command5: each false when it refused and nothing changed.
  QString TypedText() const;
  bool Refused(const QString& text);
  void Disable(std::initializer_list<int> which);
  bool MoveItem(int c, bool up);
  bool ReplaceItem(int c, const QString& s);
  bool AddItem(const QString& s);
  void DeleteItem(int c);
  todo::TodoBook book_;
  TodoItems* items_ = nullptr;
  TodoDays days_{book_.lines};  // what the calendar's days show of the list
  std::string prefix_;
  bool active_ = false;
  bool filling_ = false;
};
