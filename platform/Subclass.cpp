// The registry of subclassed windows and the shared event filter that stands for their procedure.
#include "platform/Subclass.h"

#include <QEvent>
#include <algorithm>
#include <vector>

namespace {

std::vector<CSubclass*>& Registry() {
  static std::vector<CSubclass*> records;
  return records;
}

CSubclass* Find(const QObject* window) {
  for (CSubclass* r : Registry())
    if (r->window && r->window.data() == window) return r;
  return nullptr;
}

// The procedure put in front of every subclassed window: an observer. The event goes on to the window
// (and to any other filter on it) as Qt delivers it; only a record without the default procedure ends it.
class SharedProc : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* e) override {
    CSubclass* r = Find(watched);
    return r && r->Observe(e);
  }
};

SharedProc& Proc() {
  static SharedProc proc;
  return proc;
}

}  // namespace

CSubclass::~CSubclass() {
  if (ProcOrg) basSubclass::UnsubclassWindow(this);
}

bool CSubclass::HandleMessage(QEvent* e) {
  bool result = false;
  const int message = static_cast<int>(e->type());
  // The window may remove this record (and delete it) while it handles the event, as a window does on
  // its way to closing: then there is no one left to tell.
  const QPointer<CSubclass> alive(this);
  // The window's own handling, exactly as without the filter: its event() with the same event.
  if (CallDefaultProc && window) result = static_cast<QObject*>(window.data())->event(e);
  if (alive) emit WndProc(message, 0, 0);
  return result;
}

bool CSubclass::Observe(QEvent* e) {
  emit WndProc(static_cast<int>(e->type()), 0, 0);
  return !CallDefaultProc;
}

namespace basSubclass {

void SubclassWindow(CSubclass* record) {
  if (!record || !record->window || Find(record->window.data())) return;
  Registry().push_back(record);
  record->window->installEventFilter(&Proc());
  record->ProcOrg = true;
}

void UnsubclassWindow(CSubclass* record) {
  if (!record) return;
  auto& r = Registry();
  auto it = std::find_if(r.begin(), r.end(), [record](CSubclass* c) { return c->window == record->window; });
  if (it == r.end()) return;
  CSubclass* registered = *it;
  if (registered->ProcOrg && registered->window) registered->window->removeEventFilter(&Proc());
  registered->ProcOrg = false;
  r.erase(it);
}

bool SubclassProc(QObject* window, QEvent* e) {
  CSubclass* r = Find(window);
  return r ? r->HandleMessage(e) : false;
}

int RegisteredCount() {
  return static_cast<int>(Registry().size());
}

}  // namespace basSubclass
