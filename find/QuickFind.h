// The quick-find window: a search box over all five phone books and the entries it finds; Enter (or a
// double click) copies the chosen entry's whole line and closes. It reads the groups' files as they
// are when it opens (right after it is shown, or at the first key) and never writes anything.
#pragma once

#include <QAbstractTableModel>
#include <QElapsedTimer>
#include <QWidget>
#include <vector>

#include "core/AppContext.h"
#include "core/Module1.h"
#include "find/PhoneFind.h"

class QLabel;
class QLineEdit;
class QTreeView;

// The hits as rows: the entry line, the reading it was found by (if any), its group's name and its letter.
class QuickFindResults : public QAbstractTableModel {
  Q_OBJECT
 public:
  // `session`: whose group names the rows show.
  explicit QuickFindResults(const Session& session) : session_(session) {}

  void Reset(const phonefind::Index* index, std::vector<phonefind::Hit> hits);
  const phonefind::Entry* EntryAt(int row) const;
  // The reading of the name the row was found by, its words apart; empty when found by its text.
  QString ReadingAt(int row) const;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  const Session& session_;
  const phonefind::Index* index_ = nullptr;
  std::vector<phonefind::Hit> hits_;
};

class QuickFind : public QWidget {
  Q_OBJECT
 public:
  // `ctx`: the run's context (its folder's phone books, the group names).
  explicit QuickFind(AppContext& ctx = Module1::Context(), QWidget* parent = nullptr);

  // The most rows the list shows: enough to scroll through, few enough to fill at every key.
  static constexpr std::size_t kMaxRows = 500;

  QLineEdit* Text1 = nullptr;
  QTreeView* List1 = nullptr;
  QLabel* Label1 = nullptr;  // groups that could not be read

  // Copies the selected entry's line and closes; false when nothing is selected.
  bool CopySelected();
  // Whether the books have been read (they are read off the window thread once it is shown).
  bool Loaded() const { return read_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;
  bool event(QEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void paintEvent(QPaintEvent* e) override;

 private:
  void ReadGroups();
  void TakeBooks(phonefind::Index index, const QStringList& unread, double ms);
  void Search(const QString& text);

  phonefind::Index index_;
  AppContext& ctx_;
  QuickFindResults results_;
  bool wasActive_ = false;
  bool read_ = false;  // the groups' files are read once, when the window is first shown
  bool reading_ = false;
  QElapsedTimer sinceAsked_;  // from the command that opened it to its first drawing, for the log
};
