// Another program's change to the current group's phone book (replaced by rename or rewritten in
// place), noticed so the letter menus follow it once no tray window is open: the organiser empties the
// menus while it is open, and the editor is the book's own writer.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include "core/AppContext.h"

class QFileSystemWatcher;

class BookWatch : public QObject {
  Q_OBJECT
 public:
  // `ctx`: whose folder, current group and open-window guard are followed.
  explicit BookWatch(AppContext& ctx, QObject* parent = nullptr);

  // The current group's book has just been read into the menus: later changes are measured from it.
  void Loaded();
  // The tray windows are closed: a change held back meanwhile is looked at now.
  void WindowsClosed();

 signals:
  // The current group's book on disk is not the one the menus were read from.
  void Stale();

 private:
  void MayHaveChanged();
  QString Stamp() const;

  AppContext& ctx_;
  QFileSystemWatcher* watcher_ = nullptr;
  QTimer settle_;  // a synchroniser writes in bursts: read once it is done
  QString loadedStamp_;
  int loadedGroup_ = 0;
  bool pending_ = false;
};
