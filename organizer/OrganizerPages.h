// The organiser's pages, in the order of their tabs: the one list a new page joins.
#pragma once

#include <vector>

#include "core/AppContext.h"

class MemoPage;
class OrganizerPage;
class QWidget;
class SchedulePage;
class TodoPage;

struct OrganizerPages {
  std::vector<OrganizerPage*> all;  // in tab order; the frame knows them only as OrganizerPage
  // The design's own pages, by name (for its tests and the window's name lookups).
  SchedulePage* schedule = nullptr;
  TodoPage* todo = nullptr;
  MemoPage* memo = nullptr;
};

// Makes the pages on `frame` (they live as its children).
OrganizerPages MakeOrganizerPages(QWidget* frame, AppContext& ctx);
