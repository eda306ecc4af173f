// Window subclassing over Qt event filters: one shared filter in front of each subclassed window tells
// the record's owner what came by and lets the window handle it as it would unsubclassed.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

class QEvent;

// One record per subclassed window.
class CSubclass : public QObject {
  Q_OBJECT
 public:
  CSubclass() = default;
  ~CSubclass() override;  // removes itself while still installed

  QPointer<QWidget> window;     // the subclassed window
  bool ProcOrg = false;         // the window's own handling is saved (installed through this record)
  bool CallDefaultProc = true;  // false: the window's own handling does not run; every event yields false

  // Handles one event for window: its own handling, then the owner is told; the window's result.
  bool HandleMessage(QEvent* e);
  // What the shared filter does with an event on its way to the window: tells the owner; true (the
  // event ends here) only without the default procedure.
  bool Observe(QEvent* e);

 signals:
  // Raised for every event the window gets (by the filter just before the window's own handling);
  // the owner cannot change the result.
  void WndProc(int message, qintptr p1, qintptr p2);
};

namespace basSubclass {

// Installs the record (its window set first). A window already subclassed keeps its first record.
void SubclassWindow(CSubclass* record);
// Removes the record registered for the same window; nothing when there is none.
void UnsubclassWindow(CSubclass* record);
// The shared procedure: the registered record of `window` handles the event.
bool SubclassProc(QObject* window, QEvent* e);
// Records in installation order (for tests).
int RegisteredCount();

}  // namespace basSubclass
