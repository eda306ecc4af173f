// Window subclassing over Qt event filters: one shared procedure in front of each subclassed window
// runs the window's own handling, then tells the record's owner what came by.
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

  // Handles one event for window; called only by the shared procedure.
  bool HandleMessage(QEvent* e);

 signals:
  // Raised after the window's own handling; the owner cannot change the result.
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
