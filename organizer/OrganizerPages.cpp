// The page list: schedule, ToDo, free memo.
#include "organizer/OrganizerPages.h"

#include "organizer/MemoPage.h"
#include "organizer/SchedulePage.h"
#include "organizer/TodoPage.h"

OrganizerPages MakeOrganizerPages(QWidget* frame, AppContext& ctx) {
  OrganizerPages p;
  p.schedule = new SchedulePage(frame, ctx);
  p.todo = new TodoPage(frame, ctx);
  p.memo = new MemoPage(frame, ctx);
  p.all = {p.schedule, p.todo, p.memo};
  return p;
}
