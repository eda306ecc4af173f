// The free memo page: one page of the record file at a time in Text5, paging, new and deleted pages,
// and the search.
#pragma once

#include <QObject>

#include <array>
#include <string>
#include "core/AppContext.h"
#include "organizer/OrganizerPage.h"

#include "organizer/MemoBook.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;
class QWidget;

class MemoPage : public QObject, public OrganizerPage {
  Q_OBJECT
 public:
  // `ctx`: the run's context, whose folder holds the file.
  MemoPage(QWidget* frame, AppContext& ctx);

  QString Title() const override;
  void Attach(PageHost& host) override;
  bool UsesCalendar() const override;
  void Enter() override;
  void Leave(bool calendarNext) override;
  [[nodiscard]] bool Close() override;

  // The page is shown: the file is read (saved and compacted first when it was open); search from page 1.
  void OpenMemo();
  // Stores the page on screen when it changed. False when it could not be stored (the user was told;
  // the text stays on screen, so the caller should not move away).
  bool SaveMemoPage();
  // The organiser closes: stores the page when it changed (also one that could not be stored on leaving
  // the page) and compacts the file when the page shows (`shown`) or was stored. When the page cannot be
  // stored, one question says why and asks whether to close without it; true means the close may go on.
  bool SaveBeforeClose(bool shown);
  bool CompactMemo();
  void ShowMemoPage();
  void Command2_Click(int index);
  void Command3_Click();
  bool IsOpen() const { return open_; }
  int CurrentPage() const { return current_; }
  const memo::MemoBook& Book() const { return book_; }

  QWidget* Picture4 = nullptr;
  QPlainTextEdit* Text5 = nullptr;
  QLabel* Label6 = nullptr;
  std::array<QToolButton*, 6> Command2{};
  QLabel* Label7 = nullptr;  // "検索する文字列 ："
  QLineEdit* Text6 = nullptr;
  QPushButton* Command3 = nullptr;

 private:
  AppContext& ctx_;
  bool Store(int page, const std::string& text);
  std::string Stored() const;  // the text box as a page stores it
  // Why `text` cannot be stored as page `page` (empty when it was stored).
  QString StoreFailure(int page, const std::string& text);
  // Stores the page on screen when it differs from the copy taken when shown (`changed`); why it could
  // not be stored, or empty.
  QString StoreIfChanged(bool& changed);
  void WriteFailed(const StoreOutcome& o);
  memo::MemoBook book_;
  bool open_ = false;
  bool shown_ = false;  // the memo is the page that shows
  int current_ = 0;
  int searchFrom_ = 1;
  std::string copy_;  // the page as shown, cut and padded: a save writes only when this differs
};
